// The receiver loop with its answer states, the account of answers owed by the controller, and
// both sides of the answer hand-over.
#include "ZelkoComReceiver.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <utility>

#include "machine/TraceLog.h"

namespace machine {

namespace {

constexpr char kAt = '@';
constexpr std::int64_t kStopAnswerPauseMs = 10;
// How long a wait that has run out lets the receiver handle the bytes already received, and how
// often it looks.
constexpr std::chrono::milliseconds kCatchUpGrace{1000};
constexpr std::chrono::milliseconds kCatchUpPoll{1};
// How long a command waits for the rest of an answer whose taker gave up.
constexpr std::chrono::milliseconds kPartialAnswerGrace{250};

bool endsNormalAnswer(char c) {
  return c == kZelkoStx || c == kZelkoEtx || c == kZelkoAck || c == kZelkoBel || c == kZelkoCr || c == kZelkoNak;
}

void store(std::string& answer, char c, std::size_t limit) {
  if (answer.size() < limit) answer.push_back(c);
}

bool isStopAnswer(const std::string& answer) { return answer.compare(0, 4, std::string("@RS") + kZelkoAck) == 0; }

bool endsWithNak(const std::string& answer) { return !answer.empty() && answer.back() == kZelkoNak; }

// Writes the lines gathered under the lock, outside it.
void writeTrace(std::deque<std::string>& lines) {
  for (const auto& line : lines) Protokoll_schreiben(line);
  lines.clear();
}

}  // namespace

TzelkoCOM_thread::TzelkoCOM_thread(std::shared_ptr<platform::SerialPort> port, platform::Clock& clock)
    : port_(std::move(port)), clock_(clock) {
  assert(port_ != nullptr);
}

TzelkoCOM_thread::~TzelkoCOM_thread() {
  if (thread_.joinable()) stop();
}

void TzelkoCOM_thread::start() {
  thread_ = std::thread([this] { Execute(); });
  hEventThreadRun.wait();
}

void TzelkoCOM_thread::stop() {
  terminate_.store(true);
  close(false);
  // The wake descriptor ends a pending read; from then on every read is woken.
  port_->wakeReader();
  if (thread_.joinable()) thread_.join();
}

bool TzelkoCOM_thread::broken() const {
  std::lock_guard lock(mutex_);
  return broken_;
}

void TzelkoCOM_thread::markBroken() { close(true); }

void TzelkoCOM_thread::close(bool broken) {
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
    if (broken) broken_ = true;
    state_ = kZelkoIdle;
  }
  changed_.notify_all();
}

void TzelkoCOM_thread::Execute() {
  hEventThreadRun.set();
  std::deque<std::string> trace;
  while (!terminate_.load()) {
    char c = 0;
    reading_.store(true);
    const platform::SerialRead read = port_->readByte(c);
    reading_.store(false);
    if (read == platform::SerialRead::Woken) break;
    if (read == platform::SerialRead::HangUp) {
      // A vanished adapter or a closed line keeps reporting end of file; waiting on it would
      // spin, so the link is marked broken and every waiter fails.
      Protokoll_schreiben("TzelkoCOM_thread :: Verbindung unterbrochen");
      close(true);
      break;
    }
    {
      std::unique_lock lock(mutex_);
      handleByte(c, lock);
      trace.swap(traceLines_);
    }
    changed_.notify_all();
    writeTrace(trace);
  }
}

