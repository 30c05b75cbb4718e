// The steady-clock implementation of Clock, with a busy wait for the step timing.
#include "Clock.h"

#include <time.h>

#include <cerrno>
#include <chrono>
#include <thread>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace platform {

namespace {

// Tells the processor that this is a spin loop: it saves power and frees the sibling hyperthread
// without giving up the time slice.
inline void spinPause() {
#if defined(__x86_64__) || defined(__i386__)
  _mm_pause();
#elif defined(__aarch64__)
  asm volatile("yield");
#endif
}

class SystemClock final : public Clock {
 public:
  std::int64_t nowMicros() override {
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  void sleepMicros(std::int64_t micros) override {
    if (micros > 0) std::this_thread::sleep_for(std::chrono::microseconds(micros));
  }
  std::int64_t nowNanos() override {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  void spinUntilNanos(std::int64_t targetNanos) override {
    while (nowNanos() < targetNanos) spinPause();
  }
  void sleepUntilNanos(std::int64_t targetNanos) override {
    // An absolute wake-up time on the clock steady_clock reads: no drift from the time it takes
    // to get here, and a signal that interrupts the sleep does not lengthen it.
    timespec until{};
    until.tv_sec = static_cast<time_t>(targetNanos / 1'000'000'000);
    until.tv_nsec = static_cast<long>(targetNanos % 1'000'000'000);
    while (targetNanos > 0 && clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
  }
};

}  // namespace

void Clock::spinUntilNanos(std::int64_t targetNanos) {
  const std::int64_t remaining = targetNanos - nowNanos();
  if (remaining > 0) sleepMicros((remaining + 999) / 1000);
}

void Clock::sleepUntilNanos(std::int64_t targetNanos) {
  const std::int64_t remaining = targetNanos - nowNanos();
  if (remaining > 0) sleepMicros((remaining + 999) / 1000);
}

Clock& systemClock() {
  static SystemClock clock;
  return clock;
}

}  // namespace platform
