// The receiver loop with its answer states, and both sides of the answer hand-over.
#include "ZelkoComReceiver.h"

#include <algorithm>
#include <cassert>
#include <cstdint>

#include "TraceLog.h"

namespace machine {

namespace {

constexpr char kAt = '@';
constexpr std::int64_t kStopAnswerPauseMs = 10;

bool endsNormalAnswer(char c) {
  return c == kZelkoStx || c == kZelkoEtx || c == kZelkoAck || c == kZelkoBel || c == kZelkoCr || c == kZelkoNak;
}

void store(std::string& answer, char c, std::size_t limit) {
  if (answer.size() < limit) answer.push_back(c);
}

bool isStopAnswer(const std::string& answer) { return answer.compare(0, 4, std::string("@RS") + kZelkoAck) == 0; }

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
  {
    std::lock_guard lock(mutex_);
    state_ = kZelkoIdle;
  }
  // Waking the hand-over events first frees a loop that waits for a taker; the wake descriptor
  // then ends its read.
  close(false);
  port_->wakeReader();
  if (thread_.joinable()) {
    hEventThreadEnd.wait();
    thread_.join();
  }
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
  }
  // Every waiter wakes, finds the link closed and passes the wake on to the next one.
  hEventRxSend.set();
  hEventRxSend_MB.set();
  hEventRxCompl.set();
  hEventRxCompl_MB.set();
  hEventRxContinue.set();
  hEventRxContinue_MB.set();
}

void TzelkoCOM_thread::Execute() {
  {
    std::lock_guard lock(mutex_);
    state_ = kZelkoIdle;
    savedState_ = kZelkoIdle;
  }
  hEventThreadRun.set();
  hEventRxSend.set();
  hEventRxSend_MB.set();

  while (!terminate_.load()) {
    char c = 0;
    const platform::SerialRead read = port_->readByte(c);
    // Only stop() wakes the read, and from then on every read is woken.
    if (read == platform::SerialRead::Woken) break;
    if (read == platform::SerialRead::HangUp) {
      // A vanished adapter or a closed line keeps reporting end of file; waiting on it would
      // spin, so the link is marked broken and every waiter fails.
      Protokoll_schreiben("TzelkoCOM_thread :: Verbindung unterbrochen");
      close(true);
      break;
    }
    std::unique_lock lock(mutex_);
    handleByte(c, lock);
  }
  hEventThreadEnd.set();
}

void TzelkoCOM_thread::handleByte(char c, std::unique_lock<std::mutex>& lock) {
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
        handOverNormal(lock);
      } else if (c == kZelkoNak) {
        // The motion has started; its final answer follows. The state is set before the
        // hand-over so that a new command sent meanwhile can reset it.
        state_ = kZelkoRest;
        savedState_ = kZelkoRest;
        handOverNormal(lock);
        normalAnswer_.clear();
      } else {
        state_ = kZelkoRest;
      }
      break;
    case kZelkoRest:
      store(normalAnswer_, c, kZelkoNormalAnswerMax);
      if (endsNormalAnswer(c)) {
        state_ = kZelkoIdle;
        handOverNormal(lock);
      }
      break;
    case kZelkoPriorityFirst:
      priorityAnswer_.clear();
      store(priorityAnswer_, c, kZelkoPriorityAnswerMax);
      state_ = kZelkoPriorityRest;
      break;
    case kZelkoPriorityRest:
      store(priorityAnswer_, c, kZelkoPriorityAnswerMax);
      if (c == kZelkoAck || c == kZelkoBel) {
        handOverPriority(lock);
        if (isStopAnswer(priorityAnswer_) && savedState_ == kZelkoRest) {
          // A reset or stop ends a running move without its final answer; the move's waiter gets
          // the answer so far with "!" instead.
          lock.unlock();
          clock_.sleepMillis(kStopAnswerPauseMs);
          lock.lock();
          state_ = kZelkoIdle;
          store(normalAnswer_, '!', kZelkoNormalAnswerMax);
          handOverNormal(lock);
        } else {
          state_ = savedState_;
        }
      }
      break;
    default:
      break;
  }
}

void TzelkoCOM_thread::handOverNormal(std::unique_lock<std::mutex>& lock) {
  if (closed_) return;
  if (normalAbandoned_) {
    // Its taker has given up; handing it to the next command would put answers out of step.
    const std::string dropped = normalAnswer_;
    lock.unlock();
    Protokoll_schreiben("TzelkoCOM_thread :: Antwort verworfen: " + dropped);
    lock.lock();
    return;
  }
  normalOffered_ = true;
  hEventRxCompl.set();
  lock.unlock();
  hEventRxContinue.wait();
  lock.lock();
}

void TzelkoCOM_thread::handOverPriority(std::unique_lock<std::mutex>& lock) {
  if (closed_) return;
  if (priorityAbandoned_) {
    const std::string dropped = priorityAnswer_;
    lock.unlock();
    Protokoll_schreiben("TzelkoCOM_thread :: Antwort verworfen: " + dropped);
    lock.lock();
    return;
  }
  priorityOffered_ = true;
  hEventRxCompl_MB.set();
  lock.unlock();
  hEventRxContinue_MB.wait();
  lock.lock();
}

ZelkoWait TzelkoCOM_thread::waitOn(platform::Event& event,
                                   std::optional<std::chrono::steady_clock::time_point> deadline) {
  bool signalled = true;
  if (deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - std::chrono::steady_clock::now());
    signalled = event.wait(std::max(left, std::chrono::milliseconds(0))) == platform::WaitResult::Signalled;
  } else {
    event.wait();
  }
  std::lock_guard lock(mutex_);
  if (closed_) {
    event.set();
    return ZelkoWait::Closed;
  }
  return signalled ? ZelkoWait::Signalled : ZelkoWait::TimedOut;
}

