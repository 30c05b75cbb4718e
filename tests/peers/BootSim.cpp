// The simulated controller with its bootloader: one thread reads the master side of the
// pseudo-terminal, parses the bytes by the device's state into frames, applies them to the
// memory model and answers (now, or when a paced line would have carried them).
#include "BootSim.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include "SimLine.h"

namespace peers {

namespace {

constexpr char kAck = 0x06;
constexpr char kCr = 0x0D;
constexpr char kAccepted = 0x01;
constexpr char kRefused = 0x00;
// The entry sequence the utility and the bootloader agree on.
const std::string kEnter{'#', 0x02, 0x05, 'Z', 'E', 'L', 'K', 'B', 'T', 'L', 0x03, kCr};
constexpr std::size_t kMaxLine = 64;
constexpr std::size_t kIdBytes = 8;

std::uint32_t address24(const std::string& frame, std::size_t at) {
  const auto b = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(frame[i])); };
  return b(at) | (b(at + 1) << 8) | (b(at + 2) << 16);
}

int baudOf(speed_t speed) {
  switch (speed) {
    case B9600:
      return 9600;
    case B19200:
      return 19200;
    case B115200:
      return 115200;
    default:
      return 0;
  }
}

}  // namespace

BootSim::BootSim() : BootSim(Options{}) {}

BootSim::BootSim(Options options) : options_(std::move(options)) {
  state_ = options_.start;
  program_.assign(static_cast<std::size_t>(kProgramRows) * static_cast<std::size_t>(instructionsPerRow()),
                  options_.programFill & 0xFFFFFF);
  program_[0] = options_.resetVector[0] & 0xFFFFFF;
  program_[1] = options_.resetVector[1] & 0xFFFFFF;
  eeprom_.assign(kEepromWords, options_.eepromFill);
  config_ = options_.configFill;

  const SimLine line = openSimLine();
  master_ = line.master;
  slave_ = line.slave;
  wakeFd_ = line.wakeFd;
  devicePath_ = line.devicePath;
  thread_ = std::thread([this] { serve(); });
}

BootSim::~BootSim() {
  stop_.store(true);
  wake();
  thread_.join();
  closeSimLine(master_, slave_, wakeFd_);
}

void BootSim::wake() { wakeSimLine(wakeFd_); }

void BootSim::addFault(BootFault fault) {
  std::lock_guard lock(mutex_);
  faults_.push_back(fault);
  faultSeen_.push_back(0);
}

BootSim::State BootSim::state() const {
  std::lock_guard lock(mutex_);
  return state_;
}

std::vector<BootFrame> BootSim::frames() const {
  std::lock_guard lock(mutex_);
  return frames_;
}

std::vector<BootFrame> BootSim::frames(BootFrame::Kind kind) const {
  std::lock_guard lock(mutex_);
  std::vector<BootFrame> out;
  for (const BootFrame& f : frames_)
    if (f.kind == kind) out.push_back(f);
  return out;
}

std::uint32_t BootSim::instruction(std::size_t i) const {
  std::lock_guard lock(mutex_);
  return i < program_.size() ? program_[i] : 0xFFFFFF;
}

std::size_t BootSim::instructionCount() const {
  std::lock_guard lock(mutex_);
  return program_.size();
}

std::uint16_t BootSim::eepromWord(std::size_t i) const {
  std::lock_guard lock(mutex_);
  return i < eeprom_.size() ? eeprom_[i] : 0xFFFF;
}

std::uint16_t BootSim::configRegister(std::size_t i) const {
  std::lock_guard lock(mutex_);
  return i < config_.size() ? config_[i] : 0xFFFF;
}

std::uint64_t BootSim::bytesReceived() const {
  std::lock_guard lock(mutex_);
  return bytesReceived_;
}

bool BootSim::waitForBytes(std::uint64_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return bytesReceived_ >= count; });
}

bool BootSim::waitFor(const std::function<bool(const std::vector<BootFrame>&)>& condition,
                      std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return condition(frames_); });
}