void TzelkoCOM_thread::handleByte(char c, std::unique_lock<std::mutex>& lock) {
  if (closed_) return;
  if (c == kAt) {
    // An '@' inside an '@' answer restarts that answer; the state to return to stays the one of
    // the normal channel.
    if (state_ != kZelkoPriorityFirst && state_ != kZelkoPriorityRest) savedState_ = state_;
    state_ = kZelkoPriorityFirst;
  } else if (state_ == kZelkoIdle) {
    state_ = kZelkoFirstByte;
  }

  switch (state_) {
    case kZelkoFirstByte:
      normalAnswer_.clear();
      store(normalAnswer_, c, kZelkoNormalAnswerMax);
      if (c == kZelkoAck) {
        state_ = kZelkoIdle;
        normalComplete(normalAnswer_);
      } else if (c == kZelkoNak) {
        // The motion has started; the bytes that follow are its final answer.
        state_ = kZelkoRest;
        savedState_ = kZelkoRest;
        normalComplete(normalAnswer_);
        normalAnswer_.clear();
      } else {
        state_ = kZelkoRest;
      }
      break;
    case kZelkoRest:
      store(normalAnswer_, c, kZelkoNormalAnswerMax);
      if (endsNormalAnswer(c)) {
        state_ = kZelkoIdle;
        normalComplete(normalAnswer_);
      }
      break;
    case kZelkoPriorityFirst:
      priorityAnswer_.clear();
      store(priorityAnswer_, c, kZelkoPriorityAnswerMax);
      state_ = kZelkoPriorityRest;
      break;
    case kZelkoPriorityRest: {
      store(priorityAnswer_, c, kZelkoPriorityAnswerMax);
      if (c != kZelkoAck && c != kZelkoBel) break;
      // The answer is judged on this copy: once handed over, a new '@' command may clear the
      // buffer before the stop test below could read it.
      const std::string answer = priorityAnswer_;
      priorityComplete(answer);
      if (isStopAnswer(answer) && finalOwed_) {
        // A reset or stop ends a running motion without its final answer; the motion's waiter
        // gets the answer so far with "!" instead.
        lock.unlock();
        changed_.notify_all();
        clock_.sleepMillis(kStopAnswerPauseMs);
        lock.lock();
        state_ = kZelkoIdle;
        if (finalOwed_) {
          store(normalAnswer_, '!', kZelkoNormalAnswerMax);
          normalComplete(normalAnswer_);
        }
      } else {
        state_ = savedState_;
      }
      break;
    }
    default:
      break;
  }
}

void TzelkoCOM_thread::normalComplete(const std::string& answer) {
  partialNormal_ = false;
  const bool nak = endsWithNak(answer);
  if (finalOwed_) {
    // The controller answers in order: what completes now ends the motion that announced it.
    finalOwed_ = false;
    if (finalClaimed_) {
      normalReady_.push_back(ZelkoTaken{ZelkoWait::Signalled, answer, true, false});
    } else {
      drop(answer);
    }
    return;
  }
  if (seriesCommand_ && (normalPhase_ == Phase::Answer || normalPhase_ == Phase::Series)) {
    // Every answer of a series is kept, in order, however fast they come.
    if (normalReady_.size() < kZelkoSeriesAnswersMax) {
      normalReady_.push_back(ZelkoTaken{ZelkoWait::Signalled, answer, false, false});
    } else {
      drop(answer);
    }
    return;
  }
  if (normalPhase_ == Phase::Answer && normalReady_.empty()) {
    normalReady_.push_back(ZelkoTaken{ZelkoWait::Signalled, answer, false, false});
    // A NAK says that a motion has started, whatever the command: its final answer follows and
    // belongs to the thread that took the NAK.
    if (nak) {
      finalOwed_ = true;
      finalClaimed_ = true;
    }
    return;
  }
  drop(answer);
  // The late answer of a motion command that timed out tells whether its motion started.
  startOwed_ = false;
  if (nak) {
    // A motion nobody waits for has started; its final answer is dropped when it comes.
    finalOwed_ = true;
    finalClaimed_ = false;
  }
}

void TzelkoCOM_thread::priorityComplete(const std::string& answer) {
  partialPriority_ = false;
  if (priorityPhase_ == Phase::Answer && !priorityReady_) {
    priorityReady_ = answer;
  } else {
    drop(answer);
  }
}

void TzelkoCOM_thread::drop(const std::string& answer) {
  ++dropped_;
  traceLines_.push_back("TzelkoCOM_thread :: Antwort verworfen: " + answer);
}

