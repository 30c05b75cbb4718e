// The line of a simulated device: a pseudo-terminal whose slave side the program under test
// opens as its serial port, and an eventfd that wakes the device's serving thread.
//
// Thread context: any thread; the descriptors belong to the caller, who closes them.
#pragma once

#include <string>

namespace peers {

struct SimLine {
  int master = -1;  // the device's side, non-blocking
  int slave = -1;   // raw at once, and kept open so that the line stays up while the program reopens it
  int wakeFd = -1;
  std::string devicePath;  // of the slave ("/dev/pts/N")
};

// All descriptors close-on-exec. Throws std::runtime_error when the system cannot give one.
SimLine openSimLine();

// Wakes the serving thread that polls `wakeFd`.
void wakeSimLine(int wakeFd);

// Closes the descriptors of a line; a master of -1 (already closed at a hang-up) is left.
void closeSimLine(int master, int slave, int wakeFd);

}  // namespace peers
