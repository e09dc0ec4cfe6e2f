#include "zrdwg/BackgroundFaults.h"

#include <sys/mman.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23  // Linux 5.14
#endif

namespace {

struct Range {
  char* at = nullptr;
  std::size_t bytes = 0;
  bool overlaps(const char* from, std::size_t n) const { return at < from + n && from < at + bytes; }
};

// The range the thread works on is faulted in a huge page at a time, so that
// a range to be dropped waits at most for one.
constexpr std::size_t kStep = std::size_t(2) << 20;
constexpr std::uintptr_t kPage = 4096;

std::atomic<bool> enabled{false};
// Set once anything was queued: until then there is nothing to stop.
std::atomic<bool> used{false};
// Cleared for good when the kernel refuses the advice.
std::atomic<bool> supported{true};

class Faulter {
 public:
  void queue(char* at, std::size_t bytes) {
    std::lock_guard<std::mutex> hold(lock_);
    if (!started_) {
      started_ = true;
      try {
        // Never joined: it waits for work until the process ends.
        std::thread([this] { run(); }).detach();
      } catch (const std::system_error&) {
        supported = false;  // no thread: pages fault in where they are used
        return;
      }
    }
    queue_.push_back(Range{at, bytes});
    wake_.notify_one();
  }

  void stop(const char* at, std::size_t bytes) {
    std::unique_lock<std::mutex> hold(lock_);
    queue_.erase(std::remove_if(queue_.begin(), queue_.end(), [&](const Range& r) { return r.overlaps(at, bytes); }),
                 queue_.end());
    if (current_.overlaps(at, bytes)) {
      dropCurrent_ = true;
      done_.wait(hold, [&] { return !current_.overlaps(at, bytes); });
    }
  }

 private:
  void run() {
    std::unique_lock<std::mutex> hold(lock_);
    for (;;) {
      wake_.wait(hold, [&] { return !queue_.empty(); });
      current_ = queue_.front();
      queue_.pop_front();
      dropCurrent_ = false;
      for (std::size_t done = 0; done < current_.bytes && !dropCurrent_;) {
        const std::size_t n = std::min(kStep, current_.bytes - done);
        char* at = current_.at + done;
        hold.unlock();
        const bool refused = madvise(at, n, MADV_POPULATE_WRITE) != 0 && errno == EINVAL;
        hold.lock();
        if (refused) {
          supported = false;
          break;
        }
        done += n;
      }
      current_ = Range{};
      done_.notify_all();
    }
  }

  std::mutex lock_;
  std::condition_variable wake_;  // work queued
  std::condition_variable done_;  // current_ finished or dropped
  std::deque<Range> queue_;
  Range current_;
  bool dropCurrent_ = false;
  bool started_ = false;
};

// Made on first use and never destroyed: the detached thread uses it until
// the process ends.
Faulter& faulter() {
  static Faulter* const one = new Faulter;
  return *one;
}

bool active() { return enabled.load(std::memory_order_relaxed) && supported.load(std::memory_order_relaxed); }

}  // namespace

void FaultInBackground(void* at, std::size_t bytes) noexcept {
  // Whole pages only: the advice takes ranges that start at a page.
  const auto from = (reinterpret_cast<std::uintptr_t>(at) + kPage - 1) & ~(kPage - 1);
  const auto to = (reinterpret_cast<std::uintptr_t>(at) + bytes) & ~(kPage - 1);
  if (!active() || to <= from) return;
  used = true;
  try {
    faulter().queue(reinterpret_cast<char*>(from), to - from);
  } catch (...) {
    // No room to queue: the pages fault in where they are used.
  }
}

void StopFaulting(void* at, std::size_t bytes) noexcept {
  // A range queued while faults were on is dropped even after they went off.
  if (bytes == 0 || !used) return;
  faulter().stop(static_cast<const char*>(at), bytes);
}

void SetBackgroundFaults(bool on) noexcept { enabled = on; }
