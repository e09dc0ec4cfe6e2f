#include "zrdwg/LargeArray.h"

#include <sys/mman.h>

#include <cstdint>

#include "store/KeptMemory.h"

void* MapHugePages(std::size_t bytes) {
  bytes = HugePagesFor(bytes);
  if (void* kept = kept::TakeMapping(bytes)) return kept;
  // A huge page more than asked for, then the ends cut off so that what is
  // left starts at a huge page's boundary.
  const std::size_t spare = bytes + kHugePageBytes;
  void* mapped = mmap(nullptr, spare, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = (start + kHugePageBytes - 1) & ~(kHugePageBytes - 1);
  if (aligned > start) munmap(mapped, aligned - start);
  if (const std::size_t tail = start + spare - (aligned + bytes); tail > 0)
    munmap(reinterpret_cast<void*>(aligned + bytes), tail);
  // Only advice: where huge pages are off, small ones serve.
  madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(aligned);
}

void UnmapHugePages(void* at, std::size_t bytes) noexcept {
  bytes = HugePagesFor(bytes);
  if (!kept::KeepMapping(at, bytes)) munmap(at, bytes);
}
