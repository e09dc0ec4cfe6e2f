// Helper threads moved off the processor of the thread that started them,
// and free to run anywhere afterwards; nothing changes where there is no
// other processor to go to.
#include <gtest/gtest.h>

#include <sched.h>

#include <functional>
#include <thread>
#include <vector>

#include "processor_spread.h"

namespace {

cpu_set_t allowedProcessors() {
  cpu_set_t set;
  CPU_ZERO(&set);
  sched_getaffinity(0, sizeof set, &set);
  return set;
}

std::vector<int> processorsOf(const cpu_set_t& set) {
  std::vector<int> processors;
  for (int p = 0; p < CPU_SETSIZE; ++p)
    if (CPU_ISSET(p, &set)) processors.push_back(p);
  return processors;
}

struct Landing {
  int processor = -1;  // where the thread ran right after `move`
  bool maskKept = false;
};

// A new thread that starts on `starter` (held there, then let go, as a
// packing scheduler would leave it), then calls `move`. The thread may be
// moved again by the scheduler in the moment between `move` and the look at
// where it runs: a landing that misses `wanted` is tried twice more.
Landing landing(int starter, const std::function<void()>& move, const std::function<bool(int)>& wanted) {
  const cpu_set_t allowed = allowedProcessors();
  Landing result;
  for (int attempt = 0; attempt < 3 && !wanted(result.processor); ++attempt) {
    std::thread helper([&] {
      cpu_set_t only;
      CPU_ZERO(&only);
      CPU_SET(starter, &only);
      if (sched_setaffinity(0, sizeof only, &only) != 0 || sched_setaffinity(0, sizeof allowed, &allowed) != 0) return;
      move();
      result.processor = currentProcessor();
      const cpu_set_t after = allowedProcessors();
      result.maskKept = CPU_EQUAL(&after, &allowed);
    });
    helper.join();
  }
  return result;
}

TEST(MoveOffProcessor, AThreadLeavesItsStartersProcessorAndKeepsItsMask) {
  const std::vector<int> processors = processorsOf(allowedProcessors());
  if (processors.size() < 2) GTEST_SKIP() << "one processor: nowhere to move to";
  for (int starter : {processors.front(), processors.back()}) {
    const Landing l = landing(starter, [&] { moveOffProcessor(starter); }, [&](int p) { return p >= 0 && p != starter; });
    EXPECT_NE(l.processor, starter);
    EXPECT_NE(l.processor, -1);
    EXPECT_TRUE(l.maskKept) << "from " << starter;
  }
}

TEST(MoveOffProcessor, NothingChangesWithoutAnotherProcessorOrAKnownOne) {
  const int only = processorsOf(allowedProcessors()).front();
  std::thread helper([&] {
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(only, &one);
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    moveOffProcessor(only);  // no other processor allowed
    EXPECT_EQ(currentProcessor(), only);
    cpu_set_t now = allowedProcessors();
    EXPECT_TRUE(CPU_EQUAL(&now, &one));
    moveOffProcessor(-1);  // unknown: nothing to leave
    now = allowedProcessors();
    EXPECT_TRUE(CPU_EQUAL(&now, &one));
  });
  helper.join();
}

}  // namespace
