// Round trips per second of the protocol driver against the simulated controller on a
// pseudo-terminal: a setting on the normal channel and a query on the '@' channel. Not part of
// the test run; built with -DVELTRIS_BENCHMARKS=ON.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "ZelkoSim.h"
#include "machine/serial/ZelkoCom.h"
#include "platform/Clock.h"
#include "platform/ProgramPath.h"
#include "support/ScriptedUi.h"

namespace {

void measure(const char* name, int count, const std::function<void()>& call) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < count; ++i) call();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%-28s %7d round trips  %9.0f per second  %7.1f us each\n", name, count, count / seconds,
              seconds * 1e6 / count);
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 20000;
  // The trace log goes to a scratch folder, not beside the benchmark.
  const auto folder = std::filesystem::temp_directory_path() / "veltris-zelko-bench";
  std::filesystem::create_directories(folder);
  platform::setProgramFolder(folder);

  peers::ZelkoSim sim;
  ::setenv("VELTRIS_COM7", sim.devicePath().c_str(), 1);
  testsupport::ScriptedUi ui;
  machine::TzelkoCOM driver(ui, platform::systemClock());
  driver.Init(7, 115200);
  driver.Connect();

  measure("setting (#S, ACK)", count, [&] { driver.Startgeschwindigkeit_einstellen(200); });
  measure("query (@Lx, '@' channel)", count, [&] { driver.Wert_lesen('x'); });
  driver.UnInit();
  std::filesystem::remove_all(folder);
  return 0;
}
