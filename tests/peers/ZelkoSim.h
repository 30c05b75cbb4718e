// A simulated text-protocol controller on the master side of a pseudo-terminal: the driver opens
// the slave device as its serial port. It answers settings with ACK, moves and homing with NAK and
// after a set duration the final ACK, '@' commands at once even during a move, tracks the axis
// positions, can be told to misbehave, and logs every command and answer with its time.
//
// Thread context: one serving thread of its own; every public call may come from any thread (the
// state is behind a mutex). waitFor blocks until its condition holds or the time-out runs out.
// The object owns the pseudo-terminal; destroying it ends the serving thread and closes both sides.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace peers {

struct SimLogEntry {
  enum class Kind { Command, Answer };
  Kind kind = Kind::Command;
  double ms = 0.0;     // since the simulator started
  char channel = 'N';  // 'N' normal, '@' priority
  std::string text;    // a command without its CR, or the bytes of an answer
};

// One misbehaviour, applied to the next `times` commands that begin with `command` (the empty
// command matches only the bare CR probe). Made by the functions below.
struct SimFault {
  enum class Kind {
    Silence,  // no answer at all
    Late,     // the answer after `delay`
    Wrong,    // `text` instead of the answer; a move does not start
    Split,    // the answer (or `text`, if given) in `pieces` parts, `delay` apart
    Noise,    // `text` before the answer
    Error,    // "E<errorNumber>" BEL instead of the answer; a move does not start
    Motion,   // the command starts a motion of `delay` that moves no axis: NAK, then the final ACK
  };
  Kind kind = Kind::Silence;
  std::string command;
  int times = 1;  // -1: every matching command
  std::chrono::milliseconds delay{0};
  std::string text;
  int errorNumber = 1;
  int pieces = 2;
  // Applies to a move's final answer instead of its first (Silence, Wrong and Error only).
  bool finalAnswer = false;

  static SimFault silence(std::string command, int times = 1) {
    SimFault f = make(Kind::Silence, std::move(command));
    f.times = times;
    return f;
  }
  static SimFault late(std::string command, std::chrono::milliseconds delay) {
    SimFault f = make(Kind::Late, std::move(command));
    f.delay = delay;
    return f;
  }
  static SimFault wrong(std::string command, std::string text) {
    SimFault f = make(Kind::Wrong, std::move(command));
    f.text = std::move(text);
    return f;
  }
  static SimFault split(std::string command, int pieces, std::chrono::milliseconds delay, std::string text = {}) {
    SimFault f = make(Kind::Split, std::move(command));
    f.pieces = pieces;
    f.delay = delay;
    f.text = std::move(text);
    return f;
  }
  static SimFault noise(std::string command, std::string text) {
    SimFault f = make(Kind::Noise, std::move(command));
    f.text = std::move(text);
    return f;
  }
  static SimFault error(std::string command, int number) {
    SimFault f = make(Kind::Error, std::move(command));
    f.errorNumber = number;
    return f;
  }
  static SimFault motion(std::string command, std::chrono::milliseconds duration) {
    SimFault f = make(Kind::Motion, std::move(command));
    f.delay = duration;
    return f;
  }
  SimFault onFinalAnswer() const {
    SimFault f = *this;
    f.finalAnswer = true;
    return f;
  }

 private:
  static SimFault make(Kind kind, std::string command) {
    SimFault f;
    f.kind = kind;
    f.command = std::move(command);
    return f;
  }
};

class ZelkoSim {
 public:
  struct Options {
    std::string version = "Cobalt-Kyro V1.0";
    std::chrono::milliseconds moveDuration{5};
    // The program memory: how many recorded commands all seven slots hold together, and how long
    // erasing one slot or all of them takes.
    std::size_t programMemoryLines = 4096;
    std::chrono::milliseconds eraseDuration{20};
    std::chrono::milliseconds eraseAllDuration{40};
    // Called on the serving thread for every log entry (the stand-alone simulator prints them).
    std::function<void(const SimLogEntry&)> onLog{};
  };

  using Positions = std::array<int, 4>;  // x, y, z, u in steps

  // One slot of the program memory: the header as received (its STX included), the pass count
  // and the recorded commands without their CR.
  struct StoredProgram {
    std::string header;
    int passes = 0;
    std::vector<std::string> lines;
    bool operator==(const StoredProgram&) const = default;
  };
  static constexpr int kProgramSlots = 7;

  ZelkoSim();
  explicit ZelkoSim(Options options);
  ~ZelkoSim();
  ZelkoSim(const ZelkoSim&) = delete;
  ZelkoSim& operator=(const ZelkoSim&) = delete;

  // The slave device the driver opens ("/dev/pts/N").
  const std::string& devicePath() const { return devicePath_; }

