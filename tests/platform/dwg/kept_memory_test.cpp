// Memory given back while keeping is on: kept, resident, for the next
// drawing or array to take, up to the limit; what is asked for larger than
// anything kept is fresh; giving back empties it. Several threads taking
// and giving back at once (the checks of a run) each get memory of their
// own, and each takes back what it gave back before what the others did.
#include <gtest/gtest.h>

#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "dxf_text_edits.h"
#include "zrdwg/KeptMemory.h"
#include "zrdwg/LargeArray.h"
#include "zrdwg/OdDbBlockTableRecord.h"
#include "zrdwg/OdDbDatabase.h"

namespace {

using namespace testing_support;

constexpr std::size_t kMiB = std::size_t(1) << 20;

OdString u(const char* s) { return OdString::fromUtf8(s); }

// Nothing is kept before or after a test.
class KeptMemory : public ::testing::Test {
 protected:
  void SetUp() override { GiveBackKeptMemory(); }
  void TearDown() override {
    KeepFreedMemory(0);
    GiveBackKeptMemory();
  }
};

TEST_F(KeptMemory, AMappingGivenBackIsTakenAgainByTheNextOfItsSizeOrSmaller) {
  void* first = MapHugePages(6 * kMiB);
  std::memset(first, 0x5A, 6 * kMiB);
  UnmapHugePages(first, 6 * kMiB);
  EXPECT_EQ(KeptMemoryBytes(), 0u) << "kept while keeping is off";

  KeepFreedMemory(16 * kMiB);
  void* second = MapHugePages(6 * kMiB);
  UnmapHugePages(second, 6 * kMiB);
  EXPECT_EQ(KeptMemoryBytes(), 6 * kMiB);
  // A smaller request takes it, cut to its size: the same address, the
  // tail kept for a request of its own size.
  void* third = MapHugePages(3 * kMiB);  // rounded up to 4 MB
  EXPECT_EQ(third, second);
  EXPECT_EQ(KeptMemoryBytes(), 2 * kMiB);
  static_cast<char*>(third)[4 * kMiB - 1] = 1;  // its last page is still there
  void* tail = MapHugePages(2 * kMiB);
  EXPECT_EQ(tail, static_cast<char*>(second) + 4 * kMiB);
  EXPECT_EQ(KeptMemoryBytes(), 0u);
  static_cast<char*>(tail)[2 * kMiB - 1] = 1;
  UnmapHugePages(tail, 2 * kMiB);
  // A larger request than anything kept is fresh.
  UnmapHugePages(third, 3 * kMiB);
  EXPECT_EQ(KeptMemoryBytes(), 6 * kMiB);
  void* larger = MapHugePages(8 * kMiB);
  EXPECT_NE(larger, third);
  EXPECT_NE(larger, tail);
  EXPECT_EQ(KeptMemoryBytes(), 6 * kMiB);
  UnmapHugePages(larger, 8 * kMiB);
  EXPECT_EQ(KeptMemoryBytes(), 14 * kMiB);
  // Beyond the limit, memory goes back.
  void* more = MapHugePages(10 * kMiB);  // none of the 2, 4 and 8 MB mappings can serve: fresh
  EXPECT_EQ(KeptMemoryBytes(), 14 * kMiB);
  UnmapHugePages(more, 10 * kMiB);
  EXPECT_EQ(KeptMemoryBytes(), 14 * kMiB);

  // Keeping stopped: what is kept stays for the next to take, nothing more is kept.
  KeepFreedMemory(0);
  void* taken = MapHugePages(8 * kMiB);
  EXPECT_EQ(KeptMemoryBytes(), 6 * kMiB);
  UnmapHugePages(taken, 8 * kMiB);
  EXPECT_EQ(KeptMemoryBytes(), 6 * kMiB);
  GiveBackKeptMemory();
  EXPECT_EQ(KeptMemoryBytes(), 0u);
}

// A large drawing's arena blocks and its handle index, kept when it goes,
// are what the next drawing read takes; both drawings read alike.
TEST_F(KeptMemory, TheNextDrawingTakesWhatTheDrawingBeforeGaveBack) {
  std::string entities;
  constexpr int kLines = 60000;  // some 5 MB in the arena: three blocks
  for (int i = 0; i < kLines; ++i) entities += lineEntity(OdDbHandle(uint64_t(0x1000 + i)).hex());
  const std::string text = withEntities(roomyDrawingText(), entities);
  KeepFreedMemory(64 * kMiB);
  std::string first;
  {
    OdDbDatabasePtr db = OdDbDatabase::readDxfText(text, u("first.dxf"));
    first = db->dxfText();
  }
  const std::size_t kept = KeptMemoryBytes();
  EXPECT_GE(kept, 4 * kMiB) << "the arena's blocks at least";
  {
    OdDbDatabasePtr db = OdDbDatabase::readDxfText(text, u("second.dxf"));
    EXPECT_LT(KeptMemoryBytes(), kept / 2) << "the second drawing took most of it";
    EXPECT_EQ(db->dxfText(), first);
    int lines = 0;
    OdDbBlockTableRecordPtr space = db->getModelSpaceId().safeOpenObject();
    for (OdDbObjectIteratorPtr it = space->newIterator(); !it->done(); it->step()) ++lines;
    EXPECT_EQ(lines, kLines);
  }
}

// A thread of its own that runs what it is given, one call at a time, and
// returns when the call has: the same thread throughout.
class Helper {
 public:
  Helper() : thread_([this] { loop(); }) {}
  ~Helper() {
    run(nullptr);
    thread_.join();
  }
  void run(std::function<void()> work) {
    std::unique_lock<std::mutex> lock(mutex_);
    work_ = std::move(work);
    posted_ = true;
    changed_.notify_all();
    changed_.wait(lock, [&] { return !posted_; });
  }

