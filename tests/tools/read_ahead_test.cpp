// Items prepared ahead of their use on several threads: every part of every
// item runs once, an item is handed over only when all its parts have run,
// and each item's long part (part 0) starts before the short parts of the
// item before it, so that the first items' long parts start at once. With a
// thread for every processor and no fewer items, each thread is held to a
// processor of its own.
#include <gtest/gtest.h>
#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "parallel.h"

namespace {

using Task = std::pair<std::size_t, std::size_t>;  // item, part

TEST(ReadAhead, EveryPartRunsOnceAndAnItemIsHandedOverWhenAllItsPartsHaveRun) {
  constexpr std::size_t kItems = 40, kParts = 3;
  std::vector<std::atomic<int>> runs(kItems * kParts);
  for (unsigned jobs : {1u, 2u, 4u}) {
    for (auto& r : runs) r = 0;
    ReadAhead ahead(kItems, kParts, jobs, [&](std::size_t item, std::size_t part) { ++runs[item * kParts + part]; });
    for (std::size_t i = 0; i < kItems; ++i) {
      ahead.wait(i);
      for (std::size_t p = 0; p < kParts; ++p) ASSERT_EQ(runs[i * kParts + p].load(), 1) << jobs << " " << i << " " << p;
      ahead.release(i);
    }
  }
}

// Two threads: the first two items' long parts each hold their thread
// until both have started. Had the first item's short part come second, it
// would have started beside the first long part instead (and nothing would
// hold: the test would see it second).
TEST(ReadAhead, EachItemsLongPartStartsBeforeTheShortPartsOfTheItemBefore) {
  constexpr std::size_t kItems = 6, kParts = 2;
  std::mutex mutex;
  std::condition_variable started;
  std::vector<Task> order;
  ReadAhead ahead(kItems, kParts, 2, [&](std::size_t item, std::size_t part) {
    std::unique_lock<std::mutex> lock(mutex);
    order.emplace_back(item, part);
    started.notify_all();
    if (part == 0 && item < 2)
      started.wait_for(lock, std::chrono::seconds(10), [&] { return order.size() > 1; });
  });
  for (std::size_t i = 0; i < kItems; ++i) {
    ahead.wait(i);
    ahead.release(i);
  }
  std::lock_guard<std::mutex> lock(mutex);
  ASSERT_EQ(order.size(), kItems * kParts);
  const std::vector<Task> firstTwo = {order[0], order[1]};
  EXPECT_TRUE((firstTwo == std::vector<Task>{{0, 0}, {1, 0}}) || (firstTwo == std::vector<Task>{{1, 0}, {0, 0}}))
      << "started second: item " << order[1].first << " part " << order[1].second;
}

// The processors the calling thread may run on.
std::vector<int> processorsOfThisThread() {
  cpu_set_t set;
  CPU_ZERO(&set);
  EXPECT_EQ(sched_getaffinity(0, sizeof set, &set), 0);
  std::vector<int> cpus;
  for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
    if (CPU_ISSET(cpu, &set)) cpus.push_back(cpu);
  return cpus;
}

// Runs `items` items of `parts` parts on `jobs` threads, every part waiting
// (up to 10 s) until `together` parts have started, so that that many
// threads take part; returns the processors each thread that ran a part
// may run on.
std::map<std::thread::id, std::vector<int>> processorsOfThePool(std::size_t items, std::size_t parts, unsigned jobs,
                                                                std::size_t together) {
  std::mutex mutex;
  std::condition_variable started;
  std::size_t count = 0;
  std::map<std::thread::id, std::vector<int>> seen;
  ReadAhead ahead(items, parts, jobs, [&](std::size_t, std::size_t) {
    const std::vector<int> cpus = processorsOfThisThread();
    std::unique_lock<std::mutex> lock(mutex);
    seen[std::this_thread::get_id()] = cpus;
    ++count;
    started.notify_all();
    started.wait_for(lock, std::chrono::seconds(10), [&] { return count >= together; });
  });
  for (std::size_t i = 0; i < items; ++i) {
    ahead.wait(i);
    ahead.release(i);
  }
  return seen;
}

TEST(ReadAhead, AThreadForEveryProcessorIsEachHeldToAProcessorOfItsOwn) {
  const std::vector<int> all = processorsOfThisThread();
  if (all.size() < 2) GTEST_SKIP() << "one processor";
  const auto jobs = static_cast<unsigned>(all.size());
  const auto seen = processorsOfThePool(jobs, 1, jobs, jobs);
  ASSERT_EQ(seen.size(), all.size());
  std::vector<int> held;
  for (const auto& [thread, cpus] : seen) {
    ASSERT_EQ(cpus.size(), 1u);
    held.push_back(cpus[0]);
  }
  std::sort(held.begin(), held.end());
  EXPECT_EQ(held, all);  // one thread on each, none on a processor the caller may not use
  EXPECT_EQ(processorsOfThisThread(), all);  // the caller is left where it was
}

TEST(ReadAhead, ThreadsNotAsManyAsTheProcessorsOrMoreThanTheItemsAreLeftWhereTheCallerMayRun) {
  const std::vector<int> all = processorsOfThisThread();
  if (all.size() < 2) GTEST_SKIP() << "one processor";
  // Fewer: one item, one thread, on a machine of several processors.
  for (const auto& [thread, cpus] : processorsOfThePool(1, 1, 2, 1)) EXPECT_EQ(cpus, all);
  // A thread a processor, but fewer items: one item of two parts, each
  // part on a thread of its own.
  const auto twoParts = processorsOfThePool(1, 2, 2, 2);
  EXPECT_EQ(twoParts.size(), 2u);
  for (const auto& [thread, cpus] : twoParts) EXPECT_EQ(cpus, all);
  // More: two threads while the caller may run on one processor only.
  cpu_set_t one;
  CPU_ZERO(&one);
  CPU_SET(all[0], &one);
  ASSERT_EQ(pthread_setaffinity_np(pthread_self(), sizeof one, &one), 0);
  const auto seen = processorsOfThePool(2, 1, 2, 2);
  cpu_set_t every;
  CPU_ZERO(&every);
  for (int cpu : all) CPU_SET(cpu, &every);
  ASSERT_EQ(pthread_setaffinity_np(pthread_self(), sizeof every, &every), 0);
  EXPECT_EQ(seen.size(), 2u);
  for (const auto& [thread, cpus] : seen) EXPECT_EQ(cpus, std::vector<int>{all[0]});
}

}  // namespace
