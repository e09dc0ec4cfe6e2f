#include "drawing/PinStore.h"

#include <new>

#include "drawing/CEPino.h"

namespace zr {

void PinStore::FreeBlock::operator()(CEPino* pins) const {
  ::operator delete(static_cast<void*>(pins), std::align_val_t(alignof(CEPino)));
}

PinStore::~PinStore() {
  for (Block& block : m_blocks)
    for (std::size_t i = 0; i < block.made; ++i) block.pins.get()[i].~CEPino();
}

CEPino* PinStore::Make() {
  if (m_blocks.empty() || m_blocks.back().made == m_blocks.back().room) {
    const std::size_t room = m_blocks.empty() ? kFirstBlock : m_made;
    std::unique_ptr<CEPino, FreeBlock> pins(
        static_cast<CEPino*>(::operator new(room * sizeof(CEPino), std::align_val_t(alignof(CEPino)))));
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
