// What the fuzz targets share: the input as a file that the readers can open, the throw-away
// folder of the trace log, and the check that turns a broken promise into a crash the fuzzer
// reports.
//
// Thread context: the fuzzer's one thread. The file is made once and reused for every input.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/ProgramPath.h"

namespace fuzz {

inline void check(bool condition) {
  if (!condition) std::abort();
}

// The bytes as the whole content of an in-memory file behind /proc/self/fd: the readers take a
// path, and the disk stays out of the loop.
inline std::filesystem::path asFile(const std::uint8_t* data, std::size_t size) {
  static const int fd = [] {
    const int f = ::memfd_create("fuzz-input", MFD_CLOEXEC);
    check(f >= 0);
    return f;
  }();
  check(::ftruncate(fd, 0) == 0);
  check(size == 0 || ::pwrite(fd, data, size, 0) == static_cast<ssize_t>(size));
  return "/proc/self/fd/" + std::to_string(fd);
}

// The program folder, and with it the trace log, in a folder of its own that exists only while an
// input runs, so that the fuzzer leaves nothing behind; in memory where there is one, since a run
// writes a line for every move.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name) {
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    path_ = base / (name + "-" + std::to_string(::getpid()));
    platform::setProgramFolder(path_);
  }
  void enter() const { std::filesystem::create_directories(path_); }
  void leave() const {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }

 private:
  std::filesystem::path path_;
};

}  // namespace fuzz
