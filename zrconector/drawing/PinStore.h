#pragma once
// Room for the pins of one check's records. A drawing's pins are many
// (200,000 in a large one) and small: made one allocation each, they cost a
// call to the allocator apiece, and the allocator grows its heap a page at
// a time. The store makes them in blocks instead, each block taken whole
// and twice the size of what it held before, so that a check takes a few
// dozen allocations whatever the drawing's size. The records share the
// store (a shared pointer each); it goes, with its pins, after the last of
// them.

#include <cstddef>
#include <vector>

namespace zr {

class CEPino;

class PinStore {
 public:
  PinStore() = default;
  PinStore(const PinStore&) = delete;
  PinStore& operator=(const PinStore&) = delete;
  // Destroys every pin made.
  ~PinStore();

  // A new pin, as CEPino() makes it; it lives as long as the store.
  CEPino* Make();
  // The number of pins made.
  std::size_t Size() const { return m_made; }

 private:
  // The first block's size, in pins; each next block holds as many as all
  // the blocks before it.
  static constexpr std::size_t kFirstBlock = 256;

  // Storage for `room` pins, of which the first `made` are made: memory of
  // the heap, or a mapping of its own of `mappedBytes` (not 0).
  struct Block {
    CEPino* pins = nullptr;
    std::size_t room = 0;
    std::size_t made = 0;
    std::size_t mappedBytes = 0;
  };
  std::vector<Block> m_blocks;
  std::size_t m_made = 0;  // in every block
};

}  // namespace zr
