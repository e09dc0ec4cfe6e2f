#include "drawing/BlockStore.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>

namespace zr {

namespace {

// A block this large or larger is mapped on its own, at a huge page's
// boundary: a large drawing's pins then take a few page faults, not
// thousands.
constexpr std::size_t kHugePage = std::size_t(2) << 20;

// bytes (a multiple of kHugePage) mapped at a huge page's boundary.
void* mapHuge(std::size_t bytes) {
  const std::size_t spare = bytes + kHugePage;
  void* mapped = mmap(nullptr, spare, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
  if (aligned > start) munmap(mapped, aligned - start);
  if (const std::size_t tail = start + spare - (aligned + bytes); tail > 0)
    munmap(reinterpret_cast<void*>(aligned + bytes), tail);
  // Only advice: where huge pages are off, small ones serve.
  madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(aligned);
}

}  // namespace

StoreBlock TakeStoreBlock(std::size_t bytes) {
  StoreBlock block = StoreBlockAt(nullptr, bytes);
  block.at = block.mapped ? mapHuge(block.bytes) : std::malloc(bytes ? bytes : 1);  // aligned for any object
  if (!block.at) throw std::bad_alloc();
  return block;
}

StoreBlock StoreBlockAt(void* at, std::size_t bytes) noexcept {
  StoreBlock block;
  block.at = at;
  block.mapped = bytes >= kHugePage;
  block.bytes = block.mapped ? (bytes + kHugePage - 1) / kHugePage * kHugePage : bytes;
  return block;
}

void ReleaseStoreBlock(const StoreBlock& block) {
  if (block.mapped) munmap(block.at, block.bytes);
  else std::free(block.at);
}

}  // namespace zr
