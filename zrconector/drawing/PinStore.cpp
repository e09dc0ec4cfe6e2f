#include "drawing/PinStore.h"

#include <sys/mman.h>

#include <cstdlib>
#include <new>

#include "drawing/CEPino.h"

namespace zr {

namespace {

// A block this large or larger is taken in huge pages where the system has
// them: a large drawing's pins then take a few page faults, not thousands.
constexpr std::size_t kHugePage = std::size_t(2) << 20;

}  // namespace

void PinStore::FreeBlock::operator()(CEPino* pins) const { std::free(pins); }

PinStore::~PinStore() {
  for (Block& block : m_blocks)
    for (std::size_t i = 0; i < block.made; ++i) block.pins.get()[i].~CEPino();
}

CEPino* PinStore::Make() {
  if (m_blocks.empty() || m_blocks.back().made == m_blocks.back().room) {
    std::size_t room = m_blocks.empty() ? kFirstBlock : m_made;
    std::size_t bytes = room * sizeof(CEPino);
    const std::size_t alignment = bytes >= kHugePage ? kHugePage : alignof(std::max_align_t);
    bytes = (bytes + alignment - 1) / alignment * alignment;
    room = bytes / sizeof(CEPino);
    std::unique_ptr<CEPino, FreeBlock> pins(static_cast<CEPino*>(std::aligned_alloc(alignment, bytes)));
    if (!pins) throw std::bad_alloc();
    // Only advice: where huge pages are off, small ones serve.
    if (alignment == kHugePage) madvise(pins.get(), bytes, MADV_HUGEPAGE);
    m_blocks.reserve(m_blocks.size() + 1);  // nothing can fail once the block is taken
    m_blocks.push_back(Block{std::move(pins), room, 0});
  }
  Block& block = m_blocks.back();
  CEPino* pin = new (block.pins.get() + block.made) CEPino();
  ++block.made;
  ++m_made;
  return pin;
}

}  // namespace zr
