// boot-sim: the simulated controller with its bootloader on its own. It prints the device path
// of its pseudo-terminal, then every frame it takes, and serves until SIGINT or SIGTERM.
// Usage: boot-sim [family]   (0: dsPIC30F6014, the default; 1: dsPIC33FJ256GP710)
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "BootSim.h"
#include "SimMain.h"

namespace {

const char* kindName(peers::BootFrame::Kind kind) {
  switch (kind) {
    case peers::BootFrame::Kind::Probe:
      return "probe";
    case peers::BootFrame::Kind::Jump:
      return "jump to bootloader";
    case peers::BootFrame::Kind::BootProbe:
      return "bootloader probe";
    case peers::BootFrame::Kind::Enter:
      return "enter";
    case peers::BootFrame::Kind::ReadProgram:
      return "read program";
    case peers::BootFrame::Kind::WriteProgram:
      return "write program row";
    case peers::BootFrame::Kind::WriteEeprom:
      return "write EEPROM row";
    case peers::BootFrame::Kind::ConfigRegister:
      return "configuration register";
    case peers::BootFrame::Kind::ReadId:
      return "read device id";
    case peers::BootFrame::Kind::Leave:
      return "leave bootloader";
  }
  return "?";
}

}  // namespace

int main(int argc, char** argv) {
  // Blocked before the serving thread starts, so that only the wait below receives them.
  const sigset_t signals = peers::blockTermination();

  peers::BootSim::Options options;
  if (argc > 1 && std::atoi(argv[1]) != 0) {
    options.family = 1;
    options.id = 0x00FF;
    options.revision = 3;
  }
  options.onFrame = [](const peers::BootFrame& f) {
    std::printf("%-24s address 0x%06X  %zu bytes in, %zu bytes out%s\n", kindName(f.kind), f.address, f.bytes.size(),
                f.answer.size(), f.registerIndex >= 0 ? (" register " + std::to_string(f.registerIndex)).c_str() : "");
    std::fflush(stdout);
  };
  peers::BootSim sim(options);
  std::cout << sim.devicePath() << std::endl;

  peers::waitForTermination(signals);
  return 0;
}
