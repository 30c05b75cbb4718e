// Monotonic time, sleeping and busy waiting, injectable so that timing code runs on a manual
// clock in tests.
//
// Thread context: any thread. `sleepMicros` and `sleepUntilNanos` block the caller;
// `spinUntilNanos` keeps the caller busy without giving up the processor. A manual clock only advances, so neither
// waits there.
#pragma once

#include <cstdint>

namespace platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // Microseconds on a monotonic scale with an arbitrary origin.
  virtual std::int64_t nowMicros() = 0;
  virtual void sleepMicros(std::int64_t micros) = 0;
  // Nanoseconds on the same scale, for timing finer than a microsecond (step pulses).
  virtual std::int64_t nowNanos() { return nowMicros() * 1000; }
  // Returns once nowNanos() has reached `targetNanos`. The real clock spins on the processor, so
  // that the return comes within a fraction of a microsecond; this default merely sleeps.
  virtual void spinUntilNanos(std::int64_t targetNanos);
  // Blocks until nowNanos() has reached `targetNanos`, giving up the processor meanwhile; the real
  // clock wakes at that time as closely as the scheduler allows. This default sleeps whole
  // microseconds.
  virtual void sleepUntilNanos(std::int64_t targetNanos);

  std::int64_t nowMillis() { return nowMicros() / 1000; }
  void sleepMillis(std::int64_t millis) { sleepMicros(millis * 1000); }
};

// The real monotonic clock; lives for the whole process.
Clock& systemClock();

}  // namespace platform
