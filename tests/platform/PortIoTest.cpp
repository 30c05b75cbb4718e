// Port access: the ppdev lookup of a base address in the kernel's port list and the reasons a
// claim fails, direct access that touches nothing unclaimed and takes its grant on every thread
// that uses the port; and what the step timing relies on:
// the busy wait of the real clock and real-time scheduling only where the kernel does not throttle
// it.
#include <gtest/gtest.h>
#include <sched.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <latch>
#include <optional>
#include <set>
#include <thread>

#include "platform/Clock.h"
#include "platform/IopermPortIo.h"
#include "platform/PpdevPortIo.h"
#include "platform/ThreadPriority.h"
#include "support/PerThreadPortInstructions.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

class PpdevTree : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_.emplace();
    root_ = folder_->path();
    fs::create_directories(proc());
    fs::create_directories(dev());
    // As the kernel lists them: base and upper base in decimal; "default" is no port.
    port("parport0", "888\t1912\n");
    port("parport1", "632\t1656\n");
    fs::create_directories(proc() / "default");
    // parport1 has a node, but one that takes no ppdev requests.
    std::ofstream(dev() / "parport1") << "";
  }
  void TearDown() override { folder_.reset(); }

  fs::path proc() const { return root_ / "proc"; }
  fs::path dev() const { return root_ / "dev"; }
  void port(const std::string& name, const std::string& baseAddr) {
    fs::create_directories(proc() / name);
    std::ofstream(proc() / name / "base-addr") << baseAddr;
  }

  std::optional<testsupport::TempFolder> folder_;
  fs::path root_;
};

TEST_F(PpdevTree, TheBaseAddressFindsTheNodeOfThePortTheKernelReports) {
  platform::PpdevPortIo io(proc(), dev());
  EXPECT_TRUE(io.initialize());
  EXPECT_EQ(io.deviceFor(0x378), dev() / "parport0");
  EXPECT_EQ(io.deviceFor(0x278), dev() / "parport1");
  EXPECT_FALSE(io.deviceFor(0x3BC));
  EXPECT_FALSE(io.deviceFor(0x778));  // the upper base is no base

  platform::PpdevPortIo none(root_ / "missing", dev());
  EXPECT_FALSE(none.initialize());
  EXPECT_FALSE(none.deviceFor(0x378));
}

TEST_F(PpdevTree, AFailedClaimSaysWhyAndLeavesEveryRegisterUnreachable) {
  platform::PpdevPortIo io(proc(), dev());
  const struct {
    std::uint16_t base;
    std::string reason;
  } cases[] = {
      {0x3BC, "Der Kernel kennt keinen Parallelport mit der Basisadresse 0x3bc."},
      {0x378, (dev() / "parport0").string() + " fehlt: das Kernelmodul ppdev ist nicht geladen (modprobe ppdev)."},
      {0x278, (dev() / "parport1").string() + " lässt sich nicht belegen (Inappropriate ioctl for device)."},
  };
  for (const auto& c : cases) {
    std::string reason;
    EXPECT_FALSE(io.claim(c.base, reason)) << c.base;
    EXPECT_EQ(reason, c.reason);
    std::uint8_t value = 0;
    for (int offset = 0; offset < 3; ++offset) {
      EXPECT_FALSE(io.read(static_cast<std::uint16_t>(c.base + offset), value)) << c.base << "+" << offset;
      EXPECT_FALSE(io.write(static_cast<std::uint16_t>(c.base + offset), 0)) << c.base << "+" << offset;
    }
  }
}

TEST(IopermPortIo, NothingIsTouchedBeforeAClaim) {
  platform::IopermPortIo io;
  std::uint8_t value = 0;
  EXPECT_FALSE(io.read(0x378, value));
  EXPECT_FALSE(io.write(0x378, 0));
  std::string reason;
  EXPECT_FALSE(io.claim(0xFFFE, reason));
  EXPECT_FALSE(reason.empty());
}

