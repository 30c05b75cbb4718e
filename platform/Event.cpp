// Event over a mutex and a condition variable.
#include "Event.h"

namespace platform {

Event::Event(bool manualReset, bool initiallySet) : manualReset_(manualReset), signalled_(initiallySet) {}

void Event::set() {
  {
    std::lock_guard lock(mutex_);
    signalled_ = true;
  }
  // All waiters wake; for an auto-reset event only the first to take the lock consumes it.
  cv_.notify_all();
}

void Event::reset() {
  std::lock_guard lock(mutex_);
  signalled_ = false;
}

WaitResult Event::wait(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  if (!cv_.wait_for(lock, timeout, [this] { return signalled_; })) return WaitResult::Timeout;
  if (!manualReset_) signalled_ = false;
  return WaitResult::Signalled;
}

void Event::wait() {
  std::unique_lock lock(mutex_);
  cv_.wait(lock, [this] { return signalled_; });
  if (!manualReset_) signalled_ = false;
}

bool Event::isSet() const {
  std::lock_guard lock(mutex_);
  return signalled_;
}

}  // namespace platform
