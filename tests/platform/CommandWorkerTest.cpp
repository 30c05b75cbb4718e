// The command worker's protocol: one command at a time, posts dropped when busy, ending only
// when idle.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/CommandWorker.h"

using namespace std::chrono_literals;

namespace {

// Records the commands and the threads they ran on; a command can be held until released.
class Recorder {
 public:
  void run(int befehl) {
    {
      std::lock_guard lock(mutex_);
      commands_.push_back(befehl);
      threads_.push_back(std::this_thread::get_id());
    }
    started.set();
    if (befehl == kHold) release.wait();
    finished.set();
  }
  std::vector<int> commands() {
    std::lock_guard lock(mutex_);
    return commands_;
  }
  std::vector<std::thread::id> threads() {
    std::lock_guard lock(mutex_);
    return threads_;
  }

  static constexpr int kHold = 99;
  platform::Event started;
  platform::Event finished;
  platform::Event release;

 private:
  std::mutex mutex_;
  std::vector<int> commands_;
  std::vector<std::thread::id> threads_;
};

TEST(CommandWorker, RunsPostedCommandsInOrderOnItsOwnThread) {
  Recorder rec;
  platform::CommandWorker worker([&](int b) { rec.run(b); });
  worker.start();
  for (int b : {2, 1, 7}) {
    ASSERT_TRUE(worker.post(b));
    ASSERT_EQ(rec.finished.wait(10s), platform::WaitResult::Signalled);
  }
  EXPECT_EQ(rec.commands(), (std::vector<int>{2, 1, 7}));
  for (auto id : rec.threads()) EXPECT_NE(id, std::this_thread::get_id());
  EXPECT_TRUE(worker.end());
  EXPECT_FALSE(worker.running());
}

TEST(CommandWorker, APostWhileBusyIsDroppedAndTheRunGoesOn) {
  Recorder rec;
  platform::CommandWorker worker([&](int b) { rec.run(b); });
  worker.start();
  ASSERT_TRUE(worker.post(Recorder::kHold));
  ASSERT_EQ(rec.started.wait(10s), platform::WaitResult::Signalled);

  const auto before = std::chrono::steady_clock::now();
  EXPECT_FALSE(worker.post(2));
  EXPECT_GE(std::chrono::steady_clock::now() - before, 45ms);  // it did wait for Idle first
  EXPECT_FALSE(worker.end());                                  // busy: not ended
  EXPECT_TRUE(worker.running());

  rec.release.set();
  ASSERT_EQ(rec.finished.wait(10s), platform::WaitResult::Signalled);
  EXPECT_TRUE(worker.end());
  EXPECT_EQ(rec.commands(), std::vector<int>{Recorder::kHold});
}

TEST(CommandWorker, CommandZeroDoesNothing) {
  Recorder rec;
  platform::CommandWorker worker([&](int b) { rec.run(b); });
  worker.start();
  ASSERT_TRUE(worker.post(0));
  ASSERT_TRUE(worker.post(3));  // accepted only once the loop is idle again after command 0
  ASSERT_EQ(rec.finished.wait(10s), platform::WaitResult::Signalled);
  EXPECT_EQ(rec.commands(), std::vector<int>{3});
}

TEST(CommandWorker, NothingIsPostedOrEndedBeforeStart) {
  platform::CommandWorker worker([](int) {});
  EXPECT_FALSE(worker.post(1));
  EXPECT_FALSE(worker.end());
}

TEST(CommandWorker, DestroyingABusyWorkerWaitsForTheRunningCommand) {
  platform::Event started;
  std::atomic<bool> done{false};
  {
    platform::CommandWorker* self = nullptr;
    platform::CommandWorker worker([&](int) {
      started.set();
      // A long command that ends once termination is requested, as a run ends on a stop.
      while (!self->terminateRequested()) std::this_thread::yield();
      done = true;
    });
    self = &worker;
    worker.start();
    ASSERT_TRUE(worker.post(1));
    ASSERT_EQ(started.wait(10s), platform::WaitResult::Signalled);
  }
  EXPECT_TRUE(done.load());
}

}  // namespace
