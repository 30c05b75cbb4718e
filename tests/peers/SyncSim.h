// A simulated synchronous serial interface module (Beryl or Kyro) on the master side of a
// pseudo-terminal: commands end at CR (settings, stored moves) or 0x01 (execute); every answer
// ends with CR and carries STX when the unit is idle, ETX when it is busy. An executed move or
// homing run answers ETX at once and, when it has run its set duration, sends STX CR unasked.
// "@V" answers with the identification, "@L<axis>" with the position, "@B", "@S" and "@R" stop at
// once. Every byte received is recorded.
//
// Thread context: one serving thread of its own; every public call may come from any thread (the
// state is behind a mutex). waitFor blocks until its condition holds or the time-out runs out.
// The object owns the pseudo-terminal; destroying it ends the serving thread and closes it.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace peers {

struct SyncCommand {
  std::string text;  // without its terminator
  char terminator = 0x0D;
};

class SyncSim {
 public:
  using Positions = std::array<int, 4>;  // x, y, z, u in steps

  // `identification` follows "@V " in the answer to "@V" ("Korund-Beryl V2.4").
  explicit SyncSim(std::string identification, std::chrono::milliseconds moveDuration = std::chrono::milliseconds(20));
  ~SyncSim();
  SyncSim(const SyncSim&) = delete;
  SyncSim& operator=(const SyncSim&) = delete;

  // The slave device the driver opens ("/dev/pts/N").
  const std::string& devicePath() const { return devicePath_; }

  void setMoveDuration(std::chrono::milliseconds duration);
  // A silent unit takes commands but answers nothing.
  void setSilent(bool on);
  // While held, the unit reads nothing: what is written stays in the line, as with a unit that is
  // slow to take its bytes.
  void holdInput(bool on);
  // The unit answers `command` with `bytes` instead of its own answer (empty: answers nothing).
  void answerWith(const std::string& command, const std::string& bytes);
  void setPositions(const Positions& p);
  // Writes bytes to the line unasked.
  void sendRaw(const std::string& bytes);

  // Every byte received, in order.
  std::string received() const;
  std::vector<SyncCommand> commands() const;
  // Only the texts of the commands.
  std::vector<std::string> texts() const;
  Positions positions() const;
  bool moving() const;
  // Forgets what was received so far.
  void clearLog();

  bool waitFor(const std::function<bool(const std::vector<SyncCommand>&)>& condition,
               std::chrono::milliseconds timeout) const;
  // Waits until the unit is (or is no longer) moving.
  bool waitForMotion(bool moving, std::chrono::milliseconds timeout) const;
  // Waits until a command with this text has been received `count` times.
  bool waitForCommand(const std::string& text, std::chrono::milliseconds timeout, int count = 1) const;

 private:
  void serve();
  void handle(const SyncCommand& command);
  void startMotion(const Positions& target);
  void write(const std::string& bytes);
  void finishDueMotion();

  std::string identification_;
  std::string devicePath_;
  int master_ = -1;
  int slave_ = -1;
  int wakeFd_ = -1;

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::string received_;
  std::string partial_;
  std::vector<SyncCommand> commands_;
  std::vector<std::string> stored_;  // moves ended by CR, run by the next execute
  Positions positions_{};
  std::optional<Positions> target_;
  std::chrono::steady_clock::time_point moveEnd_;
  std::chrono::milliseconds moveDuration_;
  bool silent_ = false;
  bool inputHeld_ = false;
  std::map<std::string, std::string> answers_;

  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace peers
