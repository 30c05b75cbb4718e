// An allocator for arrays of a megabyte and more that asks the kernel to back them with huge
// pages. Reading a large plot fills hundreds of megabytes of fresh memory, and where every page
// fault is costly (in virtual machines above all) faulting it in 4 KiB at a time takes longer than
// the reading itself. Smaller arrays come from the ordinary heap.
//
// Thread context: stateless; any thread. Nothing blocks.
#pragma once

#include <cstddef>
#include <limits>
#include <new>

namespace platform {

// Memory for `bytes`: from kLargeArrayBytes on aligned to and rounded up to whole huge pages and
// advised for them, below that from operator new. Throws std::bad_alloc when there is none.
void* allocateArray(std::size_t bytes);
// Gives back what allocateArray gave for the same `bytes`.
void releaseArray(void* p, std::size_t bytes) noexcept;

inline constexpr std::size_t kLargeArrayBytes = std::size_t{1} << 20;

template <class T>
struct HugePageAllocator {
  static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);
  using value_type = T;

  HugePageAllocator() = default;
  template <class U>
  HugePageAllocator(const HugePageAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) {
    if (n > std::numeric_limits<std::size_t>::max() / sizeof(T)) throw std::bad_array_new_length();
    return static_cast<T*>(allocateArray(n * sizeof(T)));
  }
  void deallocate(T* p, std::size_t n) noexcept { releaseArray(p, n * sizeof(T)); }

  template <class U>
  bool operator==(const HugePageAllocator<U>&) const noexcept {
    return true;
  }
};

}  // namespace platform
