// The list of serial ports present on this machine, as the port dialogs offer them.
//
// Thread context: any thread; reads the environment and the file system, blocks only on stat().
#pragma once

#include <string>
#include <vector>

namespace machine {

// "COM1" ... "COM63", ascending, for every port whose device exists (see
// platform/SerialPortNames.h for how a port name resolves to a device).
std::vector<std::string> ComPorts_auflisten();

}  // namespace machine
