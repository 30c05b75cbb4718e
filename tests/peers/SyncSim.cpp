// The simulated synchronous module: one thread that reads bytes from the pseudo-terminal's
// master side, answers each command and ends the timed motions.
#include "SyncSim.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>

#include "SimLine.h"
#include "SimMoves.h"

namespace peers {

namespace {

constexpr char kExecute = 0x01;
constexpr char kStx = 0x02;
constexpr char kEtx = 0x03;
constexpr char kCr = 0x0D;

const std::string kIdle = std::string(1, kStx) + kCr;
const std::string kBusy = std::string(1, kEtx) + kCr;

}  // namespace

SyncSim::SyncSim(std::string identification, std::chrono::milliseconds moveDuration)
    : identification_(std::move(identification)), moveDuration_(moveDuration) {
  const SimLine line = openSimLine();
  master_ = line.master;
  slave_ = line.slave;
  wakeFd_ = line.wakeFd;
  devicePath_ = line.devicePath;
  thread_ = std::thread([this] { serve(); });
}

SyncSim::~SyncSim() {
  stop_ = true;
  wakeSimLine(wakeFd_);
  thread_.join();
  closeSimLine(master_, slave_, wakeFd_);
}

void SyncSim::setMoveDuration(std::chrono::milliseconds duration) {
  std::lock_guard lock(mutex_);
  moveDuration_ = duration;
}

void SyncSim::setSilent(bool on) {
  std::lock_guard lock(mutex_);
  silent_ = on;
}

void SyncSim::holdInput(bool on) {
  {
    std::lock_guard lock(mutex_);
    inputHeld_ = on;
  }
  wakeSimLine(wakeFd_);
}

void SyncSim::answerWith(const std::string& command, const std::string& bytes) {
  std::lock_guard lock(mutex_);
  answers_[command] = bytes;
}

void SyncSim::setPositions(const Positions& p) {
  std::lock_guard lock(mutex_);
  positions_ = p;
}

void SyncSim::sendRaw(const std::string& bytes) {
  std::lock_guard lock(mutex_);
  (void)!::write(master_, bytes.data(), bytes.size());
}

std::string SyncSim::received() const {
  std::lock_guard lock(mutex_);
  return received_;
}

std::vector<SyncCommand> SyncSim::commands() const {
  std::lock_guard lock(mutex_);
  return commands_;
}

std::vector<std::string> SyncSim::texts() const {
  std::vector<std::string> out;
  for (const auto& c : commands()) out.push_back(c.text);
  return out;
}

SyncSim::Positions SyncSim::positions() const {
  std::lock_guard lock(mutex_);
  return positions_;
}

bool SyncSim::moving() const {
  std::lock_guard lock(mutex_);
  return target_.has_value();
}

void SyncSim::clearLog() {
  std::lock_guard lock(mutex_);
  received_.clear();
  commands_.clear();
}

bool SyncSim::waitFor(const std::function<bool(const std::vector<SyncCommand>&)>& condition,
                      std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return condition(commands_); });
}

bool SyncSim::waitForMotion(bool moving, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return target_.has_value() == moving; });
}

bool SyncSim::waitForCommand(const std::string& text, std::chrono::milliseconds timeout, int count) const {
  return waitFor(
      [&](const std::vector<SyncCommand>& commands) {
        int seen = 0;
        for (const auto& c : commands) seen += c.text == text ? 1 : 0;
        return seen >= count;
      },
      timeout);
}

void SyncSim::write(const std::string& bytes) {
  if (!silent_) (void)!::write(master_, bytes.data(), bytes.size());
}

void SyncSim::startMotion(const Positions& target) {
  target_ = target;
  moveEnd_ = std::chrono::steady_clock::now() + moveDuration_;
  write(kBusy);
}

void SyncSim::finishDueMotion() {
  if (!target_ || std::chrono::steady_clock::now() < moveEnd_) return;
  positions_ = *target_;
  target_.reset();
  write(kIdle);
}

void SyncSim::handle(const SyncCommand& command) {
  const std::string& text = command.text;
  if (const auto own = answers_.find(text); own != answers_.end()) {
    write(own->second);
  } else if (text == "@V") {
    write("@V " + identification_ + kCr);
  } else if (text.size() == 3 && text.compare(0, 2, "@L") == 0) {
    const int axis = simAxisIndex(text[2]);
    const int value = axis < 0 ? 0 : positions_[static_cast<std::size_t>(axis)];
    write(text + std::to_string(value) + kCr);
  } else if (text == "@B" || text == "@S" || text == "@R") {
    // The motion ends where it is; the simulated unit keeps its start position.
    target_.reset();
    stored_.clear();
    write(kIdle);
  } else if (target_) {
    write(kBusy);
  } else if (!text.empty() && text[0] == 'L' && command.terminator == kCr) {
    stored_.push_back(text);
    write(kIdle);
  } else if (!text.empty() && text[0] == 'L') {
    const auto target = simVectorTarget(text, positions_);
    if (target) {
      startMotion(*target);
    } else {
      write(kIdle);
    }
  } else if (text.compare(0, 2, "$H") == 0 && command.terminator == kExecute) {
    Positions target = positions_;
    for (char letter : text.substr(2)) {
      const int axis = simAxisIndex(letter);
      if (axis >= 0) target[static_cast<std::size_t>(axis)] = 0;
    }
    startMotion(target);
  } else if (text.empty() && command.terminator == kExecute && !stored_.empty()) {
    Positions target = positions_;
    for (const auto& move : stored_)
      if (auto next = simVectorTarget(move, target)) target = *next;
    stored_.clear();
    startMotion(target);
  } else {
    write(kIdle);
  }
}

void SyncSim::serve() {
  while (!stop_.load()) {
    int timeoutMs = -1;
    short inputEvents = POLLIN;
    {
      std::lock_guard lock(mutex_);
      if (inputHeld_) inputEvents = 0;
      if (target_) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(moveEnd_ - std::chrono::steady_clock::now());
        timeoutMs = left.count() < 0 ? 0 : static_cast<int>(left.count()) + 1;
      }
    }
    pollfd fds[2] = {{master_, inputEvents, 0}, {wakeFd_, POLLIN, 0}};
    ::poll(fds, 2, timeoutMs);
    std::lock_guard lock(mutex_);
    if ((fds[1].revents & POLLIN) != 0 && !stop_.load()) {
      // A wake for a changed setting is taken, so that the next poll waits again.
      std::uint64_t count = 0;
      (void)!::read(wakeFd_, &count, sizeof count);
    }
    if ((fds[0].revents & POLLIN) != 0 && !inputHeld_) {
      char buf[256];
      const ssize_t n = ::read(master_, buf, sizeof buf);
      for (ssize_t i = 0; i < n; ++i) {
        const char c = buf[i];
        received_ += c;
        if (c == kCr || c == kExecute) {
          commands_.push_back(SyncCommand{partial_, c});
          const SyncCommand command = commands_.back();
          partial_.clear();
          handle(command);
        } else {
          partial_ += c;
        }
      }
    }
    finishDueMotion();
    changed_.notify_all();
  }
}

}  // namespace peers
