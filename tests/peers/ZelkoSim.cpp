// The simulated controller: one thread that reads commands from the pseudo-terminal's master
// side, answers them (now, later, or as a fault says) and runs the timed moves.
#include "ZelkoSim.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>

#include "SimLine.h"
#include "SimMoves.h"

namespace peers {

namespace {

constexpr char kStx = 0x02;
constexpr char kEtx = 0x03;
constexpr char kAck = 0x06;
constexpr char kBel = 0x07;
constexpr char kCr = 0x0D;
constexpr char kNak = 0x15;
constexpr std::size_t kMaxCommandBytes = 1024;
constexpr int kMemoryEmpty = 3;  // "E3" BEL: the slot (or the memory) holds no program
constexpr int kMemoryFull = 4;   // "E4" BEL: the program memory is full

std::string errorAnswer(int n) { return "E" + std::to_string(n) + kBel; }

bool beginsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

// The slot number of "*PE3", "*FR7" and the like: 1-7, 0 for 'a' (all), -1 for anything else.
int slotOf(const std::string& command) {
  if (command.size() != 4) return -1;
  if (command[3] == 'a') return 0;
  if (command[3] < '1' || command[3] > '0' + ZelkoSim::kProgramSlots) return -1;
  return command[3] - '0';
}

std::optional<ZelkoSim::Positions> homingTarget(const std::string& command, ZelkoSim::Positions current) {
  for (std::size_t i = 2; i < command.size(); ++i) {
    const int axis = simAxisIndex(command[i]);
    if (axis < 0) return std::nullopt;
    current[static_cast<std::size_t>(axis)] = 0;
  }
  return current;
}

}  // namespace

ZelkoSim::ZelkoSim() : ZelkoSim(Options{}) {}

ZelkoSim::ZelkoSim(Options options) : options_(std::move(options)), started_(std::chrono::steady_clock::now()) {
  const SimLine line = openSimLine();
  master_ = line.master;
  slave_ = line.slave;
  wakeFd_ = line.wakeFd;
  devicePath_ = line.devicePath;
  thread_ = std::thread([this] { serve(); });
}

ZelkoSim::~ZelkoSim() {
  stop_.store(true);
  wake();
  thread_.join();
  closeSimLine(master_, slave_, wakeFd_);
}

void ZelkoSim::wake() { wakeSimLine(wakeFd_); }

void ZelkoSim::addFault(SimFault fault) {
  std::lock_guard lock(mutex_);
  faults_.push_back(std::move(fault));
}

void ZelkoSim::setMoveDuration(std::chrono::milliseconds duration) {
  std::lock_guard lock(mutex_);
  options_.moveDuration = duration;
}

void ZelkoSim::setStopDuration(std::chrono::milliseconds duration) {
  std::lock_guard lock(mutex_);
  stopDuration_ = duration;
}

void ZelkoSim::setStoreMode(bool on) {
  std::lock_guard lock(mutex_);
  storeMode_ = on;
}

void ZelkoSim::setNotRecording(bool on) {
  std::lock_guard lock(mutex_);
  notRecording_ = on;
}

void ZelkoSim::setInput(char input, bool set) {
  std::lock_guard lock(mutex_);
  inputs_[static_cast<unsigned char>(input) & 0x7F] = set;
}

void ZelkoSim::setProbe(char input, int zSteps) {
  std::lock_guard lock(mutex_);
  probe_ = Probe{input, zSteps};
}

void ZelkoSim::setProgramMemory(std::size_t lines, std::chrono::milliseconds erase,
                                std::chrono::milliseconds eraseAll) {
  std::lock_guard lock(mutex_);
  options_.programMemoryLines = lines;
  options_.eraseDuration = erase;
  options_.eraseAllDuration = eraseAll;
}

std::optional<ZelkoSim::StoredProgram> ZelkoSim::program(int slot) const {
  std::lock_guard lock(mutex_);
  if (slot < 1 || slot > kProgramSlots) return std::nullopt;
  return programs_[static_cast<std::size_t>(slot - 1)];
}

void ZelkoSim::storeProgram(int slot, StoredProgram program) {
  std::lock_guard lock(mutex_);
  if (slot >= 1 && slot <= kProgramSlots) programs_[static_cast<std::size_t>(slot - 1)] = std::move(program);
}

bool ZelkoSim::runProgram(int slot) {
  std::lock_guard lock(mutex_);
  if (slot < 1 || slot > kProgramSlots || !programs_[static_cast<std::size_t>(slot - 1)]) return false;
  const StoredProgram& stored = *programs_[static_cast<std::size_t>(slot - 1)];
  for (int pass = 0; pass < stored.passes; ++pass) {
    for (const auto& line : stored.lines) {
      const bool vector = beginsWith(line, "L");
      if (!vector && !beginsWith(line, "$H")) continue;
      if (const auto target = vector ? simVectorTarget(line, positions_) : homingTarget(line, positions_)) {
        positions_ = *target;
        history_.push_back(positions_);
      }
    }
  }
  return true;
}

std::string ZelkoSim::receivedBytes() const {
  std::lock_guard lock(mutex_);
  return receivedBytes_;
}

void ZelkoSim::setSilent(bool on) {
  std::lock_guard lock(mutex_);
  silent_ = on;
}

void ZelkoSim::sendRaw(const std::string& bytes) {
  std::lock_guard lock(mutex_);
  writeNow(bytes, 'N');
}

void ZelkoSim::hangUp() {
  std::unique_lock lock(mutex_);
  if (hungUp_) return;
  // The serving thread closes the master itself: a descriptor closed under its poll would stay
  // referenced, and the line would not hang up until that poll returned.
  hangUpRequested_ = true;
  wake();
  logChanged_.wait(lock, [this] { return hungUp_; });
}

std::vector<SimLogEntry> ZelkoSim::log() const {
  std::lock_guard lock(mutex_);
  return log_;
}

std::vector<std::string> ZelkoSim::commands() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> out;
  for (const auto& e : log_)
    if (e.kind == SimLogEntry::Kind::Command) out.push_back(e.text);
  return out;
}