  void addFault(SimFault fault);
  void setMoveDuration(std::chrono::milliseconds duration);
  // How long the axes take to come to rest after "@B" (the ramp down): the stopped move's final
  // answer comes that much later. 0, the default, answers at once.
  void setStopDuration(std::chrono::milliseconds duration);
  // Program-store mode: moves are acknowledged with ACK alone and not executed.
  void setStoreMode(bool on);
  // A controller that does not record: it acknowledges the program-write command and the header,
  // then executes the job's commands as they come (moves start with NAK) and keeps nothing.
  void setNotRecording(bool on);
  void setInput(char input, bool set);
  // A probe switch on `input`: set while the z axis stands at `zSteps` or beyond (z counts
  // downwards, into the probe).
  void setProbe(char input, int zSteps);
  // How many recorded commands the program memory holds, and how long erasures take.
  void setProgramMemory(std::size_t lines, std::chrono::milliseconds erase, std::chrono::milliseconds eraseAll);
  // Slot 1-7 of the program memory; nullopt when it is empty.
  std::optional<StoredProgram> program(int slot) const;
  void storeProgram(int slot, StoredProgram program);
  // Runs the program in `slot` as the controller does when started at its panel: every stored
  // move and homing run, once per pass, each ending at once. False for an empty slot.
  bool runProgram(int slot);
  // A silent controller (its power lost, its cable cut without a hang-up) still takes commands
  // but writes nothing; what it would have answered meanwhile is lost.
  void setSilent(bool on);
  // Writes bytes to the line unasked.
  void sendRaw(const std::string& bytes);
  // Closes the master side: the driver's port hangs up.
  void hangUp();

  std::vector<SimLogEntry> log() const;
  // The commands received, in order, without their CR (a command ended by ETX or STX keeps it).
  std::vector<std::string> commands() const;
  // Every byte received, in order.
  std::string receivedBytes() const;
  Positions positions() const;
  // The positions after each completed move or homing run.
  std::vector<Positions> positionHistory() const;
  bool moving() const;

  // Waits until `condition` holds for the log; false when the time-out ran out first.
  bool waitFor(const std::function<bool(const std::vector<SimLogEntry>&)>& condition,
               std::chrono::milliseconds timeout) const;
  // Waits until the command has been received `count` times.
  bool waitForCommand(const std::string& command, std::chrono::milliseconds timeout, int count = 1) const;
  // Waits until these answer bytes have been written `count` times.
  bool waitForAnswer(const std::string& bytes, std::chrono::milliseconds timeout, int count = 1) const;

 private:
  struct Pending {
    std::chrono::steady_clock::time_point at;
    std::string bytes;
    char channel = 'N';
    bool moveEnd = false;  // completes the running move before writing `bytes`
  };
  struct Move {
    Positions from{};
    Positions to{};
    std::chrono::steady_clock::time_point start;
    std::chrono::steady_clock::time_point end;
  };

  void serve();
  void wake();
  void handleCommand(const std::string& command, std::unique_lock<std::mutex>& lock);
  void handleNormal(const std::string& command);
  void handlePriority(const std::string& command);
  // The program-memory commands and the recording of a job; false for any other command.
  bool handleProgramMemory(const std::string& command);
  std::size_t storedLines() const;
  void startMotion(const std::string& command, const Positions& target);
  void stopMotion(bool finalAnswer);
  // Writes an answer now or as the faults for `command` say; false when a fault refused the
  // command (an error or a wrong answer instead of `bytes`).
  bool answerTaken(const std::string& command, const std::string& bytes, char channel);
  // Writes an answer now or as the faults for `command` say.
  void answer(const std::string& command, const std::string& bytes, char channel);
  void deliver(const std::string& bytes, char channel, const std::optional<SimFault>& fault);
  // The first fault for `command` of the given kind; without a kind, of any kind but Motion.
  std::optional<SimFault> takeFault(const std::string& command, bool finalAnswer,
                                    std::optional<SimFault::Kind> kind = std::nullopt);
  void schedule(std::chrono::steady_clock::time_point at, std::string bytes, char channel, bool moveEnd = false);
  void writeNow(const std::string& bytes, char channel);
  void record(SimLogEntry::Kind kind, char channel, const std::string& text);
  void runDue();
  std::optional<std::chrono::steady_clock::time_point> nextDue() const;

  Options options_;
  std::string devicePath_;
  int master_ = -1;
  int slave_ = -1;  // kept open so that the line stays up while the driver reconnects
  int wakeFd_ = -1;
  std::chrono::steady_clock::time_point started_;

  mutable std::mutex mutex_;
  mutable std::condition_variable logChanged_;
  std::vector<SimLogEntry> log_;
  std::vector<SimFault> faults_;
  std::vector<Pending> pending_;
  std::vector<std::string> queued_;  // normal commands that came during a move
  std::optional<Move> move_;
  Positions positions_{};
  std::vector<Positions> history_;
  std::array<bool, 128> inputs_{};
  struct Probe {
    char input = 0;
    int zSteps = 0;
  };
  std::optional<Probe> probe_;
  std::array<std::optional<StoredProgram>, kProgramSlots> programs_;
  // The slot a job is being written into (1-7), with the header still to come or received.
  struct Recording {
    int slot = 0;
    bool headerReceived = false;
    bool full = false;  // the memory ran full: the job is discarded at its ETX
    bool live = false;  // not recorded: the job's commands are executed
    StoredProgram program;
  };
  std::optional<Recording> recording_;
  std::string receivedBytes_;
  bool storeMode_ = false;
  std::chrono::milliseconds stopDuration_{0};
  bool notRecording_ = false;
  bool silent_ = false;
  bool hangUpRequested_ = false;
  bool hungUp_ = false;
  std::string received_;

  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace peers
