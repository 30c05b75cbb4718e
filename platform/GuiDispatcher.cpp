// The wait of a worker for a closure it posted to the GUI thread.
#include "GuiDispatcher.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <utility>

namespace platform {

namespace {

class Completion {
 public:
  void finish() {
    {
      std::lock_guard lock(mutex_);
      done_ = true;
    }
    cv_.notify_all();
  }
  void wait() {
    std::unique_lock lock(mutex_);
    cv_.wait(lock, [this] { return done_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool done_ = false;
};

// Releases the waiting worker when the last copy of its closure goes, run or dropped.
class CompletionGuard {
 public:
  explicit CompletionGuard(std::shared_ptr<Completion> completion) : completion_(std::move(completion)) {}
  ~CompletionGuard() { completion_->finish(); }
  CompletionGuard(const CompletionGuard&) = delete;
  CompletionGuard& operator=(const CompletionGuard&) = delete;

 private:
  std::shared_ptr<Completion> completion_;
};

}  // namespace

void postAndWait(GuiDispatcher& dispatcher, std::function<void()> task) {
  auto completion = std::make_shared<Completion>();
  {
    auto guard = std::make_shared<CompletionGuard>(completion);
    dispatcher.post([task = std::move(task), guard] { task(); });
  }
  completion->wait();
}

}  // namespace platform
