#pragma once
// Work on many drawings at once, on every core.

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "processor_spread.h"

// Calls work(i) for every i in [0, count) on up to one thread per core; the
// calling thread takes part. The other threads start off the caller's
// processor (helperThread): where the scheduler starts a thread on the
// processor of the thread that made it, the caller would otherwise wait
// there, while another processor is idle. Returns when every call has
// returned.
// REQUIRES: work is safe to run concurrently for different i and does not
// throw (each call keeps its own outcome, at index i of the caller's vector).
template <class Work>
void forEachInParallel(std::size_t count, Work work) {
  std::atomic<std::size_t> next{0};
  auto loop = [&] {
    for (std::size_t i; (i = next++) < count;) work(i);
  };
  const std::size_t threads = std::min<std::size_t>(count, std::max(1u, std::thread::hardware_concurrency()));
  std::vector<std::thread> pool;
  for (std::size_t t = 1; t < threads; ++t) pool.push_back(helperThread(loop));
  loop();
  for (std::thread& t : pool) t.join();
}

// Items prepared ahead of their use, in order, on `jobs` threads: while the
// caller uses item i (on its own thread, one item after the other), the
// parts of the next items run, at most 2 x `jobs` items ahead of the one in
// use (enough that no thread waits for the caller while another finishes a
// long item), so only a few prepared items are held at a time. With one job nothing runs
// on another thread: wait(i) runs item i's parts itself.
// Part 0 of an item (the long one) is started before the other parts of the
// item before it: the first items' long parts start at once, one a thread,
// and at the end the last item's short parts run beside its long one,
// rather than leave a thread idle.
// REQUIRES: part(i, p) is safe to run concurrently for different (i, p) and
// does not throw (each keeps its outcome at index i of the caller's vector).
class ReadAhead {
 public:
  using Part = std::function<void(std::size_t item, std::size_t part)>;

  ReadAhead(std::size_t items, std::size_t parts, unsigned jobs, Part part)
      : items_(items), parts_(parts), jobs_(std::max(1u, jobs)), part_(std::move(part)), done_(items, 0) {
    if (jobs_ == 1) return;
    order_.reserve(items_ * parts_);
    for (std::size_t i = 0; i <= items_; ++i) {
      if (i < items_) order_.push_back({i, 0});
      if (i > 0)
        for (std::size_t p = 1; p < parts_; ++p) order_.push_back({i - 1, p});
    }
    const std::size_t threads = std::min<std::size_t>(jobs_, items_ * parts_);
    // Each starts off the caller's processor, as forEachInParallel's do:
    // the caller would otherwise wait, the next thread not yet made (some
    // 4 ms at the start of a zrcheck run).
    for (std::size_t t = 0; t < threads; ++t) pool_.push_back(helperThread([this] { work(); }));
  }
  ~ReadAhead() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    more_.notify_all();
    for (std::thread& t : pool_) t.join();
  }
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // Returns when every part of item has run.
  void wait(std::size_t item) {
    if (pool_.empty()) {
      for (std::size_t p = 0; p < parts_; ++p) part_(item, p);
      return;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    ready_.wait(lock, [&] { return done_[item] == parts_; });
  }
  // The caller is through with item: items up to item + 2 x jobs may be prepared.
  void release(std::size_t item) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      used_ = std::max(used_, item + 1);
    }
    more_.notify_all();
  }

 private:
  void work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      more_.wait(lock, [&] { return stop_ || next_ == order_.size() || order_[next_].item < used_ + 2 * jobs_; });
      if (stop_ || next_ == order_.size()) return;
      const Task task = order_[next_++];
      lock.unlock();
      part_(task.item, task.part);
      lock.lock();
      if (++done_[task.item] == parts_) ready_.notify_all();
    }
  }

  const std::size_t items_, parts_;
  const unsigned jobs_;
  Part part_;
  std::mutex mutex_;
  std::condition_variable more_, ready_;
  std::vector<std::size_t> done_;  // parts run of each item
  struct Task {
    std::size_t item, part;
  };
  std::vector<Task> order_;  // the tasks in the order they start
  std::size_t next_ = 0;     // the next task: order_[next_]
  std::size_t used_ = 0;           // items released by the caller
  bool stop_ = false;
  std::vector<std::thread> pool_;
};
