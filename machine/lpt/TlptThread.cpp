// The command hand-over between posters and the generator thread, and its idle loop.
#include "TlptThread.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "platform/ThreadPriority.h"

namespace machine {

namespace {

// The idle thread looks at the clock at least this often while a task is planned: a manual
// clock can move without telling anyone.
constexpr std::chrono::milliseconds kIdlePoll{50};

}  // namespace

TlptThread::TlptThread(StepGenerator& generator, StopRequests& stops, platform::Clock& clock,
                       std::function<LptConfig()> config)
    : generator_(generator), stops_(stops), clock_(clock), config_(std::move(config)) {}

TlptThread::~TlptThread() { Terminate(); }

void TlptThread::Resume() {
  std::unique_lock lock(mutex_);
  if (thread_.joinable()) return;
  terminate_ = false;
  thread_ = std::thread([this] { Execute(); });
  changed_.wait(lock, [this] { return running_; });
}

void TlptThread::Terminate() {
  {
    std::lock_guard lock(mutex_);
    if (!thread_.joinable()) return;
    terminate_ = true;
    if (inFlight_) stops_.immediate = true;
  }
  changed_.notify_all();
  thread_.join();
}

std::optional<GeneratorResult> TlptThread::post(const GeneratorCommand& command,
                                                const std::atomic<bool>* standingStop) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !slotTaken_ || !accepting(); });
  if (!accepting()) return std::nullopt;
  // The stop button sets the program's request before it asks for the generator's stop, which
  // takes this lock: a stop made before this point is seen here, one made after it finds the
  // command in flight.
  if (standingStop != nullptr && standingStop->load()) {
    GeneratorResult notStarted;
    notStarted.outcome = MoveOutcome::NotStarted;
    return notStarted;
  }
  slotTaken_ = true;
  // Requests from before this command belonged to no move that is still running.
  stops_.decelerated = false;
  stops_.immediate = false;
  command_ = command;
  inFlight_ = true;
  const std::uint64_t mine = ++posted_;
  changed_.notify_all();
  changed_.wait(lock, [&] { return done_ >= mine || !running_; });
  std::optional<GeneratorResult> result;
  if (done_ >= mine) result = result_;
  slotTaken_ = false;
  changed_.notify_all();
  return result;
}

void TlptThread::requestDeceleratedStop() {
  std::lock_guard lock(mutex_);
  if (inFlight_) stops_.decelerated = true;
}

void TlptThread::requestImmediateStop() {
  std::lock_guard lock(mutex_);
  if (inFlight_) stops_.immediate = true;
}

void TlptThread::scheduleIdleTask(std::int64_t atNanos, std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    idleAt_ = atNanos;
    idleTask_ = std::move(task);
  }
  changed_.notify_all();
}

void TlptThread::cancelIdleTask() {
  std::lock_guard lock(mutex_);
  idleTask_ = nullptr;
}

void TlptThread::Execute() {
  // Steps are timed by busy waiting; real-time scheduling, where the kernel grants it without
  // forced pauses and leaves a processor to the other threads, keeps them from cutting in. The
  // generator then gives up its processor now and then itself.
  generator_.setRealtime(platform::tryRealtimePriority());
  std::unique_lock lock(mutex_);
  running_ = true;
  changed_.notify_all();
  for (;;) {
    if (done_ < posted_) {
      const GeneratorCommand command = command_;
      lock.unlock();
      const GeneratorResult result = generator_.Befehl_ausfuehren(command, config_());
      lock.lock();
      result_ = result;
      inFlight_ = false;
      stops_.decelerated = false;
      stops_.immediate = false;
      ++done_;
      changed_.notify_all();
      continue;
    }
    if (terminate_) break;
    if (idleTask_) {
      const std::int64_t waitNanos = idleAt_ - clock_.nowNanos();
      if (waitNanos <= 0) {
        auto task = std::move(idleTask_);
        idleTask_ = nullptr;
        lock.unlock();
        task();
        lock.lock();
        continue;
      }
      const auto wait = std::min<std::chrono::nanoseconds>(std::chrono::nanoseconds(waitNanos), kIdlePoll);
      changed_.wait_for(lock, wait);
    } else {
      changed_.wait(lock);
    }
  }
  running_ = false;
  changed_.notify_all();
}

}  // namespace machine