ZelkoSim::Positions ZelkoSim::positions() const {
  std::lock_guard lock(mutex_);
  return positions_;
}

std::vector<ZelkoSim::Positions> ZelkoSim::positionHistory() const {
  std::lock_guard lock(mutex_);
  return history_;
}

bool ZelkoSim::moving() const {
  std::lock_guard lock(mutex_);
  return move_.has_value();
}

bool ZelkoSim::waitFor(const std::function<bool(const std::vector<SimLogEntry>&)>& condition,
                       std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return logChanged_.wait_for(lock, timeout, [&] { return condition(log_); });
}

bool ZelkoSim::waitForCommand(const std::string& command, std::chrono::milliseconds timeout, int count) const {
  return waitFor(
      [&](const std::vector<SimLogEntry>& log) {
        return std::count_if(log.begin(), log.end(), [&](const SimLogEntry& e) {
                 return e.kind == SimLogEntry::Kind::Command && e.text == command;
               }) >= count;
      },
      timeout);
}

bool ZelkoSim::waitForAnswer(const std::string& bytes, std::chrono::milliseconds timeout, int count) const {
  return waitFor(
      [&](const std::vector<SimLogEntry>& log) {
        return std::count_if(log.begin(), log.end(), [&](const SimLogEntry& e) {
                 return e.kind == SimLogEntry::Kind::Answer && e.text == bytes;
               }) >= count;
      },
      timeout);
}

