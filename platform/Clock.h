// Monotonic time and sleeping, injectable so that timing code runs on a manual clock in tests.
//
// Thread context: any thread. `sleepMicros` blocks the caller (a manual clock only advances).
#pragma once

#include <cstdint>

namespace platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // Microseconds on a monotonic scale with an arbitrary origin.
  virtual std::int64_t nowMicros() = 0;
  virtual void sleepMicros(std::int64_t micros) = 0;

  std::int64_t nowMillis() { return nowMicros() / 1000; }
  void sleepMillis(std::int64_t millis) { sleepMicros(millis * 1000); }
};

// The real monotonic clock; lives for the whole process.
Clock& systemClock();

}  // namespace platform
