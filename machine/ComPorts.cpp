// Serial port listing over the port-name table of the platform.
#include "ComPorts.h"

#include "platform/SerialPortNames.h"

namespace machine {

namespace {

// The dialogs and the parameter file know ports COM1 to COM63 only.
constexpr int kFirstPort = 1;
constexpr int kLastPort = 63;

}  // namespace

std::vector<std::string> ComPorts_auflisten() {
  std::vector<std::string> ports;
  for (int n = kFirstPort; n <= kLastPort; ++n)
    if (platform::comPortExists(n)) ports.push_back("COM" + std::to_string(n));
  return ports;
}

}  // namespace machine
