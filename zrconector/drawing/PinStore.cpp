#include "drawing/PinStore.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <new>

#include "drawing/CEPino.h"

namespace zr {

namespace {

// A block this large or larger is mapped on its own, in huge pages where the
// system has them: a large drawing's pins then take a few page faults, not
// thousands. Its own mapping goes whole with the block, so that no huge page
// outlives it in the heap.
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

PinStore::~PinStore() {
  for (Block& block : m_blocks) {
    for (std::size_t i = 0; i < block.made; ++i) block.pins[i].~CEPino();
    if (block.mappedBytes) munmap(block.pins, block.mappedBytes);
    else std::free(block.pins);
  }
}

CEPino* PinStore::Make() {
  if (m_blocks.empty() || m_blocks.back().made == m_blocks.back().room) {
    m_blocks.reserve(m_blocks.size() + 1);  // nothing can fail once the block is taken
    Block block;
    block.room = m_blocks.empty() ? kFirstBlock : m_made;
    std::size_t bytes = block.room * sizeof(CEPino);
    if (bytes >= kHugePage) {
      bytes = (bytes + kHugePage - 1) / kHugePage * kHugePage;
      block.pins = static_cast<CEPino*>(mapHuge(bytes));
      block.mappedBytes = bytes;
      block.room = bytes / sizeof(CEPino);
    } else {
      block.pins = static_cast<CEPino*>(std::malloc(bytes));  // aligned for any object
      if (!block.pins) throw std::bad_alloc();
    }
    m_blocks.push_back(block);
  }
  Block& block = m_blocks.back();
  CEPino* pin = new (block.pins + block.made) CEPino();
  ++block.made;
  ++m_made;
  return pin;
}

}  // namespace zr
