// Clock double for tests: time stands still until a sleep, a busy wait or advance() moves it, and
// every sleep is recorded, so timing code runs instantly and its waits can be checked. A busy wait
// jumps to its target without being recorded as a sleep; a wait until a point in time is recorded
// on its own list.
//
// Thread context: any thread; state behind a mutex.
#pragma once

#include <mutex>
#include <vector>

#include "platform/Clock.h"

namespace testsupport {

class ManualClock final : public platform::Clock {
 public:
  explicit ManualClock(std::int64_t startMicros = 0) : nowNanos_(startMicros * 1000) {}

  std::int64_t nowMicros() override {
    std::lock_guard lock(mutex_);
    return nowNanos_ / 1000;
  }
  std::int64_t nowNanos() override {
    std::lock_guard lock(mutex_);
    return nowNanos_;
  }
  void sleepMicros(std::int64_t micros) override {
    std::lock_guard lock(mutex_);
    sleeps_.push_back(micros);
    if (micros > 0) nowNanos_ += micros * 1000;
  }
  void spinUntilNanos(std::int64_t targetNanos) override {
    std::lock_guard lock(mutex_);
    if (targetNanos > nowNanos_) nowNanos_ = targetNanos;
  }
  // A blocking wait for a point in time (the step generator's): recorded apart from the sleeps.
  void sleepUntilNanos(std::int64_t targetNanos) override {
    std::lock_guard lock(mutex_);
    blocks_.push_back({nowNanos_, targetNanos});
    if (targetNanos > nowNanos_) nowNanos_ = targetNanos;
  }
  void advance(std::int64_t micros) {
    std::lock_guard lock(mutex_);
    nowNanos_ += micros * 1000;
  }
  std::vector<std::int64_t> sleeps() const {
    std::lock_guard lock(mutex_);
    return sleeps_;
  }
  struct Block {
    std::int64_t fromNanos;
    std::int64_t untilNanos;
  };
  std::vector<Block> blocks() const {
    std::lock_guard lock(mutex_);
    return blocks_;
  }

 private:
  mutable std::mutex mutex_;
  std::int64_t nowNanos_;
  std::vector<std::int64_t> sleeps_;
  std::vector<Block> blocks_;
};

}  // namespace testsupport