std::uint64_t TzelkoCOM_thread::droppedAnswers() const {
  std::lock_guard lock(mutex_);
  return dropped_;
}

void TzelkoCOM_thread::awaitDropped(std::uint64_t count, std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  waitUntil(lock, std::chrono::steady_clock::now() + timeout, [&] { return dropped_ >= count; });
}

void TzelkoCOM_thread::settleUnwantedFinal() {
  if (normalPhase_ != Phase::Final || normalTakers_ > 0) return;
  if (normalReady_.empty() || !normalReady_.back().finalAnswer) return;
  // The motion's final answer came and its caller went on without waiting for it.
  for (const auto& ready : normalReady_) drop(ready.answer);
  normalReady_.clear();
  finalClaimed_ = false;
  normalPhase_ = Phase::Free;
}

void TzelkoCOM_thread::settleSeries() {
  if (normalPhase_ != Phase::Series || normalTakers_ > 0) return;
  for (const auto& ready : normalReady_) drop(ready.answer);
  normalReady_.clear();
  normalPhase_ = Phase::Free;
}

bool TzelkoCOM_thread::mayBegin(bool priority) const {
  if (priority) return priorityPhase_ == Phase::Free && normalPhase_ != Phase::Answer;
  // A running motion holds the normal channel until its final answer, whoever waits for it:
  // the controller answers nothing else before. So does a motion command whose answer is late:
  // until it comes, nobody knows whether the motion started.
  return normalPhase_ == Phase::Free && priorityPhase_ == Phase::Free && !finalOwed_ && !startOwed_;
}

bool TzelkoCOM_thread::caughtUp() const { return reading_.load() && port_->pendingInput() == 0; }

template <typename Ready>
ZelkoWait TzelkoCOM_thread::waitUntil(std::unique_lock<std::mutex>& lock, const std::optional<TimePoint>& deadline,
                                      Ready ready) {
  for (;;) {
    if (closed_) return ZelkoWait::Closed;
    if (ready()) return ZelkoWait::Signalled;
    if (!deadline) {
      changed_.wait(lock);
      continue;
    }
    if (changed_.wait_until(lock, *deadline) != std::cv_status::timeout) continue;
    // The time is up. An answer that came in time may still wait in the port, unread because
    // this program was slow to run: it is handled before the wait is given up.
    const TimePoint graceEnd = std::chrono::steady_clock::now() + kCatchUpGrace;
    for (;;) {
      if (closed_) return ZelkoWait::Closed;
      if (ready()) return ZelkoWait::Signalled;
      if (caughtUp() || std::chrono::steady_clock::now() >= graceEnd) return ZelkoWait::TimedOut;
      changed_.wait_for(lock, kCatchUpPoll);
    }
  }
}

