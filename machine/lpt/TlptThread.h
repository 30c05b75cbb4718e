// The generator thread of the parallel port: it takes one command at a time (a homing run of one
// axis or a vector move), runs it on the step generator while the poster waits, and hands the
// result back. While idle it runs the one planned idle task once its time has come (the holding
// current of the phase-pattern card), so that nothing else ever writes the port while it steps.
//
// Thread context: post blocks the calling thread until its command has been executed; a second
// poster waits until the first has its result. The stop requests and the idle task may be set
// from any thread and never block. Terminate ends a running command at once and waits for the
// thread. A stop request made while no command is in flight is void here: it must not cut short
// a later, unrelated move. The program's own stop request, which stands until a move finds it, is
// the caller's; post looks at it under the same lock as the stop requests, so that a stop is
// either found before the command starts or reaches the running command. The generator, the stop
// requests and the clock must outlive the thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "machine/lpt/StepGenerator.h"

namespace machine {

class TlptThread {
 public:
  // `config` gives the configuration in force; it is taken at the start of every command.
  TlptThread(StepGenerator& generator, StopRequests& stops, platform::Clock& clock, std::function<LptConfig()> config);
  ~TlptThread();
  TlptThread(const TlptThread&) = delete;
  TlptThread& operator=(const TlptThread&) = delete;

  // Starts the thread and returns once it runs and takes commands.
  void Resume();
  // Stops a running command at once, lets the thread end and waits for it; later posts fail.
  void Terminate();

  // Runs `command` and returns its result; nullopt when the thread does not take commands. When
  // `standingStop` is set as the command would start, nothing runs and the result is NotStarted.
  std::optional<GeneratorResult> post(const GeneratorCommand& command, const std::atomic<bool>* standingStop = nullptr);

  void requestDeceleratedStop();
  void requestImmediateStop();

  // Runs `task` on the generator thread once the clock has reached `atNanos` and no command is in
  // flight; replaces a task planned before. The task must not post.
  void scheduleIdleTask(std::int64_t atNanos, std::function<void()> task);
  void cancelIdleTask();

 private:
  void Execute();
  bool accepting() const { return running_ && !terminate_; }

  StepGenerator& generator_;
  StopRequests& stops_;
  platform::Clock& clock_;
  std::function<LptConfig()> config_;

  std::mutex mutex_;
  std::condition_variable changed_;
  bool running_ = false;
  bool terminate_ = false;
  bool slotTaken_ = false;  // a poster holds the command slot
  bool inFlight_ = false;   // a command is posted and not yet done
  std::uint64_t posted_ = 0;
  std::uint64_t done_ = 0;
  GeneratorCommand command_;
  GeneratorResult result_;
  std::int64_t idleAt_ = 0;
  std::function<void()> idleTask_;
  std::thread thread_;
};

}  // namespace machine
