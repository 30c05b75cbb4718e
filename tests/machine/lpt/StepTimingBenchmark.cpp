// Timing of the step generator with the real clock on the simulated port: for each step rate the
// achieved mean rate and the error of the step intervals against the ideal period (50th, 99th and
// 99.9th percentile), and how many steps came late. Not part of the test run; built with
// -DVELTRIS_BENCHMARKS=ON. Usage: lpt_step_timing_bench [seconds per rate]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "SimulatedParallelPort.h"
#include "machine/lpt/LptUi.h"
#include "machine/lpt/LptUnit.h"
#include "platform/Clock.h"
#include "platform/ThreadPriority.h"
#include "support/QueueDispatcher.h"
#include "support/ScriptedUi.h"

namespace {

double percentile(const std::vector<std::int64_t>& sorted, double p) {
  if (sorted.empty()) return 0.0;
  const auto index = static_cast<std::size_t>(p / 100.0 * static_cast<double>(sorted.size() - 1) + 0.5);
  return static_cast<double>(sorted[std::min(index, sorted.size() - 1)]);
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 2.0;
  auto& clock = platform::systemClock();
  testsupport::ScriptedUi ui;
  testsupport::QueueDispatcher gui;
  peers::SimulatedParallelPort port(clock);
  machine::LptUi lptUi(ui, gui);
  machine::LptUnit unit(port.connection(), clock, lptUi);
  unit.Lpt_oeffnen();
  unit.LptAdresse_setzen("378");
  // Up to 60 kHz with 1 microsecond pulses; the limit test (four samples 4 microseconds apart)
  // runs at every step as on a machine.
  unit.Frequenzgrenzen_setzen(60000, 1'000'000);

  // The generator thread asks for real-time scheduling the same way; see whether it may have it.
  bool realtime = false;
  std::thread probe([&] { realtime = platform::tryRealtimePriority(); });
  probe.join();
  std::printf("generator thread real-time priority: %s\n", realtime ? "yes"
                                                           : platform::realtimeUnthrottled()
                                                               ? "no (not permitted)"
                                                               : "no (the kernel throttles real-time threads)");
  std::printf("%8s %8s %12s %10s %10s %10s %11s %6s\n", "rate", "steps", "mean rate", "p50 err", "p99 err", "p99.9 err",
              "max err", "late");

  for (int rate : {5000, 20000, 50000}) {
    const int steps = static_cast<int>(rate * seconds);
    // A first run grows the record to its size, so that the measured one does not allocate.
    unit.Lpt_Vektorfahrt(true, steps, 0, 0, rate, rate, 0);
    port.clearRecord();
    gui.drain();
    ui.clear();
    unit.Lpt_Vektorfahrt(true, steps, 0, 0, rate, rate, 0);

    const auto times = port.stepTimes(0);
    const std::int64_t ideal = 1'000'000'000LL / rate;
    std::vector<std::int64_t> errors;
    for (std::size_t i = 1; i < times.size(); ++i) errors.push_back(std::abs(times[i] - times[i - 1] - ideal));
    std::sort(errors.begin(), errors.end());
    const double span = static_cast<double>(times.back() - times.front()) / 1e9;
    gui.drain();
    std::printf("%6d Hz %8zu %9.1f Hz %7.2f us %7.2f us %7.2f us %8.1f us %6zu\n", rate, times.size(),
                static_cast<double>(times.size() - 1) / span, percentile(errors, 50) / 1000.0,
                percentile(errors, 99) / 1000.0, percentile(errors, 99.9) / 1000.0,
                static_cast<double>(errors.back()) / 1000.0, ui.beeps().size());
  }
  unit.Lpt_schliessen();
  return 0;
}
