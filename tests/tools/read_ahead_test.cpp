// Items prepared ahead of their use on several threads: every part of every
// item runs once, an item is handed over only when all its parts have run,
// and each item's long part (part 0) starts before the short parts of the
// item before it, so that the first items' long parts start at once and the
// last item's short parts run beside its long one.
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

// Two threads: the first item's long part holds its thread until another
// part starts; the part that the second thread starts is the second item's
// long part, not the first item's short one. The last part started is the
// last item's short part.
TEST(ReadAhead, EachItemsLongPartStartsBeforeTheShortPartsOfTheItemBefore) {
  constexpr std::size_t kItems = 6, kParts = 2;
  std::mutex mutex;
  std::condition_variable started;
  std::vector<Task> order;
  ReadAhead ahead(kItems, kParts, 2, [&](std::size_t item, std::size_t part) {
    std::unique_lock<std::mutex> lock(mutex);
    order.emplace_back(item, part);
    started.notify_all();
    if (item == 0 && part == 0)
      started.wait_for(lock, std::chrono::seconds(10), [&] { return order.size() > 1; });
  });
  for (std::size_t i = 0; i < kItems; ++i) {
    ahead.wait(i);
    ahead.release(i);
  }
  std::lock_guard<std::mutex> lock(mutex);
  ASSERT_EQ(order.size(), kItems * kParts);
  EXPECT_EQ(order[0], Task(0, 0));
  EXPECT_EQ(order[1], Task(1, 0));
  EXPECT_EQ(order.back(), Task(kItems - 1, 1));
}

}  // namespace
