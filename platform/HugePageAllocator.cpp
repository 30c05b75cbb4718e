// Large arrays in huge pages.
#include "HugePageAllocator.h"

#include <sys/mman.h>

#include <cstdlib>

namespace platform {

namespace {

constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

}  // namespace

void* allocateArray(std::size_t bytes) {
  if (bytes < kLargeArrayBytes) return ::operator new(bytes);
  if (bytes > std::numeric_limits<std::size_t>::max() - kHugePageBytes) throw std::bad_alloc();
  const std::size_t rounded = (bytes + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
  void* p = std::aligned_alloc(kHugePageBytes, rounded);
  if (p == nullptr) throw std::bad_alloc();
  // Only advice: a kernel without huge pages, or one that has none free, gives ordinary ones.
  ::madvise(p, rounded, MADV_HUGEPAGE);
  return p;
}

void releaseArray(void* p, std::size_t bytes) noexcept {
  if (bytes < kLargeArrayBytes) {
    ::operator delete(p);
  } else {
    std::free(p);
  }
}

}  // namespace platform
