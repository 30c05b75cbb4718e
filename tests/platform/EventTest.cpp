// Auto-reset and manual-reset events with timed waits.
#include <gtest/gtest.h>

#include <thread>

#include "platform/Event.h"

using namespace std::chrono_literals;
using platform::WaitResult;

namespace {

TEST(Event, TimedWaitOnAnUnsignalledEventTimesOut) {
  platform::Event event;
  EXPECT_EQ(event.wait(5ms), WaitResult::Timeout);
}

TEST(Event, AutoResetEventWakesExactlyOneWait) {
  platform::Event event;
  event.set();
  event.set();  // a second set before a wait does not count twice
  EXPECT_EQ(event.wait(0ms), WaitResult::Signalled);
  EXPECT_EQ(event.wait(0ms), WaitResult::Timeout);
}

TEST(Event, ManualResetEventStaysSignalledUntilReset) {
  platform::Event event(true);
  event.set();
  EXPECT_EQ(event.wait(0ms), WaitResult::Signalled);
  EXPECT_EQ(event.wait(0ms), WaitResult::Signalled);
  event.reset();
  EXPECT_EQ(event.wait(0ms), WaitResult::Timeout);
}

TEST(Event, ResetDropsAPendingSignal) {
  platform::Event event(false, true);
  EXPECT_TRUE(event.isSet());
  event.reset();
  EXPECT_FALSE(event.isSet());
  EXPECT_EQ(event.wait(0ms), WaitResult::Timeout);
}

TEST(Event, ASetFromAnotherThreadWakesAnUnlimitedWait) {
  platform::Event ready;
  platform::Event go;
  std::thread other([&] {
    ready.set();
    go.set();
  });
  ready.wait();
  EXPECT_EQ(go.wait(10s), WaitResult::Signalled);
  other.join();
}

}  // namespace
