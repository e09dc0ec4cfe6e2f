#pragma once
// An allocator for the large arrays of one check (the pairing's tables of a
// drawing's pins): each allocation is a store block (BlockStore.h), so an
// array of 2 MB or more is mapped on its own in huge pages where the system
// has them. Such an array is filled once, right after it is taken; in small
// pages a 200,000-pin drawing's tables cost thousands of page faults, each
// a trip into the kernel that zeroes one page.

#include <cstddef>
#include <new>
#include <vector>

#include "drawing/BlockStore.h"

namespace zr {

template <class T>
class StoreAllocator {
 public:
  using value_type = T;

  StoreAllocator() noexcept = default;
  template <class U>
  StoreAllocator(const StoreAllocator<U>&) noexcept {}  // NOLINT: rebinding, as the standard containers do

  // Room for n objects (throws std::bad_alloc).
  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    const StoreBlock block = TakeStoreBlock(n * sizeof(T));
    return static_cast<T*>(block.at);
  }
  // Gives back what allocate(n) took.
  void deallocate(T* at, std::size_t n) noexcept { ReleaseStoreBlock(StoreBlockAt(at, n * sizeof(T))); }

  template <class U>
  bool operator==(const StoreAllocator<U>&) const noexcept {
    return true;
  }
};

// An array of one check's pairing, in store blocks.
template <class T>
using StoreVector = std::vector<T, StoreAllocator<T>>;

}  // namespace zr
