// The thread's event loop as a front end uses it: pumping, the idle handler
// of modal loops, and file descriptors watched while a loop waits.
//
// A loop that has nothing to do waits for the first of: a message posted or
// sent to the thread (also from another thread), a due timer, or a watched
// descriptor becoming ready. So a front end can wait for its terminal while
// timers, cross-thread sends and worker threads filling controls go on.
#pragma once

#include <chrono>
#include <functional>

#include "zrui/wintypes.h"

namespace zrui {

// ---- pumping ----
// Processes every message waiting for this thread, as a modal loop would.
void Pump();
// Pumps (waiting for messages, timers and watched descriptors when there is
// nothing to do) until `done` holds or the timeout passes. Returns `done()`.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

// ---- modal loops ----
// Called when a modal loop has nothing to do (a front end reads input here
// and posts it). Returns true when it did something. One per thread.
using IdleHandler = std::function<bool(HWND modalWindow)>;
void SetIdleHandler(IdleHandler handler);
// The same, and a loop that stays idle calls the handler again every
// `recheck` (the handler may act on time passing: give up waiting, say).
void SetIdleHandler(IdleHandler handler, std::chrono::milliseconds recheck);

// After its script has run, a modal loop that stays idle this long ends with
// IDABORT instead of waiting for ever (0 = wait for ever, the default).
void SetModalIdleTimeout(std::chrono::milliseconds timeout);
// Number of modal loops ended by that timeout since the start.
int AbandonedModalLoops();

// ---- watched descriptors ----
// Runs `callback(fd, revents)` on this thread whenever one of its loops waits
// and `fd` is ready for `events` (poll(2) bits: POLLIN, POLLOUT...; revents
// may also carry POLLHUP/POLLERR). The callback typically reads the input
// and posts it (zrui/input.h); it may watch and unwatch descriptors. The
// caller keeps `fd` open until it unwatches it. Returns a watch id (> 0).
// Watches belong to the calling thread.
using DescriptorCallback = std::function<void(int fd, short revents)>;
int WatchDescriptor(int fd, short events, DescriptorCallback callback);
// Ends a watch of this thread; unknown ids are ignored.
void UnwatchDescriptor(int watchId);
// Number of descriptors this thread watches.
size_t WatchedDescriptorCount();

}  // namespace zrui
