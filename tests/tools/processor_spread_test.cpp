// A helper thread moves off the processor of the thread that started it, and
// may run anywhere again afterwards; nothing changes where it has no other
// processor to go to.
#include <gtest/gtest.h>

#include <sched.h>

#include <thread>

#include "processor_spread.h"

namespace {

cpu_set_t allowedProcessors() {
  cpu_set_t set;
  CPU_ZERO(&set);
  sched_getaffinity(0, sizeof set, &set);
  return set;
}

int firstOf(const cpu_set_t& set) {
  for (int p = 0; p < CPU_SETSIZE; ++p)
    if (CPU_ISSET(p, &set)) return p;
  return -1;
}

TEST(MoveOffProcessor, AThreadLeavesTheStartersProcessorAndKeepsItsMask) {
  const cpu_set_t allowed = allowedProcessors();
  if (CPU_COUNT(&allowed) < 2) GTEST_SKIP() << "one processor: nowhere to move to";
  const int starter = firstOf(allowed);
  int ranOn = -1;
  cpu_set_t after;
  // The thread is held to the starter's processor first, as a packing
  // scheduler would place it; its mask then is all of `allowed`.
  std::thread helper([&] {
    cpu_set_t only;
    CPU_ZERO(&only);
    CPU_SET(starter, &only);
    ASSERT_EQ(sched_setaffinity(0, sizeof only, &only), 0);
    ASSERT_EQ(sched_setaffinity(0, sizeof allowed, &allowed), 0);
    ASSERT_EQ(currentProcessor(), starter);
    moveOffProcessor(starter);
    ranOn = currentProcessor();
    after = allowedProcessors();
  });
  helper.join();
  EXPECT_NE(ranOn, starter);
  EXPECT_TRUE(CPU_ISSET(ranOn, &allowed)) << ranOn;
  EXPECT_TRUE(CPU_EQUAL(&after, &allowed));
}

TEST(MoveOffProcessor, NothingChangesWithoutAnotherProcessorOrAKnownOne) {
  const cpu_set_t allowed = allowedProcessors();
  const int only = firstOf(allowed);
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
