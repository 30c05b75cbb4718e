// The queue of closures for the test thread and the worker's wait for its closure.
#include "QueueDispatcher.h"

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
  for (;;) {
    drain();
    if (done()) return true;
    std::unique_lock lock(mutex_);
    if (!arrived_.wait_until(lock, deadline, [this] { return !queue_.empty(); })) {
      lock.unlock();
      drain();
      return done();
    }
  }
}

std::size_t QueueDispatcher::pending() const {
  std::lock_guard lock(mutex_);
  return queue_.size();
}

}  // namespace testsupport