void ZelkoSim::serve() {
  std::string chunk(256, '\0');
  while (!stop_.load()) {
    int timeoutMs = -1;
    int master = -1;
    {
      std::lock_guard lock(mutex_);
      if (hungUp_) break;
      master = master_;
      if (const auto due = nextDue()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(*due - std::chrono::steady_clock::now());
        timeoutMs = static_cast<int>(std::max<std::int64_t>(0, left.count()));
      }
    }
    pollfd pfds[2] = {{master, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    if (::poll(pfds, 2, timeoutMs) < 0 && errno != EINTR) break;
    if ((pfds[1].revents & POLLIN) != 0) {
      std::uint64_t count = 0;
      (void)!::read(wakeFd_, &count, sizeof count);
    }
    std::unique_lock lock(mutex_);
    if (hangUpRequested_) {
      ::close(master_);
      master_ = -1;
      hungUp_ = true;
      pending_.clear();
      logChanged_.notify_all();
      break;
    }
    if ((pfds[0].revents & POLLIN) != 0) {
      const ssize_t n = ::read(master_, chunk.data(), chunk.size());
      if (n > 0) receivedBytes_.append(chunk.data(), static_cast<std::size_t>(n));
      for (ssize_t i = 0; i < n; ++i) {
        const char c = chunk[static_cast<std::size_t>(i)];
        if (c == kCr) {
          const std::string command = received_;
          received_.clear();
          handleCommand(command, lock);
        } else if (c == kEtx || c == kStx) {
          // A program header ends in STX, a recording in ETX alone; neither has a CR.
          const std::string command = received_ + c;
          received_.clear();
          handleCommand(command, lock);
        } else if (received_.size() < kMaxCommandBytes) {
          received_.push_back(c);
        }
      }
    }
    runDue();
  }
}

void ZelkoSim::handleCommand(const std::string& command, std::unique_lock<std::mutex>&) {
  const bool priority = !command.empty() && command.front() == '@';
  record(SimLogEntry::Kind::Command, priority ? '@' : 'N', command);
  if (priority) {
    handlePriority(command);
  } else if (move_) {
    // Normal commands wait for the running move; only '@' commands are served during it.
    queued_.push_back(command);
  } else {
    handleNormal(command);
  }
}

void ZelkoSim::handleNormal(const std::string& command) {
  if (const auto motion = takeFault(command, false, SimFault::Kind::Motion)) {
    const auto now = std::chrono::steady_clock::now();
    move_ = Move{positions_, positions_, now, now + motion->delay};
    schedule(move_->end, std::string(1, kAck), 'N', true);
    writeNow(std::string(1, kNak), 'N');
    return;
  }
  if (handleProgramMemory(command)) return;
  const bool vector = beginsWith(command, "L");
  const bool homing = beginsWith(command, "$H");
  if (vector || homing) {
    const auto target = vector ? simVectorTarget(command, positions_) : homingTarget(command, positions_);
    if (!target) {
      answer(command, errorAnswer(1), 'N');
      return;
    }
    if (storeMode_) {
      answer(command, std::string(1, kAck), 'N');
      return;
    }
    const auto fault = takeFault(command, false);
    // An answer other than NAK means the controller did not take the move: nothing starts.
    if (!fault || (fault->kind != SimFault::Kind::Error && fault->kind != SimFault::Kind::Wrong))
      startMotion(command, *target);
    deliver(std::string(1, kNak), 'N', fault);
    return;
  }
  static const char* const kSettings[] = {"#", "T", "F", "A", "c,", "D,"};
  for (const char* prefix : kSettings) {
    if (beginsWith(command, prefix)) {
      answer(command, std::string(1, kAck), 'N');
      return;
    }
  }
  // The bare CR and every command the controller does not know.
  answer(command, errorAnswer(1), 'N');
}

void ZelkoSim::handlePriority(const std::string& command) {
  const std::string ack(1, kAck);
  if (command == "@V") {
    answer(command, "@V " + options_.version + ack, '@');
  } else if (command.size() == 3 && beginsWith(command, "@L") && simAxisIndex(command[2]) >= 0) {
    answer(command,
           command + " " + std::to_string(positions_[static_cast<std::size_t>(simAxisIndex(command[2]))]) + ack, '@');
  } else if (command.size() == 3 && beginsWith(command, "@I")) {
    const bool probed = probe_ && probe_->input == command[2] && positions_[2] >= probe_->zSteps;
    const bool set = probed || inputs_[static_cast<unsigned char>(command[2]) & 0x7F];
    answer(command, command + " " + (set ? "1" : "0") + ack, '@');
  } else if (command == "@B") {
    answer(command, "@B" + ack, '@');
    stopMotion(true);
  } else if (command == "@S" || command == "@R") {
    answer(command, "@RS" + ack, '@');
    stopMotion(false);
  } else {
    answer(command, "@E1" + std::string(1, kBel), '@');
  }
}

std::size_t ZelkoSim::storedLines() const {
  std::size_t lines = recording_ ? recording_->program.lines.size() : 0;
  for (const auto& stored : programs_)
    if (stored) lines += stored->lines.size();
  return lines;
}

bool ZelkoSim::handleProgramMemory(const std::string& command) {
  const std::string ack(1, kAck);
  const std::string cr(1, kCr);
  if (command == std::string(1, kEtx)) {
    // The end of a recording: a complete job goes into its slot.
    if (recording_ && recording_->headerReceived && !recording_->full && !recording_->live)
      programs_[static_cast<std::size_t>(recording_->slot - 1)] = std::move(recording_->program);
    recording_.reset();
    answer(command, ack, 'N');
    return true;
  }
  if (recording_ && !recording_->headerReceived) {
    if (command.empty() || command.back() != kStx) return false;
    // A refused header is not kept; the recording still waits for one.
    if (!answerTaken(command, ack, 'N')) return true;
    recording_->program.header = command;
    recording_->headerReceived = true;
    return true;
  }
  const bool memoryCommand = beginsWith(command, "*FR") || beginsWith(command, "*PR") || beginsWith(command, "*PE") ||
                             beginsWith(command, "*PW");
  if (!memoryCommand) {
    if (!recording_ || recording_->live) return false;
    // Everything of the job is recorded, answered ACK and not executed.
    if (beginsWith(command, "#PD,")) {
      recording_->program.passes = std::atoi(command.c_str() + 4);
      answer(command, ack, 'N');
    } else if (storedLines() >= options_.programMemoryLines) {
      recording_->full = true;
      answer(command, errorAnswer(kMemoryFull), 'N');
    } else {
      recording_->program.lines.push_back(command);
      answer(command, ack, 'N');
    }
    return true;
  }
  const int slot = slotOf(command);
  const bool all = slot == 0;
  if (slot < 0 || (all && !beginsWith(command, "*PE"))) {
    answer(command, errorAnswer(1), 'N');
    return true;
  }
  std::optional<StoredProgram>* stored = all ? nullptr : &programs_[static_cast<std::size_t>(slot - 1)];
  if (beginsWith(command, "*FR")) {
    answer(command,
           (*stored ? command + " " + std::to_string((*stored)->lines.size()) + "," + std::to_string((*stored)->passes)
                    : command + " -,-") +
               cr,
           'N');
  } else if (beginsWith(command, "*PR")) {
    if (!*stored) {
      answer(command, errorAnswer(kMemoryEmpty), 'N');
      return true;
    }
    answer(command, command + cr, 'N');
    writeNow((*stored)->header, 'N');
    writeNow("#PD," + std::to_string((*stored)->passes) + cr, 'N');
    for (const auto& line : (*stored)->lines) writeNow(line + cr, 'N');
    writeNow(ack, 'N');
  } else if (beginsWith(command, "*PE")) {
    // The echo at once, the result once the memory is erased.
    const auto fault = takeFault(command, false);
    deliver(command + cr, 'N', fault);
    if (fault && fault->kind != SimFault::Kind::Late && fault->kind != SimFault::Kind::Split) return true;
    const auto now = std::chrono::steady_clock::now();
    if (all) {
      for (auto& p : programs_) p.reset();
      schedule(now + options_.eraseAllDuration, ack, 'N');
    } else {
      const bool used = stored->has_value();
      stored->reset();
      schedule(now + options_.eraseDuration, used ? ack : errorAnswer(kMemoryEmpty), 'N');
    }
  } else if (answerTaken(command, ack, 'N')) {
    // A refused program-write opens no recording.
    recording_ = Recording{slot, false, false, notRecording_, {}};
  }
  return true;
}

void ZelkoSim::startMotion(const std::string& command, const Positions& target) {
  const auto now = std::chrono::steady_clock::now();
  move_ = Move{positions_, target, now, now + options_.moveDuration};
  std::string final(1, kAck);
  if (const auto fault = takeFault(command, true)) {
    switch (fault->kind) {
      case SimFault::Kind::Error:
        final = errorAnswer(fault->errorNumber);
        break;
      case SimFault::Kind::Wrong:
        final = fault->text;
        break;
      case SimFault::Kind::Silence:
        final.clear();
        break;
      default:
        break;
    }
  }
  schedule(move_->end, final, 'N', true);
}

void ZelkoSim::stopMotion(bool finalAnswer) {
  if (!move_) return;
  // The axes stop where they are: as far along as the elapsed share of the move.
  const auto now = std::chrono::steady_clock::now();
  const double total = std::chrono::duration<double>(move_->end - move_->start).count();
  const double done =
      total <= 0.0 ? 1.0 : std::clamp(std::chrono::duration<double>(now - move_->start).count() / total, 0.0, 1.0);
  for (std::size_t i = 0; i < positions_.size(); ++i)
    positions_[i] = move_->from[i] + static_cast<int>((move_->to[i] - move_->from[i]) * done);
  history_.push_back(positions_);
  move_.reset();
  std::erase_if(pending_, [](const Pending& p) { return p.moveEnd; });
  if (finalAnswer) {
    // The controller answers in order: an answer still on its way (a late one) comes first.
    const auto later =
        std::find_if(pending_.rbegin(), pending_.rend(), [](const Pending& p) { return p.channel == 'N'; });
    auto at = now + stopDuration_;
    if (later != pending_.rend() && later->at > at) at = later->at;
    if (later == pending_.rend() && stopDuration_.count() == 0) {
      writeNow(std::string(1, kAck), 'N');
    } else {
      schedule(at, std::string(1, kAck), 'N');
    }
  }
  while (!move_ && !queued_.empty()) {
    const std::string next = queued_.front();
    queued_.erase(queued_.begin());
    handleNormal(next);
  }
}

bool ZelkoSim::answerTaken(const std::string& command, const std::string& bytes, char channel) {
  const auto fault = takeFault(command, false);
  deliver(bytes, channel, fault);
  return !fault || (fault->kind != SimFault::Kind::Error && fault->kind != SimFault::Kind::Wrong);
}

void ZelkoSim::answer(const std::string& command, const std::string& bytes, char channel) {
  deliver(bytes, channel, takeFault(command, false));
}

void ZelkoSim::deliver(const std::string& bytes, char channel, const std::optional<SimFault>& fault) {
  if (!fault) {
    writeNow(bytes, channel);
    return;
  }
  const auto now = std::chrono::steady_clock::now();
  switch (fault->kind) {
    case SimFault::Kind::Silence:
      break;
    case SimFault::Kind::Late:
      schedule(now + fault->delay, bytes, channel);
      break;
    case SimFault::Kind::Wrong:
      writeNow(fault->text, channel);
      break;
    case SimFault::Kind::Noise:
      writeNow(fault->text + bytes, channel);
      break;
    case SimFault::Kind::Error:
      writeNow(errorAnswer(fault->errorNumber), channel);
      break;
    case SimFault::Kind::Motion:
      writeNow(bytes, channel);
      break;
    case SimFault::Kind::Split: {
      const std::string whole = fault->text.empty() ? bytes : fault->text;
      const std::size_t pieces = static_cast<std::size_t>(std::max(1, fault->pieces));
      const std::size_t size = (whole.size() + pieces - 1) / pieces;
      for (std::size_t k = 0; k * size < whole.size(); ++k) {
        const auto at = now + fault->delay * static_cast<int>(k);
        schedule(at, whole.substr(k * size, size), channel);
      }
      break;
    }
  }
}

std::optional<SimFault> ZelkoSim::takeFault(const std::string& command, bool finalAnswer,
                                            std::optional<SimFault::Kind> kind) {
  for (auto it = faults_.begin(); it != faults_.end(); ++it) {
    const bool matches = it->command.empty() ? command.empty() : beginsWith(command, it->command);
    if (!matches || it->finalAnswer != finalAnswer) continue;
    if (kind ? it->kind != *kind : it->kind == SimFault::Kind::Motion) continue;
    SimFault fault = *it;
    if (it->times > 0 && --it->times == 0) faults_.erase(it);
    return fault;
  }
  return std::nullopt;
}

void ZelkoSim::schedule(std::chrono::steady_clock::time_point at, std::string bytes, char channel, bool moveEnd) {
  pending_.push_back(Pending{at, std::move(bytes), channel, moveEnd});
  std::stable_sort(pending_.begin(), pending_.end(), [](const Pending& a, const Pending& b) { return a.at < b.at; });
  wake();
}

std::optional<std::chrono::steady_clock::time_point> ZelkoSim::nextDue() const {
  if (pending_.empty()) return std::nullopt;
  return pending_.front().at;
}

void ZelkoSim::runDue() {
  while (!pending_.empty() && pending_.front().at <= std::chrono::steady_clock::now()) {
    const Pending due = pending_.front();
    pending_.erase(pending_.begin());
    if (due.moveEnd && move_) {
      positions_ = move_->to;
      history_.push_back(positions_);
      move_.reset();
    }
    if (!due.bytes.empty()) writeNow(due.bytes, due.channel);
    while (due.moveEnd && !move_ && !queued_.empty()) {
      const std::string next = queued_.front();
      queued_.erase(queued_.begin());
      handleNormal(next);
    }
  }
}

void ZelkoSim::writeNow(const std::string& bytes, char channel) {
  if (master_ < 0 || bytes.empty() || silent_) return;
  (void)!::write(master_, bytes.data(), bytes.size());
  record(SimLogEntry::Kind::Answer, channel, bytes);
}

void ZelkoSim::record(SimLogEntry::Kind kind, char channel, const std::string& text) {
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started_).count();
  log_.push_back(SimLogEntry{kind, ms, channel, text});
  if (options_.onLog) options_.onLog(log_.back());
  logChanged_.notify_all();
}

}  // namespace peers
