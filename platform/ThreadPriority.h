// Real-time scheduling for a thread whose timing matters (the step generator, which busy-waits
// through whole moves).
//
// Thread context: acts on the calling thread. Never blocks.
#pragma once

#include <filesystem>

namespace platform {

// Puts the calling thread into the first-in first-out real-time class when the system allows it
// (root, CAP_SYS_NICE or an RLIMIT_RTPRIO grant), does not throttle real-time threads (as read
// from `runtimeSetting`) and leaves the thread at least two processors; true when it did. A
// throttling kernel (the usual sched_rt_runtime_us of 950000) would stop a thread that busy-waits
// through a long move for 50 ms in every second, a gap in the step pulses far worse than normal
// scheduling gives. On a single processor a real-time thread that busy-waits would keep every
// other thread of the program off it, the GUI thread with its stop button among them. In either
// case the thread keeps its normal priority. Nothing is reported either way.
bool tryRealtimePriority(const std::filesystem::path& runtimeSetting = "/proc/sys/kernel/sched_rt_runtime_us");

// The number of processors the calling thread may run on.
int usableProcessors();

// Whether the kernel lets real-time threads run without forced pauses, as read from
// `runtimeSetting` (/proc/sys/kernel/sched_rt_runtime_us: -1 means no limit).
bool realtimeUnthrottled(const std::filesystem::path& runtimeSetting = "/proc/sys/kernel/sched_rt_runtime_us");

}  // namespace platform
