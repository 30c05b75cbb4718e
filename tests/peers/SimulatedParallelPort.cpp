// The simulated port's registers, its decoding of steps and phase patterns, and its input model.
#include "SimulatedParallelPort.h"

#include <algorithm>
#include <utility>

namespace peers {

namespace {

// The cards' phase patterns by phase index, as the card steps through them.
constexpr std::array<int, 8> kHalfStep{39, 45, 28, 13, 3, 9, 56, 41};
constexpr std::array<int, 4> kFullStep{4, 0, 32, 36};

constexpr std::uint8_t kStrobeBit = 0x01;
// Status bits 0-2 are not connected and read high on most ports.
constexpr std::uint8_t kUnusedStatusBits = 0x07;

int pinSlot(int pin) {
  switch (pin) {
    case 10:
      return 0;
    case 11:
      return 1;
    case 12:
      return 2;
    case 13:
      return 3;
    case 15:
      return 4;
    default:
      return -1;
  }
}

template <std::size_t N>
int indexIn(const std::array<int, N>& table, int pattern) {
  const auto it = std::find(table.begin(), table.end(), pattern);
  return it == table.end() ? -1 : static_cast<int>(it - table.begin());
}

class Connection final : public platform::PortIo {
 public:
  explicit Connection(SimulatedParallelPort& port) : port_(port) {}
  bool initialize() override { return port_.initialize(); }
  void shutdown() override { port_.release(); }
  bool claim(std::uint16_t base, std::string& reason) override { return port_.claim(base, reason); }
  bool read(std::uint16_t port, std::uint8_t& value) override { return port_.read(port, value); }
  bool write(std::uint16_t port, std::uint8_t value) override { return port_.write(port, value); }

 private:
  SimulatedParallelPort& port_;
};

}  // namespace

SimulatedParallelPort::SimulatedParallelPort(platform::Clock& clock, std::uint16_t base) : clock_(clock), base_(base) {}

std::unique_ptr<platform::PortIo> SimulatedParallelPort::connection() { return std::make_unique<Connection>(*this); }

void SimulatedParallelPort::setInitializeResult(bool ok) {
  std::lock_guard lock(mutex_);
  initializeResult_ = ok;
}

void SimulatedParallelPort::refuseClaims(std::string reason) {
  std::lock_guard lock(mutex_);
  claimRefusal_ = std::move(reason);
}

void SimulatedParallelPort::setDecoding(Decoding decoding) {
  std::lock_guard lock(mutex_);
  decoding_ = decoding;
}

void SimulatedParallelPort::setPositions(const AxisPositions& positions) {
  std::lock_guard lock(mutex_);
  positions_ = positions;
}

void SimulatedParallelPort::setPinLevel(int pin, bool high) {
  std::lock_guard lock(mutex_);
  const int slot = pinSlot(pin);
  if (slot < 0) return;
  pinModels_[static_cast<std::size_t>(slot)] = nullptr;
  pinLevels_[static_cast<std::size_t>(slot)] = high;
}

void SimulatedParallelPort::setPinModel(int pin, std::function<bool(const AxisPositions&)> high) {
  std::lock_guard lock(mutex_);
  const int slot = pinSlot(pin);
  if (slot >= 0) pinModels_[static_cast<std::size_t>(slot)] = std::move(high);
}

void SimulatedParallelPort::scriptStatusReads(std::vector<std::optional<std::uint8_t>> reads) {
  std::lock_guard lock(mutex_);
  scriptedStatus_.assign(reads.begin(), reads.end());
}

void SimulatedParallelPort::onceWhen(std::function<bool(const AxisPositions&)> due, std::function<void()> action) {
  std::lock_guard lock(mutex_);
  hooks_.push_back(Hook{std::move(due), std::move(action)});
}

std::vector<PortWrite> SimulatedParallelPort::writes() const {
  std::lock_guard lock(mutex_);
  return writes_;
}

std::vector<std::uint8_t> SimulatedParallelPort::dataWrites() const {
  std::lock_guard lock(mutex_);
  std::vector<std::uint8_t> values;
  for (const auto& w : writes_)
    if (w.port == base_) values.push_back(w.value);
  return values;
}

std::vector<LatchedByte> SimulatedParallelPort::latchedBytes() const {
  std::lock_guard lock(mutex_);
  return latches_;
}

AxisPositions SimulatedParallelPort::positions() const {
  std::lock_guard lock(mutex_);
  return positions_;
}

std::vector<std::int64_t> SimulatedParallelPort::stepTimes(int axis) const {
  std::lock_guard lock(mutex_);
  if (axis < 0 || axis >= 4) return {};
  return stepTimes_[static_cast<std::size_t>(axis)];
}

bool SimulatedParallelPort::outputPinHigh(int pin) const {
  std::lock_guard lock(mutex_);
  switch (pin) {
    case 1:
      return (control_ & 0x01) == 0;
    case 14:
      return (control_ & 0x02) == 0;
    case 16:
      return (control_ & 0x04) != 0;
    case 17:
      return (control_ & 0x08) == 0;
    default:
      return false;
  }
}

bool SimulatedParallelPort::claimed() const {
  std::lock_guard lock(mutex_);
  return claimed_;
}

std::uint16_t SimulatedParallelPort::claimedBase() const { return base_; }

int SimulatedParallelPort::statusReads() const {
  std::lock_guard lock(mutex_);
  return statusReads_;
}

int SimulatedParallelPort::strayAccesses() const {
  std::lock_guard lock(mutex_);
  return strayAccesses_;
}

int SimulatedParallelPort::phaseJumps() const {
  std::lock_guard lock(mutex_);
  return phaseJumps_;
}

bool SimulatedParallelPort::waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    std::uint64_t seen = 0;
    {
      std::lock_guard lock(mutex_);
      seen = changes_;
    }
    if (condition()) return true;
    std::unique_lock lock(mutex_);
    if (!changed_.wait_until(lock, deadline, [&] { return changes_ != seen; })) {
      lock.unlock();
      return condition();
    }
  }
}

