#pragma once
// Room for many small objects of one kind, such as the pins of one check's
// records. A drawing's pins are many (200,000 in a large one): made one
// allocation each, they cost a call to the allocator apiece, and the
// allocator grows its heap a page at a time. A store makes them in blocks
// instead, each taken whole and as large as all the blocks before it, so
// that a check takes a few dozen allocations whatever the drawing's size.
// A block of 2 MB or more is mapped on its own, in huge pages where the
// system has them, and unmapped with the store, so that no huge page
// lingers in the heap. Objects made live as long as the store.

#include <algorithm>
#include <cstddef>
#include <new>
#include <vector>

#include "zrdwg/BackgroundFaults.h"

namespace zr {

// The memory of one block: `bytes` (rounded up to what was taken) at `at`,
// from the heap, or a mapping of its own when `mapped`.
struct StoreBlock {
  void* at = nullptr;
  std::size_t bytes = 0;
  bool mapped = false;
};
// At least `bytes` for a block (throws std::bad_alloc); gives it back
// (after StopFaulting).
StoreBlock TakeStoreBlock(std::size_t bytes);
void ReleaseStoreBlock(const StoreBlock& block);

template <class T>
class BlockStore {
  static_assert(alignof(T) <= alignof(std::max_align_t), "blocks are aligned for any ordinary object only");

 public:
  BlockStore() = default;
  BlockStore(const BlockStore&) = delete;
  BlockStore& operator=(const BlockStore&) = delete;
  // Destroys every object made.
  ~BlockStore() {
    for (Block& block : m_blocks) {
      for (std::size_t i = 0; i < block.made; ++i) block.objects[i].~T();
      ReleaseStoreBlock(block.memory);
    }
  }

  // A new object, as T() makes it; it lives as long as the store.
  T* Make() {
    if (m_blocks.empty() || m_blocks.back().made == m_blocks.back().room)
      TakeBlock(m_blocks.empty() ? kFirstBlock : m_made);
    Block& block = m_blocks.back();
    T* object = new (block.objects + block.made) T();
    ++block.made;
    ++m_made;
    return object;
  }
  // Room for the next n objects in one block, taken now unless the current
  // block has it: a caller that knows how many it will make takes one
  // block of that size instead of a row of growing ones.
  void Reserve(std::size_t n) {
    if (n == 0 || (!m_blocks.empty() && m_blocks.back().room - m_blocks.back().made >= n)) return;
    TakeBlock(n);
  }
  // The memory of the next n objects (at most the current block's room)
  // faulted in on another thread while the ones before them are made
  // (FaultInBackground): for the n objects that a caller knows it will
  // make, not for room reserved in case.
  void FaultAhead(std::size_t n) {
    if (m_blocks.empty()) return;
    const Block& block = m_blocks.back();
    n = std::min(n, block.room - block.made);
    FaultInBackground(block.objects + block.made, n * sizeof(T));
  }
  // The number of objects made.
  std::size_t Size() const { return m_made; }
  // Calls f(object) for every object made, in the order made.
  template <class F>
  void ForEach(F&& f) {
    for (Block& block : m_blocks)
      for (std::size_t i = 0; i < block.made; ++i) f(block.objects[i]);
  }

 private:
  // The first block's size, in objects; each next block holds as many as all
  // the blocks before it.
  // Small, for a store that serves one record.
  static constexpr std::size_t kFirstBlock = 32;

  // Room for `room` objects, of which the first `made` are made.
  struct Block {
    StoreBlock memory;
    T* objects = nullptr;
    std::size_t room = 0;
    std::size_t made = 0;
  };
  // A new current block with room for n objects at least (the rest of the
  // one before stays unused).
  void TakeBlock(std::size_t n) {
    m_blocks.reserve(m_blocks.size() + 1);  // nothing can fail once the block is taken
    Block block;
    block.memory = TakeStoreBlock(n * sizeof(T));
    block.objects = static_cast<T*>(block.memory.at);
    block.room = block.memory.bytes / sizeof(T);
    m_blocks.push_back(block);
  }
  std::vector<Block> m_blocks;
  std::size_t m_made = 0;  // in every block
};

}  // namespace zr
