// Rig for downloads against the simulated controller: the simulator on a pseudo-terminal named
// by a "COMn" port, a manual clock for the protocol's pauses, a reporter that records the status
// texts and boxes, short deadlines, and a scratch folder for HEX files.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "BootSim.h"
#include "HexText.h"
#include "download/DownloadFlow.h"
#include "support/ManualClock.h"

namespace downloadtest {

struct Message {
  std::string text;
  std::string caption;
  platform::MsgIcon icon = platform::MsgIcon::None;
};

class RecordingReporter final : public download::DownloadReporter {
 public:
  void status(const std::string& text) override {
    std::lock_guard lock(mutex_);
    statuses_.push_back(text);
  }
  void message(const std::string& text, const std::string& caption, platform::MsgIcon icon) override {
    std::lock_guard lock(mutex_);
    messages_.push_back(Message{text, caption, icon});
  }
  std::vector<std::string> statuses() const {
    std::lock_guard lock(mutex_);
    return statuses_;
  }
  std::vector<Message> messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
  }
  void clear() {
    std::lock_guard lock(mutex_);
    statuses_.clear();
    messages_.clear();
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> statuses_;
  std::vector<Message> messages_;
};

// A manual clock that calls `settle`, then `onSleep`, before each pause, on the thread that
// pauses.
class HookClock final : public platform::Clock {
 public:
  std::int64_t nowMicros() override { return clock_.nowMicros(); }
  void sleepMicros(std::int64_t micros) override {
    if (settle) settle();
    if (onSleep) onSleep(micros);
    clock_.sleepMicros(micros);
  }
  std::function<void()> settle;
  std::function<void(std::int64_t)> onSleep;

 private:
  testsupport::ManualClock clock_;
};

// Deadlines short enough for the tests, long enough for a loaded machine.
inline download::BootTiming testTiming() {
  download::BootTiming t;
  t.wakeCycles = 2;
  t.probeAnswer = std::chrono::milliseconds(20);
  t.bootProbes = 5;
  t.answer = std::chrono::milliseconds(1000);
  t.quiet = std::chrono::milliseconds(10);
  t.rowAttempts = 3;
  t.configAttempts = 3;
  return t;
}

// A dsPIC33FJ256GP710: family 1, 512 instructions per row, eight configuration registers.
inline peers::BootSim::Options family1() {
  peers::BootSim::Options o;
  o.family = 1;
  o.id = 0x00FF;
  o.revision = 3;
  return o;
}

class BootRig {
 public:
  static constexpr const char* kPort = "COM201";

  explicit BootRig(peers::BootSim::Options options = {}) : sim(std::move(options)) {
    ::setenv("VELTRIS_COM201", sim.devicePath().c_str(), 1);
    // The protocol's pauses give a real device time to take what was sent; on the manual clock
    // they pass at once, so each waits until the simulator has read every byte written.
    clock.settle = [this] { sim.waitForBytes(link.bytesWritten(), std::chrono::seconds(10)); };
    std::string pattern = (std::filesystem::temp_directory_path() / "ranvik-test-XXXXXX").string();
    folder = ::mkdtemp(pattern.data());
  }
  ~BootRig() {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
  BootRig(const BootRig&) = delete;
  BootRig& operator=(const BootRig&) = delete;

  std::filesystem::path write(const std::string& name, const std::string& text) const {
    const auto path = folder / name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  download::DownloadResult run(const std::filesystem::path& file, const std::string& port = kPort) {
    return download::runDownload(download::DownloadRequest{port, file}, link, clock, reporter, timing);
  }

  std::vector<std::string> statuses() const { return reporter.statuses(); }
  std::vector<Message> messages() const { return reporter.messages(); }
  // The bootloader was told to start the firmware. The utility does not wait for that byte to
  // arrive, so this waits for it a while.
  bool leftBootloader() const {
    return sim.waitFor(
        [](const std::vector<peers::BootFrame>& f) {
          return !f.empty() && f.back().kind == peers::BootFrame::Kind::Leave;
        },
        std::chrono::seconds(10));
  }
  bool anyRowWritten() const {
    return !sim.frames(peers::BootFrame::Kind::WriteProgram).empty() ||
           !sim.frames(peers::BootFrame::Kind::WriteEeprom).empty() ||
           !sim.frames(peers::BootFrame::Kind::ConfigRegister).empty();
  }

  peers::BootSim sim;
  HookClock clock;
  RecordingReporter reporter;
  download::ComLink link;
  download::BootTiming timing = testTiming();
  std::filesystem::path folder;
};

// Neither success text was shown.
inline void expectNoSuccess(const BootRig& rig) {
  for (const std::string& s : rig.statuses()) {
    EXPECT_NE(s, download::kStatusFinished);
    EXPECT_NE(s, download::kStatusDone);
  }
  for (const Message& m : rig.messages()) EXPECT_NE(m.text, download::kBoxSuccess);
}

}  // namespace downloadtest
