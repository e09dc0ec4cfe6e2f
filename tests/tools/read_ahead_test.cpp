// Items prepared ahead of their use on several threads: every part of every
// item runs once, an item is handed over only when all its parts have run,
// and each item's long part (part 0) starts before the short parts of the
// item before it, so that the first items' long parts start at once.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
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

}  // namespace