ZelkoWait TzelkoCOM_thread::beginCommand(bool priority, bool motion, std::chrono::milliseconds timeout, bool series) {
  std::unique_lock lock(mutex_);
  const TimePoint deadline = std::chrono::steady_clock::now() + timeout;
  if (partialNormal_ || partialPriority_) {
    // The rest of an answer whose taker gave up is still on its way; it must complete that
    // answer, not pass for the start of the next one. An answer cut off for good is dropped.
    const TimePoint grace = std::min(deadline, std::chrono::steady_clock::now() + kPartialAnswerGrace);
    if (waitUntil(lock, grace, [&] { return !partialNormal_ && !partialPriority_; }) == ZelkoWait::Closed)
      return ZelkoWait::Closed;
    if (partialNormal_ || partialPriority_) {
      drop(partialPriority_ ? priorityAnswer_ : normalAnswer_);
      partialNormal_ = false;
      partialPriority_ = false;
      state_ = kZelkoIdle;
      savedState_ = kZelkoIdle;
    }
  }
  const ZelkoWait waited = waitUntil(lock, deadline, [&] {
    // A normal command from the thread that took the motion's start shows that nobody will wait
    // for its final answer; an '@' command (a stop from the GUI thread) shows nothing of the kind.
    if (!priority) {
      settleUnwantedFinal();
      // The next normal command ends the series before it.
      settleSeries();
    }
    return mayBegin(priority);
  });
  if (waited == ZelkoWait::TimedOut && !priority && normalTakers_ == 0 && priorityPhase_ == Phase::Free &&
      (normalPhase_ == Phase::Free || normalPhase_ == Phase::Final)) {
    // What the controller owes has not come in time, and nobody waits for it: a late motion
    // command's answer that never came, or a final answer (a NAK without a motion, or one that
    // never ends). The account is given up, so that this one failure is the last.
    if (startOwed_) {
      startOwed_ = false;
      traceLines_.push_back("TzelkoCOM_thread :: Antwort der Fahrt nicht erhalten");
    }
    if (finalOwed_ || normalPhase_ == Phase::Final) {
      finalOwed_ = false;
      finalClaimed_ = false;
      for (const auto& ready : normalReady_) drop(ready.answer);
      normalReady_.clear();
      normalPhase_ = Phase::Free;
      traceLines_.push_back("TzelkoCOM_thread :: Endantwort nicht erhalten");
    }
  }
  if (waited != ZelkoWait::Signalled) {
    std::deque<std::string> trace;
    trace.swap(traceLines_);
    lock.unlock();
    writeTrace(trace);
    return waited;
  }

  const bool quiet = normalPhase_ == Phase::Free && priorityPhase_ == Phase::Free && !finalOwed_ && !startOwed_;
  if (quiet) {
    // Nothing is owed on either channel: the command starts on a clean line, without stale bytes
    // in the buffer or half an answer in the receiver.
    state_ = kZelkoIdle;
    savedState_ = kZelkoIdle;
    normalAnswer_.clear();
    priorityAnswer_.clear();
    port_->purgeInput();
  } else if (priority) {
    // A motion's final answer may already be on its way: only the '@' channel starts afresh.
    if (state_ == kZelkoPriorityFirst || state_ == kZelkoPriorityRest) state_ = savedState_;
    priorityAnswer_.clear();
  } else if (!finalOwed_ && (state_ == kZelkoFirstByte || state_ == kZelkoRest)) {
    state_ = kZelkoIdle;
    normalAnswer_.clear();
  }
  if (priority) {
    priorityReady_.reset();
    priorityPhase_ = Phase::Answer;
  } else {
    normalReady_.clear();
    normalPhase_ = Phase::Answer;
    motionCommand_ = motion;
    seriesCommand_ = series && !motion;
    stopDeadline_.reset();
  }
  return ZelkoWait::Signalled;
}

