#pragma once
// Threads that work beside the one that started them, kept off its
// processor. A scheduler that packs work onto few processors (as some
// virtual machines' kernels do) places a new thread on the processor of the
// thread that made it, even while another processor is idle: the two then
// take turns on one processor, and the helper gains nothing.

#include <thread>
#include <utility>

// The processor the calling thread runs on now, or -1 where that is unknown.
int currentProcessor() noexcept;

// Moves the calling thread to a processor other than `processor` (the one
// its starter works on) that it may run on, then lets it run on any of them
// again, as before: only where it starts changes, and the scheduler may move
// it later. Nothing when `processor` is -1 or it may run on no other.
void moveOffProcessor(int processor) noexcept;

// A thread running work() beside the calling one: it starts by moving off
// the caller's processor (moveOffProcessor), then runs work as any thread.
template <class Work>
std::thread helperThread(Work work) {
  return std::thread([beside = currentProcessor(), work = std::move(work)]() mutable {
    moveOffProcessor(beside);
    work();
  });
}
