// A waitable event, auto-reset by default: a successful wait consumes the signal.
//
// Thread context: any thread may set, reset or wait. Waits block the caller until the event is
// signalled or the timeout has run out. The event is owned by whoever constructs it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace platform {

enum class WaitResult { Signalled, Timeout };

class Event {
 public:
  explicit Event(bool manualReset = false, bool initiallySet = false);
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;

  void set();
  void reset();
  // Waits at most `timeout`; an auto-reset event is unsignalled again after a Signalled result.
  WaitResult wait(std::chrono::milliseconds timeout);
  // Waits without limit.
  void wait();
  // True when signalled, without consuming the signal.
  bool isSet() const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable cv_;
  bool manualReset_;
  bool signalled_;
};

}  // namespace platform
