// Tests of the descriptor close helper and its trace line.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "machine/HandleClose.h"
#include "machine/TraceLog.h"
#include "platform/TextFile.h"
#include "support/TempFolder.h"

namespace {

std::string logBytes() {
  std::string bytes;
  platform::readFileBytes(machine::Protokolldatei(), bytes);
  return bytes;
}

TEST(ZelkoCloseHandle, NoDescriptorDoesNothing) {
  testsupport::ProgramFolder folder;
  machine::zelkoCloseHandle(-1);
  machine::zelkoCloseHandle(-5);
  EXPECT_FALSE(std::filesystem::exists(machine::Protokolldatei()));
}

TEST(ZelkoCloseHandle, ClosesWithoutTraceLine) {
  testsupport::ProgramFolder folder;
  const int fd = ::open(folder.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  machine::zelkoCloseHandle(fd);
  EXPECT_EQ(::fcntl(fd, F_GETFD), -1);
  EXPECT_FALSE(std::filesystem::exists(machine::Protokolldatei()));
}

TEST(ZelkoCloseHandle, FailedCloseWritesOneTraceLineAndDoesNotRetry) {
  testsupport::ProgramFolder folder;
  const int fd = ::open(folder.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::close(fd), 0);
  machine::zelkoCloseHandle(fd);  // no longer open: EBADF
  EXPECT_EQ(logBytes(), "zelkoCloseHandle() :: GetLastError()=" + std::to_string(EBADF) + "\r\n");
}

}  // namespace
