// Memory handed to the background thread: faulted in with its contents as
// they were; a range dropped is left alone once StopFaulting returns; with
// background faults off, nothing is queued. Residency is read with mincore,
// page by page.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "zrdwg/BackgroundFaults.h"

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

namespace {

constexpr std::size_t kMiB = std::size_t(1) << 20;

// A fresh private mapping, none of its pages faulted in.
class Mapping {
 public:
  explicit Mapping(std::size_t bytes) : bytes_(bytes) {
    void* at = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    at_ = at == MAP_FAILED ? nullptr : static_cast<char*>(at);
  }
  ~Mapping() {
    if (!at_) return;
    StopFaulting(at_, bytes_);
    munmap(at_, bytes_);
  }
  Mapping(const Mapping&) = delete;
  Mapping& operator=(const Mapping&) = delete;

  char* at() const { return at_; }
  std::size_t bytes() const { return bytes_; }
  std::size_t pages() const { return bytes_ / pageSize(); }
  std::size_t residentPages() const {
    std::vector<unsigned char> resident(pages());
    if (mincore(at_, bytes_, resident.data()) != 0) return 0;
    std::size_t n = 0;
    for (unsigned char page : resident) n += page & 1;
    return n;
  }
  // Waits (up to 20 s) for every page to be resident.
  bool becomesResident() const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (residentPages() < pages()) {
      if (std::chrono::steady_clock::now() > until) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
  }

  static std::size_t pageSize() { return static_cast<std::size_t>(sysconf(_SC_PAGESIZE)); }

 private:
  char* at_ = nullptr;
  std::size_t bytes_;
};

// The kernel takes the advice (Linux 5.14 on); without it nothing is faulted
// in ahead, by design.
bool kernelFaultsInAhead() {
  Mapping probe(Mapping::pageSize());
  return probe.at() && madvise(probe.at(), probe.bytes(), MADV_POPULATE_WRITE) == 0;
}

class BackgroundFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!kernelFaultsInAhead()) GTEST_SKIP() << "the kernel cannot fault memory in ahead";
    SetBackgroundFaults(true);
  }
  void TearDown() override { SetBackgroundFaults(false); }
};

TEST_F(BackgroundFaults, FaultsARangeInAndLeavesWhatItHolds) {
  Mapping memory(8 * kMiB);
  ASSERT_TRUE(memory.at());
  // Two pages already written: their bytes must stay.
  std::memcpy(memory.at() + 10, "first", 5);
  std::memcpy(memory.at() + 5 * kMiB + 3, "second", 6);
  ASSERT_LT(memory.residentPages(), memory.pages());

  FaultInBackground(memory.at(), memory.bytes());
  ASSERT_TRUE(memory.becomesResident()) << memory.residentPages() << " of " << memory.pages() << " pages";
  EXPECT_EQ(std::memcmp(memory.at() + 10, "first", 5), 0);
  EXPECT_EQ(std::memcmp(memory.at() + 5 * kMiB + 3, "second", 6), 0);
  for (std::size_t at = 0; at < memory.bytes(); at += 64 * 1024) {
    if (at != 0 && at != 5 * kMiB) {
      ASSERT_EQ(memory.at()[at], 0) << at;
    }
  }
}

TEST_F(BackgroundFaults, ARangeStoppedIsLeftAloneOnceStopReturns) {
  // Large enough that the thread is still at it when it is stopped, on most
  // machines; either way, nothing may be faulted in after the stop.
  Mapping memory(64 * kMiB);
  ASSERT_TRUE(memory.at());
  FaultInBackground(memory.at(), memory.bytes());
  StopFaulting(memory.at(), memory.bytes());
  const std::size_t atStop = memory.residentPages();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(memory.residentPages(), atStop);

  // A range beside it, queued after, is faulted in: the thread goes on.
  Mapping next(2 * kMiB);
  ASSERT_TRUE(next.at());
  FaultInBackground(next.at(), next.bytes());
  EXPECT_TRUE(next.becomesResident());
}

TEST_F(BackgroundFaults, NothingIsQueuedWhileTheyAreOff) {
  Mapping skipped(4 * kMiB);
  Mapping queued(4 * kMiB);
  ASSERT_TRUE(skipped.at() && queued.at());
  SetBackgroundFaults(false);
  FaultInBackground(skipped.at(), skipped.bytes());
  SetBackgroundFaults(true);
  FaultInBackground(queued.at(), queued.bytes());
  // Ranges are taken in the order queued: once the second is in, the first
  // would be too, had it been queued.
  ASSERT_TRUE(queued.becomesResident());
  EXPECT_EQ(skipped.residentPages(), 0u);
}

TEST_F(BackgroundFaults, PartialPagesAtTheEndsAreLeftOut) {
  Mapping memory(3 * Mapping::pageSize());
  ASSERT_TRUE(memory.at());
  const std::size_t page = Mapping::pageSize();
  // From inside the first page to inside the third: only the second is whole.
  FaultInBackground(memory.at() + 1, 2 * page);
  Mapping marker(page);  // queued after: once it is in, the range before was handled
  ASSERT_TRUE(marker.at());
  FaultInBackground(marker.at(), marker.bytes());
  ASSERT_TRUE(marker.becomesResident());
  std::vector<unsigned char> resident(3);
  ASSERT_EQ(mincore(memory.at(), memory.bytes(), resident.data()), 0);
  EXPECT_EQ(resident[0] & 1, 0);
  EXPECT_EQ(resident[1] & 1, 1);
  EXPECT_EQ(resident[2] & 1, 0);
}

}  // namespace
