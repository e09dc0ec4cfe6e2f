#pragma once
// Fresh memory faulted in on a thread of its own, ahead of its first use.
//
// The first write to a fresh page costs a fault in which the kernel finds
// the page and zeroes it; on a virtual machine a huge page's fault costs
// up to milliseconds. Memory that is about to be filled (the drawing's next
// arena block while the current one fills, a check's store of pins) can be
// handed to a background thread that asks the kernel to fault it in
// (madvise MADV_POPULATE_WRITE: the page tables are filled as a write would
// fill them, and nothing is written). The thread that fills the memory then
// finds it ready and does not wait for the zeroing, which another processor
// did meanwhile. Pages the filler reaches first it faults in itself, as it
// would without this.
//
// Contents are never changed, so a range handed over and freed before the
// thread reaches it costs at most the work; StopFaulting drops it first, so
// that memory given back is not faulted in again.

#include <cstddef>

// Queues [at, at + bytes) to be faulted in by the background thread (started
// on first use), in order of the calls, whole pages only. Does nothing while
// background faults are off (SetBackgroundFaults), or where the kernel
// cannot fault memory in ahead (before Linux 5.14).
void FaultInBackground(void* at, std::size_t bytes) noexcept;

// Drops the queued ranges that overlap [at, at + bytes), and waits for the
// background thread if it is faulting in one of them. Call it before the
// memory is given back (munmap, free).
void StopFaulting(void* at, std::size_t bytes) noexcept;

// Whether FaultInBackground queues anything, for the whole process: off at
// start. The zeroing then happens on another processor, which must be idle
// for the reader to gain, and the pages reach the reader's caches from
// there: a program that only reads takes as long and spends some 3 % more
// processor time. A program that has a processor idle while it waits for a
// large read (a checker with fewer drawings in flight than processors)
// turns it on.
void SetBackgroundFaults(bool on) noexcept;
