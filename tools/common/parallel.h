#pragma once
// Work on many drawings at once, on every core.

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

// Calls work(i) for every i in [0, count) on up to one thread per core; the
// calling thread takes part. Returns when every call has returned.
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
  for (std::size_t t = 1; t < threads; ++t) pool.emplace_back(loop);
  loop();
  for (std::thread& t : pool) t.join();
}
