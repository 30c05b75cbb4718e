// Closing of descriptors with a trace line when the close reports a failure.
//
// Thread context: any thread. Blocks in close() and, when that fails, on the trace log's file I/O.
#pragma once

namespace machine {

// Closes `fd`; a negative descriptor does nothing. A failed close writes the trace line
// "zelkoCloseHandle() :: GetLastError()=<errno>" and is not retried: the descriptor is released
// by the kernel even then.
void zelkoCloseHandle(int fd);

}  // namespace machine
