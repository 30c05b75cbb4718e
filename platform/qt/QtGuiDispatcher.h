// The GUI thread's dispatcher on Qt's event loop. Posted closures wait in the dispatcher's own
// queue; each post also posts an event to a receiver on the GUI thread, which runs the oldest
// waiting closure. The closures themselves never travel through Qt's queue, so their hand-over
// is ordered by the dispatcher's own mutex.
//
// Thread context: create and destroy it on the GUI thread after the QApplication exists; post
// and invokeAndWait from any thread, runPending on the GUI thread. Closures run in posting
// order, also when a closure opens a modal box (its nested event loop runs the next ones). A
// closure that throws is stopped at the dispatcher (its failure is written to the standard error
// stream) so that nothing crosses into Qt. Closures still queued when the dispatcher is destroyed
// are dropped; a worker waiting for one of them is released.
#pragma once

#include <QObject>
#include <deque>
#include <memory>
#include <mutex>

#include "platform/GuiDispatcher.h"

namespace platform {

class QtGuiDispatcher final : public GuiDispatcher {
 public:
  QtGuiDispatcher();
  ~QtGuiDispatcher() override;
  QtGuiDispatcher(const QtGuiDispatcher&) = delete;
  QtGuiDispatcher& operator=(const QtGuiDispatcher&) = delete;

  void post(std::function<void()> task) override;
  void invokeAndWait(std::function<void()> task) override;
  void runPending() override;

 private:
  // Runs the oldest waiting closure, if any; false when none was waiting.
  bool runOne();

  std::unique_ptr<QObject> receiver_;
  int eventType_ = 0;
  std::mutex mutex_;
  std::deque<std::function<void()>> queue_;
};

}  // namespace platform
