// Descriptor close with failure trace.
#include "HandleClose.h"

#include <unistd.h>

#include <cerrno>

#include "TraceLog.h"
#include "platform/NumberFormat.h"

namespace machine {

void zelkoCloseHandle(int fd) {
  if (fd < 0) return;
  if (::close(fd) == 0) return;
  const int err = errno;
  // No retry, not even after EINTR: Linux releases the descriptor whatever close() reports, so a
  // second close could hit a descriptor that another thread has just been given.
  Protokoll_schreiben("zelkoCloseHandle() :: GetLastError()=" + platform::formatInt(err));
}

}  // namespace machine
