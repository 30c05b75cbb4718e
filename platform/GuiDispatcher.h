// The hand-over from worker threads to the GUI thread: the models of the windows belong to the
// GUI thread, so a worker never changes them itself. It posts closures that the GUI thread runs
// in order, and asks questions by running a closure there and waiting for it.
//
// Thread context: post and invokeAndWait from any thread; runPending on the GUI thread only.
// invokeAndWait from a worker blocks until the GUI thread has run the closure; on the GUI
// thread it runs the closure at once. The application supplies a Qt implementation; tests a
// queue that the test thread drains.
#pragma once

#include <functional>

namespace platform {

class GuiDispatcher {
 public:
  virtual ~GuiDispatcher() = default;

  // Runs `task` later on the GUI thread, after every closure posted before it.
  virtual void post(std::function<void()> task) = 0;
  // Runs `task` on the GUI thread and returns once it has run. A closure that can no longer
  // run (the dispatcher is going away) releases the caller without having run.
  virtual void invokeAndWait(std::function<void()> task) = 0;
  // GUI thread: runs the closures posted so far now. Used while the GUI thread itself waits for
  // a worker, so that a worker waiting in invokeAndWait is answered instead of deadlocking.
  virtual void runPending() = 0;
};

// For dispatchers: posts `task` through `dispatcher` and blocks the calling (worker) thread until
// the task has run on the GUI thread or has been dropped with the dispatcher's queue.
void postAndWait(GuiDispatcher& dispatcher, std::function<void()> task);

}  // namespace platform