void BootSim::serve() {
  std::string chunk(4096, '\0');
  while (!stop_.load()) {
    // To the nanosecond: a paced line's answers are due well within a millisecond.
    timespec timeout{};
    timespec* wait = nullptr;
    {
      std::lock_guard lock(mutex_);
      if (!pending_.empty()) {
        const auto left = std::max(pending_.front().at - Clock::now(), Clock::duration::zero());
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        timeout.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
        timeout.tv_nsec = static_cast<long>(ns % 1'000'000'000);
        wait = &timeout;
      }
    }
    pollfd pfds[2] = {{master_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    if (::ppoll(pfds, 2, wait, nullptr) < 0 && errno != EINTR) break;
    if ((pfds[1].revents & POLLIN) != 0) {
      std::uint64_t count = 0;
      (void)!::read(wakeFd_, &count, sizeof count);
    }
    std::lock_guard lock(mutex_);
    if ((pfds[0].revents & POLLIN) != 0) {
      const ssize_t n = ::read(master_, chunk.data(), chunk.size());
      if (n > 0) {
        bytesReceived_ += static_cast<std::uint64_t>(n);
        receive(chunk.substr(0, static_cast<std::size_t>(n)));
        changed_.notify_all();
      }
    }
    runDue();
    if (hangUpRequested_) {
      ::close(master_);
      master_ = -1;
      pending_.clear();
      changed_.notify_all();
      break;
    }
  }
}

bool BootSim::listening(int baud) const {
  if (baud == 0) return true;
  termios tio{};
  if (::tcgetattr(master_, &tio) != 0) return false;
  return baudOf(::cfgetospeed(&tio)) == baud;
}

void BootSim::receive(const std::string& bytes) {
  const auto now = Clock::now();
  for (char c : bytes) {
    Clock::time_point arrived = now;
    if (options_.wireBaud > 0) {
      // A paced line carries one byte of ten bits at a time.
      rxFree_ = std::max(rxFree_, now) + std::chrono::nanoseconds(10'000'000'000LL / options_.wireBaud);
      arrived = rxFree_;
    }
    onByte(c, arrived);
  }
}

void BootSim::onByte(char c, Clock::time_point arrived) {
  frameEnd_ = arrived;
  switch (state_) {
    case State::Firmware:
      firmwareByte(c);
      break;
    case State::BootEntry:
      entryByte(c);
      break;
    case State::Bootloader:
      bootloaderByte(c);
      break;
  }
}

void BootSim::firmwareByte(char c) {
  if (!listening(options_.firmwareBaud)) {
    buffer_.clear();
    return;
  }
  if (c != kCr) {
    if (buffer_.size() < kMaxLine) buffer_.push_back(c);
    return;
  }
  const std::string line = buffer_;
  buffer_.clear();
  BootFrame frame;
  frame.bytes = line + kCr;
  if (line.empty()) {
    frame.kind = BootFrame::Kind::Probe;
    take(frame, options_.probeAnswer);
  } else if (line == "@()") {
    frame.kind = BootFrame::Kind::Jump;
    take(frame, std::string(1, kAck));
  }
}

void BootSim::entryByte(char c) {
  if (!listening(options_.bootBaud)) {
    buffer_.clear();
    return;
  }
  buffer_.push_back(c);
  if (kEnter.compare(0, buffer_.size(), buffer_) == 0) {
    if (buffer_.size() < kEnter.size()) return;
    BootFrame frame;
    frame.kind = BootFrame::Kind::Enter;
    frame.bytes = buffer_;
    buffer_.clear();
    take(frame, std::string(1, kAck));
    return;
  }
  buffer_.clear();
  if (c == kCr) {
    BootFrame frame;
    frame.kind = BootFrame::Kind::BootProbe;
    frame.bytes = std::string(1, kCr);
    take(frame, std::string(1, kAck));
  } else if (c == kEnter.front()) {
    buffer_.push_back(c);
  }
}

void BootSim::bootloaderByte(char c) {
  if (!listening(options_.bootBaud)) {
    buffer_.clear();
    return;
  }
  buffer_.push_back(c);
  const auto command = static_cast<unsigned char>(buffer_.front());
  const std::size_t rowBytes = 3 * static_cast<std::size_t>(instructionsPerRow());
  std::size_t needed = 0;
  BootFrame frame;
  if (configIndex_ >= 0 && command != 0x07) {
    frame.kind = BootFrame::Kind::ConfigRegister;
    needed = 3;
  } else {
    switch (command) {
      case 0x02:
        frame.kind = BootFrame::Kind::ReadProgram;
        needed = 4;
        break;
      case 0x03:
        frame.kind = BootFrame::Kind::WriteProgram;
        needed = 4 + rowBytes;
        break;
      case 0x05:
        frame.kind = BootFrame::Kind::WriteEeprom;
        needed = 4 + 32;
        break;
      case 0x07:
        // Also in a running sequence: the sequence starts over.
        frame.kind = BootFrame::Kind::ConfigRegister;
        configIndex_ = 0;
        needed = 4;
        break;
      case 0x08:
        frame.kind = BootFrame::Kind::Leave;
        needed = 1;
        break;
      case 0x09:
        frame.kind = BootFrame::Kind::ReadId;
        needed = 1;
        break;
      default:
        // Not a command: dropped.
        buffer_.clear();
        return;
    }
  }
  if (buffer_.size() < needed) return;
  frame.bytes = buffer_;
  buffer_.clear();
  if (frame.kind == BootFrame::Kind::ReadProgram || frame.kind == BootFrame::Kind::WriteProgram ||
      frame.kind == BootFrame::Kind::WriteEeprom)
    frame.address = address24(frame.bytes, 1);
  if (frame.kind == BootFrame::Kind::ConfigRegister) {
    frame.registerIndex = configIndex_;
    configIndex_ = configIndex_ + 1 < configRegisters() ? configIndex_ + 1 : -1;
  }
  take(frame, {});
}

std::optional<BootFault> BootSim::takeFault(const BootFrame& frame) {
  for (std::size_t i = 0; i < faults_.size(); ++i) {
    BootFault& fault = faults_[i];
    if (fault.frame != frame.kind || fault.times == 0) continue;
    if (frame.kind == BootFrame::Kind::ConfigRegister && fault.registerIndex >= 0 &&
        fault.registerIndex != frame.registerIndex)
      continue;
    if (faultSeen_[i]++ < fault.skip) continue;
    if (fault.times > 0) --fault.times;
    return fault;
  }
  return std::nullopt;
}

void BootSim::take(BootFrame frame, std::string answer) {
  const auto fault = takeFault(frame);
  const bool rejected = fault && fault->kind == BootFault::Kind::Reject;
  if (!rejected) {
    const std::string& b = frame.bytes;
    switch (frame.kind) {
      case BootFrame::Kind::Jump:
        state_ = State::BootEntry;
        break;
      case BootFrame::Kind::Enter:
        state_ = State::Bootloader;
        configIndex_ = -1;
        break;
      case BootFrame::Kind::ReadProgram:
        answer = readProgram(frame.address);
        break;
      case BootFrame::Kind::WriteProgram:
        frame.stored = writeProgram(frame.address, b.substr(4));
        answer = std::string(1, frame.stored ? kAccepted : kRefused);
        break;
      case BootFrame::Kind::WriteEeprom:
        frame.stored = writeEeprom(frame.address, b.substr(4));
        answer = std::string(1, frame.stored ? kAccepted : kRefused);
        break;
      case BootFrame::Kind::ConfigRegister: {
        const std::size_t at = b.size() - 3;
        if (b[at] != 1) {
          config_[static_cast<std::size_t>(frame.registerIndex)] = static_cast<std::uint16_t>(
              static_cast<unsigned char>(b[at + 1]) | (static_cast<unsigned char>(b[at + 2]) << 8));
          frame.stored = true;
        }
        answer = std::string(1, kAccepted);
        break;
      }
      case BootFrame::Kind::ReadId: {
        answer.assign(kIdBytes, '\0');
        answer[0] = static_cast<char>(options_.id & 0xFF);
        answer[1] = static_cast<char>(options_.id >> 8);
        answer[5] = static_cast<char>((options_.revision & 0x0F) << 4);
        break;
      }
      case BootFrame::Kind::Leave:
        state_ = State::Firmware;
        configIndex_ = -1;
        break;
      case BootFrame::Kind::Probe:
      case BootFrame::Kind::BootProbe:
        break;
    }
  }
  if (fault) {
    switch (fault->kind) {
      case BootFault::Kind::Reject:
        answer = std::string(1, fault->byte);
        break;
      case BootFault::Kind::StrayByte:
        answer.insert(answer.begin(), fault->byte);
        break;
      case BootFault::Kind::Silence:
        answer.clear();
        break;
      case BootFault::Kind::ShortAnswer:
        answer.resize(answer.size() / 2);
        break;
      case BootFault::Kind::HangUp:
        answer.clear();
        hangUpRequested_ = true;
        break;
    }
  }
  // Recorded before it is answered: whoever reads the answer finds the frame taken.
  frame.answer = answer;
  frames_.push_back(frame);
  if (options_.onFrame) options_.onFrame(frames_.back());
  changed_.notify_all();
  send(answer);
}

std::string BootSim::readProgram(std::uint32_t address) const {
  std::string out;
  const std::size_t first = address / 2;
  for (std::size_t i = 0; i < static_cast<std::size_t>(instructionsPerRow()); ++i) {
    const std::uint32_t word = first + i < program_.size() ? program_[first + i] : 0xFFFFFF;
    out.push_back(static_cast<char>((word >> 16) & 0xFF));
    out.push_back(static_cast<char>((word >> 8) & 0xFF));
    out.push_back(static_cast<char>(word & 0xFF));
  }
  return out;
}

bool BootSim::writeProgram(std::uint32_t address, const std::string& data) {
  const auto rowWords = static_cast<std::uint32_t>(2 * instructionsPerRow());
  const std::size_t first = address / 2;
  if (address % rowWords != 0 || first + static_cast<std::size_t>(instructionsPerRow()) > program_.size()) return false;
  for (std::size_t i = 0; i < static_cast<std::size_t>(instructionsPerRow()); ++i) {
    const auto b = [&](std::size_t k) {
      return static_cast<std::uint32_t>(static_cast<unsigned char>(data[3 * i + k]));
    };
    program_[first + i] = b(0) | (b(1) << 8) | (b(2) << 16);
  }
  return true;
}

bool BootSim::writeEeprom(std::uint32_t address, const std::string& data) {
  if (address < kEepromBase || (address - kEepromBase) % 32 != 0) return false;
  const std::size_t first = (address - kEepromBase) / 2;
  if (first + 16 > eeprom_.size()) return false;
  for (std::size_t i = 0; i < 16; ++i)
    eeprom_[first + i] = static_cast<std::uint16_t>(static_cast<unsigned char>(data[2 * i]) |
                                                    (static_cast<unsigned char>(data[2 * i + 1]) << 8));
  return true;
}

void BootSim::send(std::string bytes) {
  if (bytes.empty()) return;
  if (options_.wireBaud <= 0) {
    writeNow(bytes);
    return;
  }
  // The answer leaves once the frame has arrived and the line back is free, and is complete a
  // line time later; it is written whole at that moment.
  const auto byteTime = std::chrono::nanoseconds(10'000'000'000LL / options_.wireBaud);
  txFree_ = std::max(txFree_, frameEnd_) + byteTime * static_cast<long long>(bytes.size());
  pending_.push_back(Pending{txFree_, std::move(bytes)});
  wake();
}

void BootSim::runDue() {
  while (!pending_.empty() && pending_.front().at <= Clock::now()) {
    const std::string bytes = std::move(pending_.front().bytes);
    pending_.erase(pending_.begin());
    writeNow(bytes);
  }
}

void BootSim::writeNow(const std::string& bytes) {
  std::size_t done = 0;
  while (master_ >= 0 && done < bytes.size()) {
    const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EAGAIN) {
      // The utility reads on; the terminal's queue drains.
      pollfd pfd{master_, POLLOUT, 0};
      if (::poll(&pfd, 1, 1000) <= 0) return;
    } else if (n < 0 && errno != EINTR) {
      return;
    }
  }
}

}  // namespace peers