 private:
  void loop() {
    for (;;) {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [&] { return posted_; });
      if (!work_) {
        posted_ = false;
        changed_.notify_all();
        return;
      }
      work_();
      posted_ = false;
      changed_.notify_all();
    }
  }
  std::mutex mutex_;
  std::condition_variable changed_;
  std::function<void()> work_;
  bool posted_ = false;
  std::thread thread_;
};

// Two threads each give back a mapping of the same size: each takes its own
// back, whichever asks first; a third, which gave back none, takes one of
// theirs rather than fresh memory.
TEST_F(KeptMemory, AThreadTakesBackTheMappingItGaveBackBeforeAnotherThreads) {
  KeepFreedMemory(16 * kMiB);
  Helper other;
  void* mine = MapHugePages(4 * kMiB);
  void* theirs = nullptr;
  other.run([&] { theirs = MapHugePages(4 * kMiB); });
  ASSERT_NE(mine, theirs);
  UnmapHugePages(mine, 4 * kMiB);
  other.run([&] { UnmapHugePages(theirs, 4 * kMiB); });
  ASSERT_EQ(KeptMemoryBytes(), 8 * kMiB);

  // The other thread asks first, and gets its own, not the one given back first.
  void* taken = nullptr;
  other.run([&] { taken = MapHugePages(4 * kMiB); });
  EXPECT_EQ(taken, theirs);
  void* again = MapHugePages(4 * kMiB);
  EXPECT_EQ(again, mine);
  EXPECT_EQ(KeptMemoryBytes(), 0u);

  UnmapHugePages(again, 4 * kMiB);
  other.run([&] { UnmapHugePages(taken, 4 * kMiB); });
  void* stranger = nullptr;
  std::thread([&] { stranger = MapHugePages(4 * kMiB); }).join();
  EXPECT_TRUE(stranger == mine || stranger == theirs) << "a thread with nothing of its own takes what is kept";
  EXPECT_EQ(KeptMemoryBytes(), 4 * kMiB);
  UnmapHugePages(stranger, 4 * kMiB);
}

TEST_F(KeptMemory, ThreadsTakingAndGivingBackAtOnceEachGetMemoryOfTheirOwn) {
  KeepFreedMemory(32 * kMiB);
  constexpr int kThreads = 4, kRounds = 200;
  std::vector<std::thread> threads;
  std::vector<int> wrong(kThreads, 0);
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([t, &wrong] {
      for (int r = 0; r < kRounds; ++r) {
        const std::size_t bytes = ((t + r) % 3 + 1) * 2 * kMiB;
        auto* at = static_cast<unsigned char*>(MapHugePages(bytes));
        std::memset(at, t + 1, bytes);
        // Nobody else wrote into it meanwhile.
        for (std::size_t i = 0; i < bytes; i += 4096)
          if (at[i] != t + 1) ++wrong[t];
        UnmapHugePages(at, bytes);
      }
    });
  for (std::thread& t : threads) t.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(wrong[t], 0) << "thread " << t;
  EXPECT_LE(KeptMemoryBytes(), 32 * kMiB);
}

}  // namespace
