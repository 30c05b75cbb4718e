// Test fixture: the real protocol driver on COM7, which resolves to a simulated controller's
// pseudo-terminal, a manual clock, scripted UI services and a temporary program folder for the
// trace log. Helpers run a call on another thread and read the driver's failure codes.
#pragma once

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <future>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ZelkoSim.h"
#include "machine/TraceLog.h"
#include "machine/serial/ZelkoCom.h"
#include "platform/TextFile.h"
#include "support/ManualClock.h"
#include "support/ScriptedUi.h"
#include "support/TempFolder.h"

namespace machinetest {

using namespace std::chrono_literals;

inline constexpr int kSimPort = 7;
inline constexpr char kAck = 0x06;
inline constexpr char kBel = 0x07;
inline constexpr char kNak = 0x15;
// Generous bounds for events that happen within milliseconds.
inline constexpr auto kPatience = 5s;

// The failure code a call throws; nullopt when it returns.
inline std::optional<int> codeOf(const std::function<void()>& call) {
  try {
    call();
  } catch (int code) {
    return code;
  }
  return std::nullopt;
}

class ZelkoRig : public ::testing::Test {
 protected:
  ZelkoRig() { ::setenv("VELTRIS_COM7", sim.devicePath().c_str(), 1); }
  ~ZelkoRig() override {
    joinWorkers([this] { driver.UnInit(); });
  }

  // Opens the link and identifies the controller, as the connection step does.
  void connect() {
    driver.Init(kSimPort, 115200);
    driver.Connect();
  }

  // Runs `call` on another thread; the future holds its failure code. A test that fails while the
  // call still waits (for a long move, say) does not wait for it: the fixture closes the link and
  // joins the thread when it goes.
  std::future<std::optional<int>> onWorker(std::function<void()> call) {
    std::packaged_task<std::optional<int>()> task([call = std::move(call)] { return codeOf(call); });
    auto future = task.get_future();
    workers_.emplace_back(std::move(task));
    return future;
  }

  // Wakes every waiting call with `unblock` (closing the link the workers use), then joins them.
  // A fixture whose workers use links of its own calls it from its destructor.
  void joinWorkers(const std::function<void()>& unblock) {
    if (workers_.empty()) return;
    unblock();
    for (auto& worker : workers_) worker.join();
    workers_.clear();
  }

  // Starts a move that lasts until it is stopped, and waits until the controller runs it.
  void startLongMove() {
    sim.setMoveDuration(60s);
    driver.Vektorfahrt_ausfuehren(1, 1, 400, 0, 0);
    ASSERT_EQ(driver.letzteAntwortBeginn(), kNak);
    ASSERT_TRUE(sim.moving());
  }

  // The commands the controller received after the connection's probes (bare CRs; a busy machine
  // may take more than one to answer in time).
  std::vector<std::string> commandsAfterProbes() const {
    auto commands = sim.commands();
    const auto probes = std::find_if(commands.begin(), commands.end(), [](const std::string& c) { return !c.empty(); });
    return {probes, commands.end()};
  }

  static std::vector<std::string> traceLines() {
    std::string bytes;
    platform::readFileBytes(machine::Protokolldatei(), bytes);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
      lines.push_back(bytes.substr(start, end - start));
    return lines;
  }

  static bool traced(const std::string& line) {
    const auto lines = traceLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  // Waits until the trace log holds `line`, woken by every line written to it; false when the
  // time-out ran out first. The receiver's own lines are written on its thread.
  bool waitForTrace(const std::string& line) const {
    const int watch = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    ::inotify_add_watch(watch, folder.path().c_str(), IN_CLOSE_WRITE | IN_MODIFY | IN_MOVED_TO);
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    bool found = traced(line);
    while (!found && std::chrono::steady_clock::now() < deadline) {
      pollfd pfd{watch, POLLIN, 0};
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (::poll(&pfd, 1, static_cast<int>(left.count()) + 1) > 0) {
        char events[4096];
        while (::read(watch, events, sizeof events) > 0) {
        }
      }
      found = traced(line);
    }
    ::close(watch);
    return found;
  }

  testsupport::ProgramFolder folder;
  peers::ZelkoSim sim;
  testsupport::ManualClock clock;
  testsupport::ScriptedUi ui;
  machine::TzelkoCOM driver{ui, clock};

 private:
  std::vector<std::thread> workers_;
};

}  // namespace machinetest
