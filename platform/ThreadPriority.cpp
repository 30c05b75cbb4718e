// Real-time scheduling through pthread_setschedparam.
#include "ThreadPriority.h"

#include <pthread.h>
#include <sched.h>

namespace platform {

namespace {

// Above ordinary real-time helpers of the desktop, well below the kernel's own threads.
constexpr int kPriorityAboveMinimum = 10;

}  // namespace

bool tryRealtimePriority() {
  const int lowest = sched_get_priority_min(SCHED_FIFO);
  const int highest = sched_get_priority_max(SCHED_FIFO);
  if (lowest < 0 || highest < lowest) return false;
  sched_param param{};
  param.sched_priority = lowest + kPriorityAboveMinimum <= highest ? lowest + kPriorityAboveMinimum : highest;
  return pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0;
}

}  // namespace platform
