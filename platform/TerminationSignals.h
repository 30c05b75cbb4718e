// Termination signals (SIGINT, SIGTERM, SIGHUP) turned into readable bytes: the handler only
// writes the signal's number into a pipe, and the GUI thread reads it from there when its event
// loop finds the pipe readable, so that the program ends through its normal close.
//
// Thread context: one instance at a time, made and destroyed on the GUI thread; the handler may
// run on any thread. take() never blocks. The destructor puts the previous handlers back.
#pragma once

#include <vector>

namespace platform {

class TerminationSignals {
 public:
  TerminationSignals();
  ~TerminationSignals();
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

  // The descriptor that becomes readable when a signal has come.
  int fd() const { return readFd_; }
  // The signals that came since the last call, in order.
  std::vector<int> take();

 private:
  int readFd_ = -1;
};

}  // namespace platform
