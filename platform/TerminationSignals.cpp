// The self-pipe behind termination signals.
#include "TerminationSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <stdexcept>

namespace platform {

namespace {

constexpr std::array<int, 3> kSignals{SIGINT, SIGTERM, SIGHUP};

// Written by the handler; a signal handler may touch nothing but such a plain value.
volatile std::sig_atomic_t gWriteFd = -1;
std::array<struct sigaction, kSignals.size()> gPrevious{};

extern "C" void onTerminationSignal(int signal) {
  const int savedErrno = errno;
  const unsigned char byte = static_cast<unsigned char>(signal);
  // A full pipe already holds enough to end the program; the byte may be lost.
  if (gWriteFd >= 0) (void)!::write(gWriteFd, &byte, 1);
  errno = savedErrno;
}

}  // namespace

TerminationSignals::TerminationSignals() {
  int fds[2] = {-1, -1};
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("pipe2 failed");
  readFd_ = fds[0];
  gWriteFd = fds[1];
  struct sigaction action {};
  action.sa_handler = onTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < kSignals.size(); ++i) ::sigaction(kSignals[i], &action, &gPrevious[i]);
}

TerminationSignals::~TerminationSignals() {
  for (std::size_t i = 0; i < kSignals.size(); ++i) ::sigaction(kSignals[i], &gPrevious[i], nullptr);
  const int writeFd = gWriteFd;
  gWriteFd = -1;
  ::close(writeFd);
  ::close(readFd_);
}

std::vector<int> TerminationSignals::take() {
  std::vector<int> signals;
  unsigned char bytes[16];
  for (;;) {
    const ssize_t n = ::read(readFd_, bytes, sizeof bytes);
    if (n <= 0) break;
    for (ssize_t i = 0; i < n; ++i) signals.push_back(bytes[i]);
  }
  return signals;
}

}  // namespace platform
