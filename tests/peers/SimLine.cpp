// Pseudo-terminal and wake descriptor of the simulated devices.
#include "SimLine.h"

#include <fcntl.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

#include <cstdint>
#include <stdexcept>

namespace peers {

SimLine openSimLine() {
  SimLine line;
  // posix_openpt instead of openpty, so that both sides are close-on-exec from the start.
  line.master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (line.master < 0 || ::grantpt(line.master) != 0 || ::unlockpt(line.master) != 0)
    throw std::runtime_error("pseudo-terminal not available");
  char name[128] = {};
  if (::ptsname_r(line.master, name, sizeof name) != 0) throw std::runtime_error("ptsname_r failed");
  line.devicePath = name;
  line.slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (line.slave < 0) throw std::runtime_error("cannot open " + line.devicePath);
  // Raw at once: a cooked slave would echo the device's answers back to it before the program
  // under test opens it.
  termios tio{};
  ::tcgetattr(line.slave, &tio);
  ::cfmakeraw(&tio);
  ::tcsetattr(line.slave, TCSANOW, &tio);
  ::fcntl(line.master, F_SETFL, ::fcntl(line.master, F_GETFL) | O_NONBLOCK);
  line.wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (line.wakeFd < 0) throw std::runtime_error("eventfd failed");
  return line;
}

void wakeSimLine(int wakeFd) {
  const std::uint64_t one = 1;
  (void)!::write(wakeFd, &one, sizeof one);
}

void closeSimLine(int master, int slave, int wakeFd) {
  if (master >= 0) ::close(master);
  ::close(slave);
  ::close(wakeFd);
}

}  // namespace peers
