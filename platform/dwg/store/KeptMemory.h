#pragma once
// The store's side of zrdwg/KeptMemory.h: where the arena and the mapped
// arrays take their memory from, and give it back to.

#include <cstddef>

namespace kept {

// A kept mapping of at least `bytes` (whole huge pages) at a huge page's
// boundary, cut to `bytes` (the rest stays kept): the smallest that the
// calling thread gave back, else the smallest there is; null when none is
// kept.
void* TakeMapping(std::size_t bytes) noexcept;
// Keeps the mapping [at, at + bytes) (whole huge pages) when there is room;
// false when the caller is to unmap it.
bool KeepMapping(void* at, std::size_t bytes) noexcept;

// A kept arena block (StoredObject::kArenaBlock bytes, aligned to its
// size): the last that the calling thread gave back, else the last given
// back; null when none is kept.
char* TakeBlock() noexcept;
// Keeps the arena block when there is room; false when the caller is to
// free it.
bool KeepBlock(char* block) noexcept;

}  // namespace kept