ZelkoWait TzelkoCOM_thread::waitSend(bool priority, std::chrono::milliseconds timeout) {
  return waitOn(priority ? hEventRxSend_MB : hEventRxSend, std::chrono::steady_clock::now() + timeout);
}

bool TzelkoCOM_thread::prepareSend(bool priority) {
  std::lock_guard lock(mutex_);
  if (closed_) return false;
  hEventRxSend.reset();
  hEventRxSend_MB.reset();
  const bool otherAwaited = priority ? normalAwaited_ : priorityAwaited_;
  if (!otherAwaited) {
    // Nothing is outstanding on the other channel: the command starts on a clean line, without
    // stale bytes in the buffer, half an answer in the receiver or an answer nobody asked for.
    discardNormalOffer();
    discardPriorityOffer();
    state_ = kZelkoIdle;
    savedState_ = kZelkoIdle;
    normalAnswer_.clear();
    priorityAnswer_.clear();
    port_->purgeInput();
  } else if (priority) {
    // A move waits for its final answer, which may already be in the buffer: only the '@' channel
    // starts afresh.
    discardPriorityOffer();
    if (state_ == kZelkoPriorityFirst || state_ == kZelkoPriorityRest) state_ = savedState_;
    priorityAnswer_.clear();
  } else {
    discardNormalOffer();
    if (state_ == kZelkoFirstByte || state_ == kZelkoRest) {
      state_ = kZelkoIdle;
    } else if (state_ == kZelkoPriorityFirst || state_ == kZelkoPriorityRest) {
      savedState_ = kZelkoIdle;
    }
    normalAnswer_.clear();
  }
  if (priority) {
    priorityAbandoned_ = false;
    priorityAwaited_ = true;
  } else {
    normalAbandoned_ = false;
    normalAwaited_ = true;
    finalPending_ = false;
  }
  return true;
}

void TzelkoCOM_thread::discardNormalOffer() {
  if (!normalOffered_) return;
  normalOffered_ = false;
  hEventRxCompl.reset();
  hEventRxContinue.set();
}

void TzelkoCOM_thread::discardPriorityOffer() {
  if (!priorityOffered_) return;
  priorityOffered_ = false;
  hEventRxCompl_MB.reset();
  hEventRxContinue_MB.set();
}

void TzelkoCOM_thread::releaseAfterNormal(bool nak) {
  hEventRxContinue.set();
  // While an '@' answer is outstanding its taker releases both channels.
  if (priorityAwaited_) return;
  if (!nak) hEventRxSend.set();
  hEventRxSend_MB.set();
}

void TzelkoCOM_thread::releaseAfterPriority() {
  hEventRxContinue_MB.set();
  hEventRxSend_MB.set();
  // During a move normal commands wait for its final answer.
  if (!normalAwaited_) hEventRxSend.set();
}

ZelkoTaken TzelkoCOM_thread::takeNormal(std::optional<std::chrono::milliseconds> timeout) {
  std::optional<std::chrono::steady_clock::time_point> deadline;
  if (timeout) deadline = std::chrono::steady_clock::now() + *timeout;
  for (;;) {
    const ZelkoWait waited = waitOn(hEventRxCompl, deadline);
    if (waited == ZelkoWait::Closed) return {ZelkoWait::Closed, {}, false};
    std::lock_guard lock(mutex_);
    // Signalled for an offer that a new command has discarded meanwhile: wait on.
    if (waited == ZelkoWait::Signalled && !normalOffered_) continue;
    if (normalOffered_) {
      // An answer offered just as the time ran out is still taken.
      if (waited == ZelkoWait::TimedOut) hEventRxCompl.reset();
      ZelkoTaken taken{ZelkoWait::Signalled, normalAnswer_, finalPending_};
      normalOffered_ = false;
      const bool nak = !taken.answer.empty() && taken.answer.back() == kZelkoNak;
      finalPending_ = nak;
      normalAwaited_ = nak;
      releaseAfterNormal(nak);
      return taken;
    }
    normalAbandoned_ = true;
    normalAwaited_ = false;
    finalPending_ = false;
    hEventRxSend.set();
    if (!priorityAwaited_) hEventRxSend_MB.set();
    return {ZelkoWait::TimedOut, {}, false};
  }
}

ZelkoTaken TzelkoCOM_thread::takePriority(std::optional<std::chrono::milliseconds> timeout) {
  std::optional<std::chrono::steady_clock::time_point> deadline;
  if (timeout) deadline = std::chrono::steady_clock::now() + *timeout;
  for (;;) {
    const ZelkoWait waited = waitOn(hEventRxCompl_MB, deadline);
    if (waited == ZelkoWait::Closed) return {ZelkoWait::Closed, {}, false};
    std::lock_guard lock(mutex_);
    if (waited == ZelkoWait::Signalled && !priorityOffered_) continue;
    if (priorityOffered_) {
      if (waited == ZelkoWait::TimedOut) hEventRxCompl_MB.reset();
      ZelkoTaken taken{ZelkoWait::Signalled, priorityAnswer_, false};
      priorityOffered_ = false;
      priorityAwaited_ = false;
      releaseAfterPriority();
      return taken;
    }
    priorityAbandoned_ = true;
    priorityAwaited_ = false;
    hEventRxSend_MB.set();
    if (!normalAwaited_) hEventRxSend.set();
    return {ZelkoWait::TimedOut, {}, false};
  }
}

void TzelkoCOM_thread::releaseNormalSend() { hEventRxSend.set(); }

}  // namespace machine
