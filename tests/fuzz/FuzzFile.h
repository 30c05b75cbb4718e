// What the fuzz targets share: the input as a file that the readers can open, and the check that
// turns a broken promise into a crash the fuzzer reports.
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

}  // namespace fuzz