TEST(IopermPortIo, EveryThreadTakesItsOwnGrantBeforeItsFirstInstruction) {
  testsupport::PerThreadPortInstructions cpu;
  platform::IopermPortIo io(cpu);
  // The threads stay until the end, so that no thread id is used twice.
  std::latch claimed(1), worked(2), finished(1);
  // One thread waits from before the claim, as the step generator does; the other starts after.
  std::thread::id earlyId, lateId;
  std::thread early([&] {
    earlyId = std::this_thread::get_id();
    claimed.wait();
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(io.write(0x378, static_cast<std::uint8_t>(i)));
    worked.count_down();
    finished.wait();
  });
  std::string reason;
  ASSERT_TRUE(io.claim(0x378, reason)) << reason;
  claimed.count_down();
  std::thread late([&] {
    lateId = std::this_thread::get_id();
    std::uint8_t value = 0;
    EXPECT_TRUE(io.read(0x379, value));
    EXPECT_TRUE(io.read(0x37A, value));
    EXPECT_FALSE(io.write(0x37B, 0));  // no register of the port: no grant, no instruction
    worked.count_down();
    finished.wait();
  });
  worked.wait();
  EXPECT_TRUE(io.write(0x37A, 4));
  const auto self = std::this_thread::get_id();

  EXPECT_EQ(cpu.faults(), 0);
  EXPECT_EQ(cpu.accessingThreads(), (std::set<std::thread::id>{self, earlyId, lateId}));
  // Once per thread, not per access.
  for (const auto& id : {self, earlyId, lateId}) EXPECT_EQ(cpu.grants(id), 1);
  finished.count_down();
  early.join();
  late.join();

  // A new claim needs a new grant on every thread, the claiming one included.
  ASSERT_TRUE(io.claim(0x278, reason)) << reason;
  EXPECT_EQ(cpu.grants(self), 2);
  std::thread again([&] {
    const int before = cpu.grants(std::this_thread::get_id());
    EXPECT_TRUE(io.write(0x278, 1));
    EXPECT_FALSE(io.write(0x378, 1));
    EXPECT_EQ(cpu.grants(std::this_thread::get_id()), before + 1);
  });
  again.join();
  EXPECT_TRUE(io.write(0x278, 2));
  EXPECT_EQ(cpu.grants(self), 2);
  EXPECT_EQ(cpu.faults(), 0);

  // Given back: nothing is touched any more.
  io.shutdown();
  const auto before = cpu.log().size();
  std::uint8_t value = 0;
  EXPECT_FALSE(io.read(0x279, value));
  EXPECT_EQ(cpu.log().size(), before);
}

TEST(IopermPortIo, AThreadWhoseGrantIsRefusedExecutesNoInstruction) {
  testsupport::PerThreadPortInstructions cpu;
  platform::IopermPortIo io(cpu);
  std::string reason;
  ASSERT_TRUE(io.claim(0x378, reason)) << reason;
  std::thread refused([&] {
    cpu.refuse(std::this_thread::get_id());
    std::uint8_t value = 0;
    for (int i = 0; i < 3; ++i) {
      EXPECT_FALSE(io.read(0x379, value));
      EXPECT_FALSE(io.write(0x378, 0));
    }
    // Asked once; the refusal holds for this claim.
    EXPECT_EQ(cpu.grants(std::this_thread::get_id()), 1);
  });
  refused.join();
  EXPECT_EQ(cpu.faults(), 0);
  EXPECT_TRUE(io.write(0x378, 0));

  // A claim refused on the claiming thread says why.
  testsupport::PerThreadPortInstructions locked;
  locked.refuse(std::this_thread::get_id());
  platform::IopermPortIo none(locked);
  EXPECT_FALSE(none.claim(0x378, reason));
  EXPECT_EQ(reason.rfind("Keine Berechtigung für die Portadressen 0x378-0x37a (", 0), 0u) << reason;
  EXPECT_FALSE(none.write(0x378, 0));
  EXPECT_EQ(locked.faults(), 0);
}

TEST(SystemClock, TheBusyWaitReturnsOnlyOnceItsTargetHasPassed) {
  auto& clock = platform::systemClock();
  for (std::int64_t wait : {0, 1'000, 20'000, 250'000}) {
    const std::int64_t target = clock.nowNanos() + wait;
    clock.spinUntilNanos(target);
    EXPECT_GE(clock.nowNanos(), target) << wait;
  }
}

TEST_F(PpdevTree, RealTimeSchedulingIsOnlyTakenWhereTheKernelDoesNotThrottleIt) {
  const struct {
    const char* setting;
    bool unthrottled;
  } cases[] = {{"-1\n", true}, {"950000\n", false}, {"0\n", false}, {"", false}, {"x", false}};
  for (const auto& c : cases) {
    std::ofstream(root_ / "rt_runtime") << c.setting;
    EXPECT_EQ(platform::realtimeUnthrottled(root_ / "rt_runtime"), c.unthrottled) << c.setting;
  }
  EXPECT_FALSE(platform::realtimeUnthrottled(root_ / "missing"));
}

TEST_F(PpdevTree, OnASingleProcessorRealTimeSchedulingIsNeverTaken) {
  // Even where the kernel does not throttle it and the user may have it: the generator's busy
  // wait would keep the GUI thread off the one processor.
  std::ofstream(root_ / "rt_runtime") << "-1\n";
  std::thread pinned([&] {
    cpu_set_t set;
    CPU_ZERO(&set);
    ASSERT_EQ(sched_getaffinity(0, sizeof set, &set), 0);
    int first = 0;
    while (!CPU_ISSET(first, &set)) ++first;
    CPU_ZERO(&set);
    CPU_SET(first, &set);
    ASSERT_EQ(sched_setaffinity(0, sizeof set, &set), 0);
    EXPECT_EQ(platform::usableProcessors(), 1);
    EXPECT_FALSE(platform::tryRealtimePriority(root_ / "rt_runtime"));
    EXPECT_EQ(sched_getscheduler(0), SCHED_OTHER);
  });
  pinned.join();
}

}  // namespace