ZelkoTaken TzelkoCOM_thread::takeNormal(std::optional<std::chrono::milliseconds> timeout) {
  std::unique_lock lock(mutex_);
  if (normalPhase_ == Phase::Free && normalReady_.empty()) {
    // Nothing was asked: only a motion's final answer that is still owed can be waited for.
    if (!finalOwed_) return {};
    finalClaimed_ = true;
    normalPhase_ = Phase::Final;
  }
  std::optional<TimePoint> deadline;
  if (timeout) deadline = std::chrono::steady_clock::now() + *timeout;
  bool afterStop = false;
  ++normalTakers_;
  const ZelkoWait waited = [&] {
    for (;;) {
      // A stop bounds the wait for a final answer; its deadline may come while waiting.
      const std::optional<TimePoint> seenStop = stopDeadline_;
      std::optional<TimePoint> until = deadline;
      const bool bounded = seenStop && (!until || *seenStop < *until);
      if (bounded) until = seenStop;
      const ZelkoWait w = waitUntil(lock, until, [&] { return !normalReady_.empty() || stopDeadline_ != seenStop; });
      if (w != ZelkoWait::Signalled || !normalReady_.empty()) {
        afterStop = w == ZelkoWait::TimedOut && bounded;
        return w;
      }
    }
  }();
  --normalTakers_;
  if (waited == ZelkoWait::Closed) return {ZelkoWait::Closed, {}, false, false};
  if (waited == ZelkoWait::TimedOut) {
    // Given up: the answer is dropped when it comes. A motion command's answer may still be a
    // late NAK that starts the motion.
    if (normalPhase_ == Phase::Answer && motionCommand_) startOwed_ = true;
    if ((normalPhase_ == Phase::Answer || normalPhase_ == Phase::Series) && !finalOwed_ &&
        (state_ == kZelkoFirstByte || state_ == kZelkoRest))
      partialNormal_ = true;
    if (normalPhase_ == Phase::Final) finalClaimed_ = false;
    normalPhase_ = Phase::Free;
    lock.unlock();
    changed_.notify_all();
    return {ZelkoWait::TimedOut, {}, false, afterStop};
  }
  ZelkoTaken taken = std::move(normalReady_.front());
  normalReady_.pop_front();
  if (taken.finalAnswer) {
    finalClaimed_ = false;
    normalPhase_ = Phase::Free;
    stopDeadline_.reset();
  } else if (finalClaimed_ && (finalOwed_ || !normalReady_.empty())) {
    // A NAK started the motion: the channel stays with its final answer.
    normalPhase_ = Phase::Final;
  } else if (seriesCommand_) {
    // More answers of the series may follow.
    normalPhase_ = Phase::Series;
  } else {
    normalPhase_ = Phase::Free;
  }
  lock.unlock();
  changed_.notify_all();
  return taken;
}

ZelkoTaken TzelkoCOM_thread::takePriority(std::optional<std::chrono::milliseconds> timeout) {
  std::unique_lock lock(mutex_);
  if (priorityPhase_ == Phase::Free && !priorityReady_) return {};
  std::optional<TimePoint> deadline;
  if (timeout) deadline = std::chrono::steady_clock::now() + *timeout;
  const ZelkoWait waited = waitUntil(lock, deadline, [&] { return priorityReady_.has_value(); });
  if (waited == ZelkoWait::Closed) return {ZelkoWait::Closed, {}, false, false};
  ZelkoTaken taken{waited, {}, false, false};
  if (waited == ZelkoWait::Signalled) {
    taken.answer = std::move(*priorityReady_);
  } else if (state_ == kZelkoPriorityFirst || state_ == kZelkoPriorityRest) {
    partialPriority_ = true;
  }
  priorityReady_.reset();
  priorityPhase_ = Phase::Free;
  lock.unlock();
  changed_.notify_all();
  return taken;
}

void TzelkoCOM_thread::releaseNormalSend() {
  {
    std::lock_guard lock(mutex_);
    if (normalPhase_ == Phase::Answer || normalPhase_ == Phase::Series) normalPhase_ = Phase::Free;
    normalReady_.clear();
  }
  changed_.notify_all();
}

void TzelkoCOM_thread::disownFinal() {
  std::deque<std::string> trace;
  {
    std::lock_guard lock(mutex_);
    finalClaimed_ = false;
    // A final answer that came already goes the way of those that come later.
    for (const auto& ready : normalReady_)
      if (ready.finalAnswer) drop(ready.answer);
    normalReady_.clear();
    if (normalPhase_ == Phase::Final) normalPhase_ = Phase::Free;
    trace.swap(traceLines_);
  }
  changed_.notify_all();
  writeTrace(trace);
}

void TzelkoCOM_thread::boundFinalWait(std::chrono::steady_clock::time_point deadline) {
  {
    std::lock_guard lock(mutex_);
    // The answer of any normal command may be the NAK that starts a motion.
    const bool motionPending = finalOwed_ || normalPhase_ == Phase::Final || normalPhase_ == Phase::Answer;
    if (!motionPending) return;
    if (!stopDeadline_ || deadline < *stopDeadline_) stopDeadline_ = deadline;
  }
  changed_.notify_all();
}

}  // namespace machine
