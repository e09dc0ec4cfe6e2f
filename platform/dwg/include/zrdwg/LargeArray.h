#pragma once
// LargeArray: a std::vector whose memory, from 1 MB on, is a mapping of its
// own at a huge page's boundary, advised into huge pages; a smaller one comes
// from the heap. For the arrays a large drawing fills once, element after
// element (its handle index; a check's tables of pins and findings): in
// pages of 4 KB each page costs a fault into the kernel, thousands for one
// array, where huge pages cost one every 2 MB. Room reserved and never
// reached is never touched, so an index reserved from a file's size costs
// what it holds, rounded up to a huge page.
//
// A mapped array is outside the heap: AddressSanitizer puts no guard zones
// around it, and the leak checker does not look into it, so memory that
// only such an array points to when the process ends is reported as
// leaked. The arrays here all go before the end.

#include <cstddef>
#include <new>
#include <vector>

// Huge pages are this large where the system has them (x86-64, arm64 with 4 KB pages).
constexpr std::size_t kHugePageBytes = std::size_t(2) << 20;
// bytes rounded up to whole huge pages: what MapHugePages(bytes) maps.
constexpr std::size_t HugePagesFor(std::size_t bytes) {
  return (bytes + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
}

// bytes (rounded up to whole huge pages) mapped at a huge page's boundary,
// advised into huge pages; throws std::bad_alloc. Where huge pages are off,
// small ones serve. While memory is kept (zrdwg/KeptMemory.h) it may be a
// mapping given back before, resident, with what it held then.
void* MapHugePages(std::size_t bytes);
// Gives back what MapHugePages(bytes) mapped at `at` (kept, while memory is
// kept and there is room).
void UnmapHugePages(void* at, std::size_t bytes) noexcept;

template <class T>
class LargeArrayAllocator {
 public:
  using value_type = T;
  // Arrays of this many bytes or more are mapped on their own.
  static constexpr std::size_t kMappedFrom = std::size_t(1) << 20;

  LargeArrayAllocator() noexcept = default;
  template <class U>
  LargeArrayAllocator(const LargeArrayAllocator<U>&) noexcept {}  // NOLINT: rebinding, as containers do

  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    const std::size_t bytes = n * sizeof(T);
    if (bytes >= kMappedFrom) return static_cast<T*>(MapHugePages(bytes));
    return static_cast<T*>(::operator new(bytes));
  }
  void deallocate(T* at, std::size_t n) noexcept {
    const std::size_t bytes = n * sizeof(T);
    if (bytes >= kMappedFrom) UnmapHugePages(at, bytes);
    else ::operator delete(at);
  }

  template <class U>
  bool operator==(const LargeArrayAllocator<U>&) const noexcept {
    return true;
  }
};

template <class T>
using LargeArray = std::vector<T, LargeArrayAllocator<T>>;
