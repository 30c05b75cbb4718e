// The queue of closures for the test thread and the worker's wait for its closure.
#include "QueueDispatcher.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace testsupport {

QueueDispatcher::QueueDispatcher() : guiThread_(std::this_thread::get_id()) {}

QueueDispatcher::~QueueDispatcher() {
  std::deque<std::function<void()>> dropped;
  std::lock_guard lock(mutex_);
  dropped.swap(queue_);
}

void QueueDispatcher::post(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(task));
  }
  arrived_.notify_all();
}

void QueueDispatcher::invokeAndWait(std::function<void()> task) {
  if (std::this_thread::get_id() == guiThread_) {
    task();
    return;
  }
  platform::postAndWait(*this, std::move(task));
}

std::size_t QueueDispatcher::drain() {
  std::size_t ran = 0;
  for (;;) {
    std::function<void()> task;
    {
      std::lock_guard lock(mutex_);
      if (queue_.empty()) return ran;
      task = std::move(queue_.front());
      queue_.pop_front();
    }
    task();
    ++ran;
  }
}

bool QueueDispatcher::drainUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  // `done` may hang on state another thread changes without posting anything (a worker's result,
  // say), so the wait for a closure is cut into slices after each of which `done` is asked again.
  constexpr auto kSlice = std::chrono::milliseconds(5);
  for (;;) {
    drain();
    if (done()) return true;
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) return false;
    std::unique_lock lock(mutex_);
    arrived_.wait_until(lock, std::min(deadline, now + kSlice), [this] { return !queue_.empty(); });
  }
}

std::size_t QueueDispatcher::pending() const {
  std::lock_guard lock(mutex_);
  return queue_.size();
}

}  // namespace testsupport
