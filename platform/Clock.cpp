// The steady-clock implementation of Clock.
#include "Clock.h"

#include <chrono>
#include <thread>

namespace platform {

namespace {

class SystemClock final : public Clock {
 public:
  std::int64_t nowMicros() override {
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  void sleepMicros(std::int64_t micros) override {
    if (micros > 0) std::this_thread::sleep_for(std::chrono::microseconds(micros));
  }
};

}  // namespace

Clock& systemClock() {
  static SystemClock clock;
  return clock;
}

}  // namespace platform
