// For the stand-alone simulators: SIGINT and SIGTERM end them in an orderly way.
//
// Thread context: the main thread; blockTermination before any other thread starts (they inherit
// the mask), waitForTermination blocks until one of the signals arrives.
#pragma once

#include <pthread.h>

#include <csignal>

namespace peers {

inline sigset_t blockTermination() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  return signals;
}

inline void waitForTermination(const sigset_t& signals) {
  int received = 0;
  sigwait(&signals, &received);
}

}  // namespace peers
