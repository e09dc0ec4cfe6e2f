#pragma once
// Large memory given back kept for the process's next use, resident.
//
// A drawing's large memory (its arena's blocks, its mapped arrays, a check's
// store of pins) is fresh when taken: the kernel faults each page in and
// zeroes it, and when the memory is given back it unmaps the pages again,
// on two processors each time with a TLB shootdown. A run that reads many
// drawings one after the other (or several at once, each after another)
// takes about the same memory for each. With memory kept, what a drawing
// gives back waits, resident, for the next drawing to take, rather than be
// unmapped and faulted in fresh. The run's peak grows by what is kept
// between two drawings.
//
// The memory kept is the arena's blocks (TagArena, StoredObject::kArenaBlock
// each) and mappings of whole huge pages (MapHugePages, LargeArray); a
// mapping taken may be larger than asked for, its tail then kept apart for
// a taker of its size. A thread takes back what it gave back itself before
// what others did (a run's checks on several threads each find their own
// last drawing's memory, still in their processor's caches).
// Contents are left as the last user left them.

#include <cstddef>

// Keeps up to `bytes` of the memory given back from now on, for the whole
// process: what is kept beyond that is given back as usual. 0 (at start):
// nothing more is kept; what is kept already stays for the next to take.
// Thread-safe.
void KeepFreedMemory(std::size_t bytes) noexcept;

// Gives back all the memory kept now (and nothing is kept unless
// KeepFreedMemory allows it). Thread-safe.
void GiveBackKeptMemory() noexcept;

// The bytes kept now.
std::size_t KeptMemoryBytes() noexcept;
