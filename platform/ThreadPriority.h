// Real-time scheduling for a thread whose timing matters (the step generator).
//
// Thread context: acts on the calling thread. Never blocks.
#pragma once

namespace platform {

// Puts the calling thread into the first-in first-out real-time class when the system allows it
// (root, CAP_SYS_NICE or an RLIMIT_RTPRIO grant); true when it did. Otherwise the thread keeps
// its normal priority and nothing is reported.
bool tryRealtimePriority();

}  // namespace platform
