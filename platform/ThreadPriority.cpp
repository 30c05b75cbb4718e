// Real-time scheduling through pthread_setschedparam, where the kernel does not throttle it and a
// processor stays for the other threads.
#include "ThreadPriority.h"

#include <pthread.h>
#include <sched.h>

#include <fstream>

namespace platform {

namespace {

// Above ordinary real-time helpers of the desktop, well below the kernel's own threads.
constexpr int kPriorityAboveMinimum = 10;
// One for the real-time thread, one for all the others.
constexpr int kLeastProcessors = 2;

}  // namespace

bool realtimeUnthrottled(const std::filesystem::path& runtimeSetting) {
  std::ifstream in(runtimeSetting);
  long long runtime = 0;
  return static_cast<bool>(in >> runtime) && runtime < 0;
}

int usableProcessors() {
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) != 0) return 1;
  return CPU_COUNT(&set);
}

bool tryRealtimePriority(const std::filesystem::path& runtimeSetting) {
  if (!realtimeUnthrottled(runtimeSetting) || usableProcessors() < kLeastProcessors) return false;
  const int lowest = sched_get_priority_min(SCHED_FIFO);
  const int highest = sched_get_priority_max(SCHED_FIFO);
  if (lowest < 0 || highest < lowest) return false;
  sched_param param{};
  param.sched_priority = lowest + kPriorityAboveMinimum <= highest ? lowest + kPriorityAboveMinimum : highest;
  return pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0;
}

}  // namespace platform
