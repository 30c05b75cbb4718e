// GuiDispatcher double for tests: the thread that constructs it plays the GUI thread. Posted
// closures wait in a queue until that thread drains it; invokeAndWait from another thread blocks
// until its closure has been drained, and on the GUI thread runs at once.
//
// Thread context: post and invokeAndWait from any thread; drain, drainUntil and runPending on
// the GUI thread only. drainUntil blocks the GUI thread while it waits for closures to arrive,
// never longer than its timeout. Closures still queued at destruction are dropped, which
// releases any worker waiting for one of them.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/GuiDispatcher.h"

namespace testsupport {

class QueueDispatcher final : public platform::GuiDispatcher {
 public:
  QueueDispatcher();
  ~QueueDispatcher() override;
  QueueDispatcher(const QueueDispatcher&) = delete;
  QueueDispatcher& operator=(const QueueDispatcher&) = delete;

  void post(std::function<void()> task) override;
  void invokeAndWait(std::function<void()> task) override;
  void runPending() override { drain(); }

  // Runs every queued closure, those posted meanwhile included; returns how many ran.
  std::size_t drain();
  // Drains, and waits for further closures, until `done` holds after a drain or `timeout` has
  // passed; returns whether `done` held. `done` is evaluated on the GUI thread, after every drain
  // and at least every few milliseconds.
  bool drainUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(20));
  std::size_t pending() const;

 private:
  std::thread::id guiThread_;
  mutable std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<std::function<void()>> queue_;
};

}  // namespace testsupport
