// zelko-sim: the simulated text-protocol controller on its own. It prints the device path of its
// pseudo-terminal, then every command and answer, and serves until SIGINT or SIGTERM.
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "SimMain.h"
#include "ZelkoSim.h"
#include "machine/TraceLog.h"

int main(int argc, char** argv) {
  // Blocked before the serving thread starts, so that only the wait below receives them.
  const sigset_t signals = peers::blockTermination();

  peers::ZelkoSim::Options options;
  if (argc > 1) options.moveDuration = std::chrono::milliseconds(std::atoi(argv[1]));
  options.onLog = [](const peers::SimLogEntry& e) {
    const char* direction = e.kind == peers::SimLogEntry::Kind::Command ? "<-" : "->";
    std::printf("%10.1f ms %c %s %s\n", e.ms, e.channel, direction, machine::Steuerzeichen_darstellen(e.text).c_str());
    std::fflush(stdout);
  };
  peers::ZelkoSim sim(options);
  std::cout << sim.devicePath() << std::endl;

  peers::waitForTermination(signals);
  return 0;
}
