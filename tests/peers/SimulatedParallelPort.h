// A simulated PC parallel port with the controller cards behind it, for the step generator's
// tests and its timing benchmark. It records every register write with the time of the given
// clock, decodes the data register into per-axis positions (step/direction pulses, or phase
// patterns clocked in by STROBE), and answers status reads from a model of each input pin, which
// may depend on the positions (a limit switch "active while z <= 0").
//
// Thread context: any thread; the state is behind a mutex. Hooks run on the thread whose write
// made them due, outside the lock. waitUntil blocks until its condition holds or the time-out
// runs out. The clock must outlive the object, and the object every connection it made.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/PortIo.h"

namespace peers {

struct PortWrite {
  std::int64_t nanos = 0;  // clock time of the write
  std::uint16_t port = 0;
  std::uint8_t value = 0;
};

// A data byte clocked into the phase-pattern card by a STROBE pulse.
struct LatchedByte {
  std::int64_t nanos = 0;
  std::uint8_t value = 0;
};

// Positions in steps, x, y, z, u.
using AxisPositions = std::array<std::int64_t, 4>;

class SimulatedParallelPort {
 public:
  enum class Decoding { StepDirection, PhasePatterns };

  explicit SimulatedParallelPort(platform::Clock& clock, std::uint16_t base = 0x378);

  // Port access for the code under test, forwarding to this simulator.
  std::unique_ptr<platform::PortIo> connection();

  // ---- Behaviour
  void setInitializeResult(bool ok);
  // Claims of the base fail with this reason; an empty text lets them succeed again.
  void refuseClaims(std::string reason);
  void setDecoding(Decoding decoding);
  void setPositions(const AxisPositions& positions);
  // Input pins 10, 11, 12, 13, 15: a fixed level, or a level computed from the positions at each
  // read. Every pin starts high, as an open input with its pull-up reads.
  void setPinLevel(int pin, bool high);
  void setPinModel(int pin, std::function<bool(const AxisPositions&)> high);
  // Answers for the next status reads, in order, before the pin models answer again; nullopt
  // makes that read fail.
  void scriptStatusReads(std::vector<std::optional<std::uint8_t>> reads);
  // Runs `action` once, right after the first write after which `due` holds.
  void onceWhen(std::function<bool(const AxisPositions&)> due, std::function<void()> action);

  // ---- Observations
  std::vector<PortWrite> writes() const;
  // The values written to the data register, in order.
  std::vector<std::uint8_t> dataWrites() const;
  std::vector<LatchedByte> latchedBytes() const;
  AxisPositions positions() const;
  // Times of the rising step edges of an axis (0 x .. 3 u).
  std::vector<std::int64_t> stepTimes(int axis) const;
  // Level of output pin 1, 14, 16 or 17 as the control register drives it.
  bool outputPinHigh(int pin) const;
  bool claimed() const;
  std::uint16_t claimedBase() const;
  int statusReads() const;
  // Accesses to an address that is no register of the claimed port, or before the claim.
  int strayAccesses() const;
  // Phase patterns that did not follow their channel's last pattern by one step.
  int phaseJumps() const;
  // Waits until `condition` holds, rechecking after every write.
  bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);
  // Forgets the recorded writes, latches and step times (the positions stay).
  void clearRecord();

  // For the connection.
  bool initialize();
  bool claim(std::uint16_t base, std::string& reason);
  void release();
  bool read(std::uint16_t port, std::uint8_t& value);
  bool write(std::uint16_t port, std::uint8_t value);

 private:
  struct Hook {
    std::function<bool(const AxisPositions&)> due;
    std::function<void()> action;
  };

  std::uint8_t statusLocked();
  void decodeDataLocked(std::uint8_t previous, std::uint8_t value, std::int64_t nanos);
  void latchLocked(std::int64_t nanos);
  std::vector<std::function<void()>> dueHooksLocked();

  platform::Clock& clock_;
  const std::uint16_t base_;

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::uint64_t changes_ = 0;
  bool initializeResult_ = true;
  std::string claimRefusal_;
  bool claimed_ = false;
  Decoding decoding_ = Decoding::StepDirection;
  std::uint8_t data_ = 0;
  std::uint8_t control_ = 0;
  AxisPositions positions_{};
  std::array<int, 3> phaseIndex_{};
  int phaseJumps_ = 0;
  std::array<std::function<bool(const AxisPositions&)>, 5> pinModels_{};
  std::array<bool, 5> pinLevels_{true, true, true, true, true};
  std::deque<std::optional<std::uint8_t>> scriptedStatus_;
  std::vector<Hook> hooks_;
  std::vector<PortWrite> writes_;
  std::vector<LatchedByte> latches_;
  std::array<std::vector<std::int64_t>, 4> stepTimes_{};
  int statusReads_ = 0;
  int strayAccesses_ = 0;
};

}  // namespace peers
