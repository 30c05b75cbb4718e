// A worker thread that takes one integer command at a time through four auto-reset events:
// Run (the thread has started), Idle (it waits for a command), Cmd (a command was posted) and
// End (the loop has ended). The run, homing and jogging workers are built on it.
//
// Thread context: `start`, `post`, `end` and the destructor are called by the owning (GUI)
// thread; the handler runs on the worker thread. `post` and `end` wait at most 50 ms for Idle;
// `end` then waits without limit for the loop to finish. The destructor blocks until a running
// command has returned, so the owner must make a long command stop first.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "Event.h"

namespace platform {

class CommandWorker {
 public:
  // Called on the worker with each posted command other than 0.
  using Handler = std::function<void(int befehl)>;

  static constexpr std::chrono::milliseconds kIdleWait{50};

  explicit CommandWorker(Handler handler);
  ~CommandWorker();
  CommandWorker(const CommandWorker&) = delete;
  CommandWorker& operator=(const CommandWorker&) = delete;

  // Starts the thread and returns once it has signalled Run.
  void start();
  // Posts a command if the worker becomes idle within 50 ms; false when the post was dropped.
  bool post(int befehl);
  // As post; `accepted` runs on the calling thread once the worker is idle, right before it is
  // given the command, and not at all when the post is dropped.
  bool post(int befehl, const std::function<void()>& accepted);
  // Ends the worker if it is idle within 50 ms: terminate request, command 0, Cmd, then waits
  // for End. False (and nothing ended) when the worker is busy or was never started.
  bool end();
  // True while the thread exists (started and not yet ended).
  bool running() const { return thread_.joinable(); }
  // True once termination was requested; a long command may poll it.
  bool terminateRequested() const { return terminate_.load(); }

 private:
  void execute();

  Handler handler_;
  Event hEventRun_;
  Event hEventIdle_;
  Event hEventCmd_;
  Event hEventEnd_;
  std::atomic<int> befehl_{0};
  std::atomic<bool> terminate_{false};
  std::thread thread_;
};

}  // namespace platform
