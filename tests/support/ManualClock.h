// Clock double for tests: time stands still until a sleep or advance() moves it, and every
// sleep is recorded, so timing code runs instantly and its waits can be checked.
//
// Thread context: any thread; state behind a mutex.
#pragma once

#include <mutex>
#include <vector>

#include "platform/Clock.h"

namespace testsupport {

class ManualClock final : public platform::Clock {
 public:
  explicit ManualClock(std::int64_t startMicros = 0) : now_(startMicros) {}

  std::int64_t nowMicros() override {
    std::lock_guard lock(mutex_);
    return now_;
  }
  void sleepMicros(std::int64_t micros) override {
    std::lock_guard lock(mutex_);
    sleeps_.push_back(micros);
    if (micros > 0) now_ += micros;
  }
  void advance(std::int64_t micros) {
    std::lock_guard lock(mutex_);
    now_ += micros;
  }
  std::vector<std::int64_t> sleeps() const {
    std::lock_guard lock(mutex_);
    return sleeps_;
  }

 private:
  mutable std::mutex mutex_;
  std::int64_t now_;
  std::vector<std::int64_t> sleeps_;
};

}  // namespace testsupport