void SimulatedParallelPort::clearRecord() {
  std::lock_guard lock(mutex_);
  writes_.clear();
  latches_.clear();
  for (auto& times : stepTimes_) times.clear();
}

bool SimulatedParallelPort::initialize() {
  std::lock_guard lock(mutex_);
  return initializeResult_;
}

bool SimulatedParallelPort::claim(std::uint16_t base, std::string& reason) {
  std::lock_guard lock(mutex_);
  claimed_ = false;
  if (!claimRefusal_.empty()) {
    reason = claimRefusal_;
    return false;
  }
  if (base != base_) {
    reason = "kein Port an dieser Adresse";
    return false;
  }
  claimed_ = true;
  return true;
}

void SimulatedParallelPort::release() {
  std::lock_guard lock(mutex_);
  claimed_ = false;
}

std::uint8_t SimulatedParallelPort::statusLocked() {
  std::array<bool, 5> high = pinLevels_;
  for (std::size_t i = 0; i < high.size(); ++i)
    if (pinModels_[i]) high[i] = pinModels_[i](positions_);
  std::uint8_t status = kUnusedStatusBits;
  if (high[4]) status |= 0x08;   // pin 15
  if (high[3]) status |= 0x10;   // pin 13
  if (high[2]) status |= 0x20;   // pin 12
  if (high[0]) status |= 0x40;   // pin 10
  if (!high[1]) status |= 0x80;  // pin 11 reads inverted
  return status;
}

bool SimulatedParallelPort::read(std::uint16_t port, std::uint8_t& value) {
  std::lock_guard lock(mutex_);
  if (!claimed_ || port < base_ || port > base_ + 2) {
    ++strayAccesses_;
    return false;
  }
  if (port == base_) {
    value = data_;
  } else if (port == base_ + 2) {
    value = control_;
  } else {
    ++statusReads_;
    if (!scriptedStatus_.empty()) {
      const auto scripted = scriptedStatus_.front();
      scriptedStatus_.pop_front();
      if (!scripted) return false;
      value = *scripted;
      return true;
    }
    value = statusLocked();
  }
  return true;
}

bool SimulatedParallelPort::write(std::uint16_t port, std::uint8_t value) {
  std::vector<std::function<void()>> due;
  {
    std::lock_guard lock(mutex_);
    if (!claimed_ || port < base_ || port > base_ + 2 || port == base_ + 1) {
      ++strayAccesses_;
      return false;
    }
    const std::int64_t nanos = clock_.nowNanos();
    writes_.push_back(PortWrite{nanos, port, value});
    if (port == base_) {
      const std::uint8_t previous = data_;
      data_ = value;
      if (decoding_ == Decoding::StepDirection) decodeDataLocked(previous, value, nanos);
    } else {
      const bool strobeStarts = (control_ & kStrobeBit) == 0 && (value & kStrobeBit) != 0;
      control_ = value;
      if (strobeStarts) latchLocked(nanos);
    }
    ++changes_;
    due = dueHooksLocked();
  }
  changed_.notify_all();
  for (auto& action : due) action();
  return true;
}

void SimulatedParallelPort::decodeDataLocked(std::uint8_t previous, std::uint8_t value, std::int64_t nanos) {
  // Bits 2i and 2i+1 are the direction and step of axis i; a step counts on its rising edge.
  for (std::size_t axis = 0; axis < 4; ++axis) {
    const auto directionBit = static_cast<std::uint8_t>(1u << (2 * axis));
    const auto stepBit = static_cast<std::uint8_t>(2u << (2 * axis));
    if ((previous & stepBit) == 0 && (value & stepBit) != 0) {
      positions_[axis] += (value & directionBit) != 0 ? 1 : -1;
      stepTimes_[axis].push_back(nanos);
    }
  }
}

void SimulatedParallelPort::latchLocked(std::int64_t nanos) {
  latches_.push_back(LatchedByte{nanos, data_});
  if (decoding_ != Decoding::PhasePatterns) return;
  const std::size_t channel = data_ >> 6;
  const int pattern = data_ & 0x3F;
  if (channel > 2) return;
  int index = indexIn(kHalfStep, pattern);
  int size = static_cast<int>(kHalfStep.size());
  if (index < 0) {
    index = indexIn(kFullStep, pattern);
    size = static_cast<int>(kFullStep.size());
  }
  // Holding and relay patterns are no phase: the motor stays where it is.
  if (index < 0) return;
  const int delta = ((index - phaseIndex_[channel]) % size + size) % size;
  if (delta == 1) {
    ++positions_[channel];
    stepTimes_[channel].push_back(nanos);
  } else if (delta == size - 1) {
    --positions_[channel];
    stepTimes_[channel].push_back(nanos);
  } else if (delta != 0) {
    ++phaseJumps_;
  }
  phaseIndex_[channel] = index;
}

std::vector<std::function<void()>> SimulatedParallelPort::dueHooksLocked() {
  std::vector<std::function<void()>> due;
  for (auto it = hooks_.begin(); it != hooks_.end();) {
    if (it->due(positions_)) {
      due.push_back(std::move(it->action));
      it = hooks_.erase(it);
    } else {
      ++it;
    }
  }
  return due;
}

}  // namespace peers
