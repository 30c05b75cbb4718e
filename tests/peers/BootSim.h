// A simulated controller with a bootloader on the master side of a pseudo-terminal: the download
// utility opens the slave device as its serial port. The controller starts in its firmware,
// which answers the CR probes of the wake-up and jumps into the bootloader on "@()" CR; the
// bootloader answers CR with ACK until it is entered with its 12-byte sequence and then takes
// the frames of the bootloader protocol on a memory model of one part (program memory, data
// EEPROM, configuration registers). Faults can be injected per frame, the line can be paced at
// a baud rate, and every frame is recorded with its answer.
//
// The bootloader sends each instruction high byte first when read and takes it low byte first
// when written. Configuration registers come one after the other after 0x07; the byte 0x07 in
// place of a register's skip flag starts the sequence over.
//
// Thread context: one serving thread of its own; every public call may come from any thread (the
// state is behind a mutex). waitFor blocks until its condition holds or the time-out runs out.
// The object owns the pseudo-terminal; destroying it ends the serving thread and closes it.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace peers {

// One frame as the device took it.
struct BootFrame {
  enum class Kind {
    Probe,           // CR to the firmware
    Jump,            // "@()" CR to the firmware
    BootProbe,       // CR to the bootloader before it is entered
    Enter,           // the entry sequence
    ReadProgram,     // 0x02
    WriteProgram,    // 0x03
    WriteEeprom,     // 0x05
    ConfigRegister,  // one register; the first after 0x07
    ReadId,          // 0x09
    Leave,           // 0x08
  };
  Kind kind = Kind::Probe;
  std::uint32_t address = 0;  // word address of reads and row writes
  int registerIndex = -1;     // configuration registers
  std::string bytes;          // the frame as received
  std::string answer;         // the bytes sent back
  bool stored = false;        // a write that changed the memory model
};

// A misbehaviour for frames of one kind: the first `skip` matching frames pass, then the next
// `times` ones (-1: all) get it.
struct BootFault {
  enum class Kind {
    Reject,       // `byte` instead of the answer; nothing stored
    StrayByte,    // `byte` before the answer
    Silence,      // the frame is taken (and stored), no answer
    ShortAnswer,  // only the first half of the answer
    HangUp,       // the device closes its side of the line instead of answering
  };
  Kind kind = Kind::Silence;
  BootFrame::Kind frame = BootFrame::Kind::WriteProgram;
  int skip = 0;
  int times = 1;
  int registerIndex = -1;  // configuration registers: -1 any
  char byte = 0x00;
};

class BootSim {
 public:
  enum class State { Firmware, BootEntry, Bootloader };

  struct Options {
    std::uint16_t id = 0x0198;  // dsPIC30F6014
    std::uint16_t revision = 1;
    // 0 for dsPIC30F (32 instructions per row, 7 configuration registers), else 512 and 8.
    int family = 0;
    // The firmware's answer to a CR probe ("E1" BEL for a text-protocol firmware).
    std::string probeAnswer = std::string(1, 0x06);
    // Speeds the firmware and the bootloader listen at (0: any); bytes at another speed are lost.
    int firmwareBaud = 0;
    int bootBaud = 0;
    // The line's speed for the timing of answers (0: answers leave at once).
    int wireBaud = 0;
    // First instructions of program memory: the bootloader's jump.
    std::array<std::uint32_t, 2> resetVector{0x04A5C3, 0x000012};
    // What the rest of program memory holds at the start (the old firmware).
    std::uint32_t programFill = 0xFFFFFF;
    std::uint16_t eepromFill = 0xFFFF;
    std::array<std::uint16_t, 8> configFill{0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
    State start = State::Firmware;
    // Called on the serving thread for every frame taken (the stand-alone simulator prints them).
    std::function<void(const BootFrame&)> onFrame{};
  };

  static constexpr int kProgramRows = 1536;
  static constexpr int kEepromWords = 2048;
  static constexpr std::uint32_t kEepromBase = 0x7FF000;

  BootSim();
  explicit BootSim(Options options);
  ~BootSim();
  BootSim(const BootSim&) = delete;
  BootSim& operator=(const BootSim&) = delete;

  const std::string& devicePath() const { return devicePath_; }

  void addFault(BootFault fault);
  State state() const;
  std::vector<BootFrame> frames() const;
  // Frames of one kind.
  std::vector<BootFrame> frames(BootFrame::Kind kind) const;

  int instructionsPerRow() const { return options_.family == 0 ? 32 : 512; }
  int configRegisters() const { return options_.family == 0 ? 7 : 8; }
  // The memory model: instruction i (24 bits), EEPROM word i, configuration register i.
  std::uint32_t instruction(std::size_t i) const;
  std::size_t instructionCount() const;
  std::uint16_t eepromWord(std::size_t i) const;
  std::uint16_t configRegister(std::size_t i) const;

  // Bytes read from the line so far, those the device could not make out included.
  std::uint64_t bytesReceived() const;
  // Waits until at least `count` bytes have been read from the line.
  bool waitForBytes(std::uint64_t count, std::chrono::milliseconds timeout) const;

  // Waits until `condition` holds for the frames taken; false when the time-out ran out first.
  bool waitFor(const std::function<bool(const std::vector<BootFrame>&)>& condition,
               std::chrono::milliseconds timeout) const;

 private:
  using Clock = std::chrono::steady_clock;
  struct Pending {
    Clock::time_point at;
    std::string bytes;
  };

  void serve();
  void wake();
  void receive(const std::string& bytes);
  void onByte(char c, Clock::time_point arrived);
  void firmwareByte(char c);
  void entryByte(char c);
  void bootloaderByte(char c);
  // The frame is complete: process it and answer as the faults say.
  void take(BootFrame frame, std::string answer);
  std::optional<BootFault> takeFault(const BootFrame& frame);
  bool listening(int baud) const;
  std::string readProgram(std::uint32_t address) const;
  bool writeProgram(std::uint32_t address, const std::string& data);
  bool writeEeprom(std::uint32_t address, const std::string& data);
  void send(std::string bytes);
  void runDue();
  void writeNow(const std::string& bytes);

  Options options_;
  std::string devicePath_;
  int master_ = -1;
  int slave_ = -1;
  int wakeFd_ = -1;

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  State state_ = State::Firmware;
  std::vector<BootFrame> frames_;
  std::vector<BootFault> faults_;
  std::vector<int> faultSeen_;
  std::vector<Pending> pending_;
  std::string buffer_;
  int configIndex_ = -1;  // the next register of a running sequence, -1 none
  std::vector<std::uint32_t> program_;
  std::vector<std::uint16_t> eeprom_;
  std::array<std::uint16_t, 8> config_{};
  Clock::time_point rxFree_{};
  Clock::time_point txFree_{};
  Clock::time_point frameEnd_{};
  bool hangUpRequested_ = false;
  std::uint64_t bytesReceived_ = 0;

  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace peers
