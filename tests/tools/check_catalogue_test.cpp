// The catalogue cache of a zrcheck run, as the checks of several drawings
// use it at once: each code asked once, failures told to each drawing that
// used them, thrown errors never kept.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "check_catalogue.h"

namespace {

// Answers "CODE\f1\fPIN\f" for every code; codes starting with "BAD" fail as
// a failed statement does (an error shown, no rows); mates of "THROW" and
// rows of "THROWROWS" throw. Notes which codes' rows were asked, in order,
// and on which threads. With readsTogether set it also reads several codes'
// rows at once, unless one of them is a "BAD" code (refused, as a
// catalogue refuses a statement that failed) or "THROWROWS" (throws). With
// gated set, the first read of a code's rows waits until open() is called.
class FakeCatalogue : public zr::PinCatalogue {
 public:
  std::atomic<int> rowsAsked{0}, matesAsked{0};
  std::atomic<int> errors{0};
  std::mutex noting;
  std::vector<std::u16string> rowOrder;
  std::vector<std::thread::id> rowThreads;
  bool readsTogether = false;
  std::vector<std::vector<std::u16string>> askedTogether;  // each read of several codes, refused or not
  std::vector<std::thread::id> togetherThreads;            // the thread of each
  std::vector<std::vector<std::u16string>> matesTogether;  // each read of several codes' mates
  std::vector<std::thread::id> matesThreads;               // the thread of each
  bool gated = false;

  // Waits (5 s at most) until `reads` reads of several codes' mates have run;
  // false when they have not.
  bool awaitMatesTogether(std::size_t reads) {
    std::unique_lock<std::mutex> lock(noting);
    return matesRead_.wait_for(lock, std::chrono::seconds(5), [&] { return matesTogether.size() >= reads; });
  }

  // Waits until a read of a code's rows has begun (and waits at the gate).
  void awaitFirstRead() {
    std::unique_lock<std::mutex> lock(noting);
    gate_.wait(lock, [this] { return reading_; });
  }
  void open() {
    {
      std::lock_guard<std::mutex> lock(noting);
      gated = false;
    }
    gate_.notify_all();
  }

  bool LinhasPinosJuntas(const std::vector<OdString>& codes, std::vector<std::unique_ptr<CStringList>>& rows) override {
    if (!readsTogether) return false;
    {
      std::lock_guard<std::mutex> lock(noting);
      askedTogether.emplace_back();
      for (const OdString& code : codes) askedTogether.back().push_back(code.str());
      togetherThreads.push_back(std::this_thread::get_id());
    }
    rows.clear();
    for (const OdString& code : codes) {
      if (code == OdString(u"THROWROWS")) throw std::runtime_error("the statement failed");
      if (code.str().rfind(u"BAD", 0) == 0) return false;
      rows.push_back(std::make_unique<CStringList>(10));
      rows.back()->AddTail(CString(code.str() + u"\f1\fPIN\f"));
    }
    return true;
  }

  std::unique_ptr<CStringList> LinhasPinos(const OdString& code) override {
    {
      std::unique_lock<std::mutex> lock(noting);
      reading_ = true;
      gate_.notify_all();
      gate_.wait(lock, [this] { return !gated; });
    }
    ++rowsAsked;
    {
      std::lock_guard<std::mutex> lock(noting);
      rowOrder.push_back(code.str());
      rowThreads.push_back(std::this_thread::get_id());
    }
    if (code == OdString(u"THROWROWS")) throw std::runtime_error("the statement failed");
    // Long enough that threads asking for the same code overlap.
    std::this_thread::sleep_for(std::chrono::microseconds(200));
    auto rows = std::make_unique<CStringList>(10);
    if (code.str().rfind(u"BAD", 0) == 0) {
      ++errors;
      return rows;
    }
    rows->AddTail(CString(code.str() + u"\f1\fPIN\f"));
    return rows;
  }
  // With readsTogether, every code's mates at once, unless one is "THROW"
  // (refused).
  bool ContraPecasJuntas(const std::vector<OdString>& codes, std::vector<std::unique_ptr<CStringList>>& mates) override {
    if (!readsTogether) return false;
    {
      std::lock_guard<std::mutex> lock(noting);
      matesTogether.emplace_back();
      for (const OdString& code : codes) matesTogether.back().push_back(code.str());
      matesThreads.push_back(std::this_thread::get_id());
    }
    matesRead_.notify_all();
    mates.clear();
    for (const OdString& code : codes) {
      if (code == OdString(u"THROW")) return false;
      mates.push_back(std::make_unique<CStringList>(10));
      mates.back()->AddTail(CString(code.str() + u"-M"));
    }
    return true;
  }
  std::unique_ptr<CStringList> ContraPecas(const OdString& code) override {
    ++matesAsked;
    if (code == OdString(u"THROW")) throw std::runtime_error("the statement failed");
    auto mates = std::make_unique<CStringList>(10);
    mates->AddTail(CString(code.str() + u"-M"));
    return mates;
  }

 private:
  std::condition_variable gate_;
  std::condition_variable matesRead_;
  bool reading_ = false;
};

OdString codeNumber(int i) { return OdString::fromUtf8("C" + std::to_string(i)); }

TEST(RunCatalogue, EightChecksAtOnceAskEachCodeOnceAndGetTheSameAnswers) {
  FakeCatalogue fake;
  RunCatalogue run(fake, &fake.errors);
  constexpr int kCodes = 40, kThreads = 8;
  std::vector<int> wrong(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      CheckCatalogue view(run);
      for (int k = 0; k < kCodes; ++k) {
        const OdString code = codeNumber((k * (t + 1)) % kCodes);  // each thread its own order
        std::unique_ptr<CStringList> rows = view.LinhasPinos(code);
        if (view.unknownCode(code) || rows->GetCount() != 1 ||
            rows->GetHead() != CString(code.str() + u"\f1\fPIN\f"))
          ++wrong[t];
        const std::vector<OdString>& mates = view.mates(code);
        if (mates.size() != 1 || mates[0] != OdString(code.str() + u"-M")) ++wrong[t];
      }
      if (view.failed()) ++wrong[t];
    });
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(std::vector<int>(kThreads, 0), wrong);
  EXPECT_EQ(kCodes, fake.rowsAsked.load());
  EXPECT_EQ(kCodes, fake.matesAsked.load());
}

TEST(RunCatalogue, AFailedAnswerFailsEachCheckThatUsesItAndNoOther) {
  FakeCatalogue fake;
  RunCatalogue run(fake, &fake.errors);
  CheckCatalogue first(run), clean(run), later(run);
  EXPECT_TRUE(first.unknownCode(OdString(u"BAD1")));
  EXPECT_TRUE(first.failed());
  EXPECT_FALSE(clean.unknownCode(OdString(u"GOOD")));
  EXPECT_FALSE(clean.failed());
  // The failed answer is kept for the run, and still fails the next check.
  EXPECT_TRUE(later.unknownCode(OdString(u"BAD1")));
  EXPECT_TRUE(later.failed());
  EXPECT_EQ(2, fake.rowsAsked.load());
  EXPECT_EQ(1, fake.errors.load());
}

TEST(RunCatalogue, AThrownErrorReachesEveryCallerAndIsNotKept) {
  FakeCatalogue fake;
  RunCatalogue run(fake, &fake.errors);
  std::atomic<int> thrown{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      CheckCatalogue view(run);
      try {
        view.mates(OdString(u"THROW"));
      } catch (const std::runtime_error&) {
        ++thrown;
      }
    });
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(4, thrown.load());
  EXPECT_EQ(4, fake.matesAsked.load());  // asked again by each, nothing kept
  CheckCatalogue view(run);
  EXPECT_EQ(1u, view.mates(OdString(u"C1")).size());
}

TEST(RunCatalogue, ReadAheadReadsThePrefetchedRowsOnAThreadOfItsOwnInTheOrderAsked) {
  FakeCatalogue fake;
  RunCatalogue run(fake, &fake.errors, RunCatalogue::ReadAhead::kOnThread);
  CheckCatalogue view(run);
  constexpr int kCodes = 20;
  for (int k = 0; k < kCodes; ++k) EXPECT_TRUE(view.Prefetch(codeNumber(k)));
  EXPECT_TRUE(view.Prefetch(codeNumber(3)));  // asked already: not read twice
  for (int k = kCodes - 1; k >= 0; --k) {
    std::unique_ptr<CStringList> rows = view.LinhasPinos(codeNumber(k));
    ASSERT_EQ(1, rows->GetCount());
    EXPECT_EQ(CString(codeNumber(k).str() + u"\f1\fPIN\f"), rows->GetHead());
  }
  EXPECT_FALSE(view.failed());
  EXPECT_EQ(kCodes, fake.rowsAsked.load());
  std::vector<std::u16string> asked;
  for (int k = 0; k < kCodes; ++k) asked.push_back(codeNumber(k).str());
  EXPECT_EQ(asked, fake.rowOrder);
  for (const std::thread::id& id : fake.rowThreads) EXPECT_NE(std::this_thread::get_id(), id);
}

// Read ahead, the codes queued while a statement runs are asked by the
// next one together, each code once, and every check gets each code's own
// rows.
TEST(RunCatalogue, CodesQueuedWhileAStatementRunsAreReadTogether) {
  FakeCatalogue fake;
  fake.readsTogether = true;
  fake.gated = true;
  RunCatalogue run(fake, &fake.errors, RunCatalogue::ReadAhead::kOnThread);
  CheckCatalogue view(run);
  EXPECT_TRUE(view.Prefetch(codeNumber(0)));
  fake.awaitFirstRead();  // C0 alone, held at the gate
  constexpr int kCodes = 20;
  for (int k = 1; k < kCodes; ++k) EXPECT_TRUE(view.Prefetch(codeNumber(k)));
  EXPECT_TRUE(view.Prefetch(codeNumber(5)));  // queued already: asked once
  fake.open();
  for (int k = kCodes - 1; k >= 0; --k) {
    std::unique_ptr<CStringList> rows = view.LinhasPinos(codeNumber(k));
    ASSERT_EQ(1, rows->GetCount());
    EXPECT_EQ(CString(codeNumber(k).str() + u"\f1\fPIN\f"), rows->GetHead());
  }
  EXPECT_FALSE(view.failed());
  EXPECT_EQ(1, fake.rowsAsked.load());
  std::vector<std::u16string> queued;
  for (int k = 1; k < kCodes; ++k) queued.push_back(codeNumber(k).str());
  ASSERT_EQ(1u, fake.askedTogether.size());
  EXPECT_EQ(queued, fake.askedTogether[0]);
}

// Codes that cannot be read together (the statement refused, or thrown)
// are each asked alone, so that a failure is told to the checks of its own
// code only; a code that throws alone is left to be asked again.
TEST(RunCatalogue, CodesThatCannotBeReadTogetherAreAskedOneByOne) {
  for (const char16_t* spoiler : {u"BAD1", u"THROWROWS"}) {
    FakeCatalogue fake;
    fake.readsTogether = true;
    fake.gated = true;
    RunCatalogue run(fake, &fake.errors, RunCatalogue::ReadAhead::kOnThread);
    CheckCatalogue asking(run), usingSpoiler(run), other(run);
    asking.Prefetch(codeNumber(0));
    fake.awaitFirstRead();
    asking.Prefetch(OdString(spoiler));
    asking.Prefetch(OdString(u"GOOD"));
    fake.open();
    EXPECT_EQ(1, other.LinhasPinos(OdString(u"GOOD"))->GetCount());
    EXPECT_FALSE(other.failed());
    if (std::u16string(spoiler) == u"BAD1") {
      EXPECT_TRUE(usingSpoiler.unknownCode(OdString(spoiler)));
      EXPECT_TRUE(usingSpoiler.failed());
      EXPECT_EQ(1, fake.errors.load());
      EXPECT_EQ(3, fake.rowsAsked.load());
    } else {
      EXPECT_THROW(usingSpoiler.LinhasPinos(OdString(spoiler)), std::runtime_error);
      EXPECT_EQ(4, fake.rowsAsked.load());  // C0, THROWROWS and GOOD alone, THROWROWS again
    }
    ASSERT_EQ(1u, fake.askedTogether.size());
    EXPECT_EQ((std::vector<std::u16string>{spoiler, u"GOOD"}), fake.askedTogether[0]);
  }
}

std::vector<std::u16string> codeNumbers(std::initializer_list<int> numbers) {
  std::vector<std::u16string> codes;
  for (int k : numbers) codes.push_back(codeNumber(k).str());
  return codes;
}

// Read ahead on ask, nothing is read until a check needs a queued code: that
// check reads it, on its own thread, with the codes at the queue's head (50
// codes a statement), and the codes read so are not read again.
TEST(RunCatalogue, OnAskTheCheckThatNeedsAQueuedCodeReadsItWithTheQueuesHead) {
  FakeCatalogue fake;
  fake.readsTogether = true;
  RunCatalogue run(fake, &fake.errors, RunCatalogue::ReadAhead::kOnAsk);
  CheckCatalogue view(run);
  constexpr int kCodes = 60;
  for (int k = 0; k < kCodes; ++k) EXPECT_TRUE(view.Prefetch(codeNumber(k)));
  EXPECT_TRUE(fake.askedTogether.empty());
  EXPECT_EQ(0, fake.rowsAsked.load());

  EXPECT_EQ(1, view.LinhasPinos(codeNumber(55))->GetCount());
  std::vector<std::u16string> first = codeNumbers({55});
  for (int k = 0; k < 49; ++k) first.push_back(codeNumber(k).str());
  ASSERT_EQ(1u, fake.askedTogether.size());
  EXPECT_EQ(first, fake.askedTogether[0]);
  EXPECT_EQ(std::this_thread::get_id(), fake.togetherThreads[0]);

  EXPECT_EQ(1, view.LinhasPinos(codeNumber(10))->GetCount());  // read with 55
  EXPECT_EQ(1u, fake.askedTogether.size());
  // 50 next, with what is left of the queue but 55, read already.
  EXPECT_EQ(1, view.LinhasPinos(codeNumber(50))->GetCount());
  ASSERT_EQ(2u, fake.askedTogether.size());
  EXPECT_EQ(codeNumbers({50, 49, 51, 52, 53, 54, 56, 57, 58, 59}), fake.askedTogether[1]);

  for (int k = 0; k < kCodes; ++k) {
    std::unique_ptr<CStringList> rows = view.LinhasPinos(codeNumber(k));
    ASSERT_EQ(1, rows->GetCount());
    EXPECT_EQ(CString(codeNumber(k).str() + u"\f1\fPIN\f"), rows->GetHead());
  }
  EXPECT_EQ(2u, fake.askedTogether.size());
  EXPECT_EQ(0, fake.rowsAsked.load());
  // A code never queued is asked alone.
  EXPECT_EQ(1, view.LinhasPinos(codeNumber(99))->GetCount());
  EXPECT_EQ(1, fake.rowsAsked.load());
  EXPECT_FALSE(view.failed());
}

// A code taken out of turn whose reading threw is gone from the answers
// but still in the queue: the next read of the queue passes over it, and a
// check that needs it asks again (and is told the error again).
TEST(RunCatalogue, OnAskACodeThatThrewOutOfTurnIsPassedOverInTheQueue) {
  FakeCatalogue fake;
  fake.readsTogether = true;
  RunCatalogue run(fake, &fake.errors, RunCatalogue::ReadAhead::kOnAsk);
  CheckCatalogue view(run);
  for (int k = 0; k < 60; ++k) view.Prefetch(codeNumber(k));
  view.Prefetch(OdString(u"THROWROWS"));  // 61st: beyond the first statement's 50
  // Asked out of turn with the queue's head: the statement throws, each
  // code is read alone, and THROWROWS throws to its check.
  EXPECT_THROW(view.LinhasPinos(OdString(u"THROWROWS")), std::runtime_error);
  for (int k = 0; k < 60; ++k) EXPECT_EQ(1, view.LinhasPinos(codeNumber(k))->GetCount()) << k;
  EXPECT_THROW(view.LinhasPinos(OdString(u"THROWROWS")), std::runtime_error);
  EXPECT_FALSE(view.failed());
}

// Checks on several threads that queue the same codes and need them in
// different orders: each code is read once, by whichever check needs it
// first, and every check gets each code's own rows.
TEST(RunCatalogue, OnAskChecksOnSeveralThreadsReadEachCodeOnce) {
  FakeCatalogue fake;
  fake.readsTogether = true;
  RunCatalogue run(fake, &fake.errors, RunCatalogue::ReadAhead::kOnAsk);
  constexpr int kThreads = 4, kCodes = 300;
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      CheckCatalogue view(run);
      for (int k = 0; k < kCodes; ++k) view.Prefetch(codeNumber((k * 7 + t * 31) % kCodes));
      for (int k = 0; k < kCodes; ++k) {
        const int code = t % 2 ? kCodes - 1 - k : (k * 13 + t) % kCodes;
        std::unique_ptr<CStringList> rows = view.LinhasPinos(codeNumber(code));
        if (rows->GetCount() != 1 || rows->GetHead() != CString(codeNumber(code).str() + u"\f1\fPIN\f")) ++wrong;
      }
      if (view.failed()) ++wrong;
    });
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(0, wrong.load());
  std::set<std::u16string> read;
  std::size_t reads = 0;
  for (const auto& together : fake.askedTogether) {
    reads += together.size();
    read.insert(together.begin(), together.end());
  }
  EXPECT_EQ(0, fake.rowsAsked.load());
  EXPECT_EQ(static_cast<std::size_t>(kCodes), reads);
  EXPECT_EQ(static_cast<std::size_t>(kCodes), read.size());
}

// The codes whose pin rows are read together have their mating codes read
// together too, by one more statement when the first of them is needed: a
// check then asks no statement of its own for them. Where they cannot be
// read so, each is asked when needed.
TEST(RunCatalogue, MatesOfCodesReadTogetherAreReadTogether) {
  FakeCatalogue fake;
  fake.readsTogether = true;
  RunCatalogue run(fake, &fake.errors, RunCatalogue::ReadAhead::kOnAsk);
  CheckCatalogue view(run);
  constexpr int kCodes = 10;
  for (int k = 0; k < kCodes; ++k) view.Prefetch(codeNumber(k));
  for (int k = 0; k < kCodes; ++k) EXPECT_EQ(1, view.LinhasPinos(codeNumber(k))->GetCount());
  EXPECT_TRUE(fake.matesTogether.empty()) << "read only once needed";
  EXPECT_EQ(1u, view.mates(codeNumber(3)).size());
  ASSERT_EQ(1u, fake.matesTogether.size());
  EXPECT_EQ(codeNumbers({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}), fake.matesTogether[0]);
  for (int k = 0; k < kCodes; ++k) {
    const std::vector<OdString>& mates = view.mates(codeNumber(k));
    ASSERT_EQ(1u, mates.size());
    EXPECT_EQ(codeNumber(k).str() + u"-M", mates[0].str());
  }
  EXPECT_EQ(0, fake.matesAsked.load());

  // Refused together: each asked by itself, and a code that throws throws
  // to the check that needs it.
  view.Prefetch(codeNumber(kCodes));
  view.Prefetch(OdString(u"THROW"));
  EXPECT_EQ(1, view.LinhasPinos(codeNumber(kCodes))->GetCount());
  ASSERT_EQ(1u, view.mates(codeNumber(kCodes)).size());
  ASSERT_EQ(2u, fake.matesTogether.size());
  EXPECT_EQ((std::vector<std::u16string>{codeNumber(kCodes).str(), u"THROW"}), fake.matesTogether[1]);
  EXPECT_EQ(1, fake.matesAsked.load());
  EXPECT_THROW(view.mates(OdString(u"THROW")), std::runtime_error);
  EXPECT_EQ(2, fake.matesAsked.load());
  EXPECT_FALSE(view.failed());
}

// Read ahead on a thread, a code read alone (the first, here) has its mates
// asked alone; the codes read together have theirs read together, all of
// them when the first is needed.
TEST(RunCatalogue, MatesReadAheadOnAThreadComeWithTheRowsReadTogether) {
  FakeCatalogue fake;
  fake.readsTogether = true;
  fake.gated = true;
  RunCatalogue run(fake, &fake.errors, RunCatalogue::ReadAhead::kOnThread);
  CheckCatalogue view(run);
  view.Prefetch(codeNumber(0));
  fake.awaitFirstRead();  // C0 alone, held at the gate
  for (int k = 1; k < 10; ++k) view.Prefetch(codeNumber(k));
  fake.open();
  for (int k = 0; k < 10; ++k) EXPECT_EQ(1, view.LinhasPinos(codeNumber(k))->GetCount());
  for (int k = 0; k < 10; ++k) {
    const std::vector<OdString>& mates = view.mates(codeNumber(k));
    ASSERT_EQ(1u, mates.size());
    EXPECT_EQ(codeNumber(k).str() + u"-M", mates[0].str());
  }
  ASSERT_EQ(1u, fake.matesTogether.size());
  EXPECT_EQ(codeNumbers({1, 2, 3, 4, 5, 6, 7, 8, 9}), fake.matesTogether[0]);
  EXPECT_EQ(1, fake.matesAsked.load());  // C0's
}

// With the mates read ahead, the reader reads the mating codes of the rows
// it read together as soon as no rows are queued, before any check asks:
// the checks then find them read, and run no statement of their own.
TEST(RunCatalogue, MatesReadAheadAreReadByTheReaderBeforeAnyCheckAsks) {
  FakeCatalogue fake;
  fake.readsTogether = true;
  fake.gated = true;
  RunCatalogue run(fake, &fake.errors, RunCatalogue::ReadAhead::kOnThread);
  run.readMatesAhead(true);
  CheckCatalogue view(run);
  view.Prefetch(codeNumber(0));
  fake.awaitFirstRead();  // C0 alone, held at the gate
  for (int k = 1; k < 10; ++k) view.Prefetch(codeNumber(k));
  fake.open();
  ASSERT_TRUE(fake.awaitMatesTogether(1)) << "no check asked, and the reader read no mates";
  EXPECT_EQ(codeNumbers({1, 2, 3, 4, 5, 6, 7, 8, 9}), fake.matesTogether[0]);
  EXPECT_NE(std::this_thread::get_id(), fake.matesThreads[0]);
  for (int k = 1; k < 10; ++k) {
    const std::vector<OdString>& mates = view.mates(codeNumber(k));
    ASSERT_EQ(1u, mates.size());
    EXPECT_EQ(codeNumber(k).str() + u"-M", mates[0].str());
  }
  EXPECT_EQ(1u, fake.matesTogether.size());
  EXPECT_EQ(0, fake.matesAsked.load());
  EXPECT_FALSE(view.failed());
}

// A check that would wait for an answer the reader is reading does the
// work it was given meanwhile, for as long as there is some, then waits,
// and gets its answer.
TEST(RunCatalogue, ACheckThatWouldWaitDoesTheWorkGivenMeanwhile) {
  FakeCatalogue fake;
  fake.gated = true;
  RunCatalogue run(fake, &fake.errors, RunCatalogue::ReadAhead::kOnThread);
  int done = 0;
  run.whileWaiting([&] {
    if (++done < 3) return true;  // some work done: look again
    fake.open();                  // the last piece of work lets the reader go
    return false;
  });
  CheckCatalogue view(run);
  view.Prefetch(codeNumber(0));
  fake.awaitFirstRead();  // C0 held at the gate: the check must wait
  // Should the check never do the work (which opens the gate), the gate
  // opens after 10 s, for the test to fail rather than hang.
  std::promise<void> answered;
  std::thread fallback([&fake, asked = answered.get_future()] {
    if (asked.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) fake.open();
  });
  std::unique_ptr<CStringList> rows = view.LinhasPinos(codeNumber(0));
  answered.set_value();
  fallback.join();
  ASSERT_EQ(1, rows->GetCount());
  EXPECT_EQ(CString(codeNumber(0).str() + u"\f1\fPIN\f"), rows->GetHead());
  EXPECT_GE(done, 3);  // more only after a wake-up with C0 still unread
  EXPECT_EQ(1, fake.rowsAsked.load());
}

// The answer comes, and the reader's wake-up with it, while the check does
// its last piece of work (the catalogue's lock let go): the check sees the
// answer rather than wait for a wake-up that has gone by.
TEST(RunCatalogue, AnAnswerThatComesWhileTheCheckWorksIsNotWaitedFor) {
  FakeCatalogue fake;
  fake.gated = true;
  RunCatalogue run(fake, &fake.errors, RunCatalogue::ReadAhead::kOnThread);
  run.whileWaiting([&] {
    fake.open();
    // The reader answers meanwhile (a fake's rows take no time to read).
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    return false;
  });
  CheckCatalogue view(run);
  view.Prefetch(codeNumber(0));
  fake.awaitFirstRead();
  // A check waiting for a wake-up lost would wait for ever: after 20 s the
  // test ends the process, failed, rather than hang.
  std::promise<void> answered;
  std::thread watchdog([asked = answered.get_future()] {
    if (asked.wait_for(std::chrono::seconds(20)) == std::future_status::timeout) {
      std::fprintf(stderr, "the check still waits for an answer that came while it worked\n");
      std::_Exit(1);
    }
  });
  std::unique_ptr<CStringList> rows = view.LinhasPinos(codeNumber(0));
  answered.set_value();
  watchdog.join();
  ASSERT_EQ(1, rows->GetCount());
  EXPECT_EQ(1, fake.rowsAsked.load());
}

TEST(RunCatalogue, WithoutReadAheadNothingIsAskedAhead) {
  FakeCatalogue fake;
  RunCatalogue run(fake, &fake.errors);
  CheckCatalogue view(run);
  EXPECT_FALSE(view.Prefetch(codeNumber(1)));
  EXPECT_EQ(0, fake.rowsAsked.load());
  view.LinhasPinos(codeNumber(1));
  ASSERT_EQ(1u, fake.rowThreads.size());
  EXPECT_EQ(std::this_thread::get_id(), fake.rowThreads[0]);
}

TEST(RunCatalogue, AnAnswerReadAheadFailsOnlyTheChecksThatUseIt) {
  FakeCatalogue fake;
  RunCatalogue run(fake, &fake.errors, RunCatalogue::ReadAhead::kOnThread);
  CheckCatalogue asking(run), using_(run), other(run);
  asking.Prefetch(OdString(u"BAD1"));
  asking.Prefetch(OdString(u"GOOD"));
  EXPECT_FALSE(asking.failed());  // asking ahead uses nothing yet
  EXPECT_TRUE(using_.unknownCode(OdString(u"BAD1")));
  EXPECT_TRUE(using_.failed());
  EXPECT_FALSE(other.unknownCode(OdString(u"GOOD")));
  EXPECT_FALSE(other.failed());
  EXPECT_EQ(2, fake.rowsAsked.load());
  EXPECT_EQ(1, fake.errors.load());
}

TEST(RunCatalogue, RowsThatThrowWhenReadAheadAreAskedAgainByTheCheck) {
  FakeCatalogue fake;
  RunCatalogue run(fake, &fake.errors, RunCatalogue::ReadAhead::kOnThread);
  CheckCatalogue view(run);
  view.Prefetch(OdString(u"THROWROWS"));
  view.Prefetch(OdString(u"C1"));
  // The check waits for C1, read after the code that threw.
  EXPECT_EQ(1, view.LinhasPinos(OdString(u"C1"))->GetCount());
  EXPECT_THROW(view.LinhasPinos(OdString(u"THROWROWS")), std::runtime_error);
  EXPECT_EQ(3, fake.rowsAsked.load());
}

// Every check of a run gets the same parsed rows of a code, read once,
// whether read ahead or asked; a failed answer parses to no rows and fails
// each check that takes it.
TEST(RunCatalogue, ChecksShareTheParsedRowsOfEachCode) {
  for (const RunCatalogue::ReadAhead readAhead :
       {RunCatalogue::ReadAhead::kNone, RunCatalogue::ReadAhead::kOnAsk, RunCatalogue::ReadAhead::kOnThread}) {
    FakeCatalogue fake;
    RunCatalogue run(fake, &fake.errors, readAhead);
    CheckCatalogue first(run), second(run), third(run);
    first.Prefetch(codeNumber(1));
    const std::shared_ptr<const zr::PinRows> rows = first.Rows(codeNumber(1));
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->Size(), 1u);
    EXPECT_EQ(rows->Field(0, 0), codeNumber(1).view());
    EXPECT_EQ(rows->Field(0, 2), u"PIN");
    EXPECT_EQ(rows->FirstRow(u"1"), 0u);
    EXPECT_EQ(second.Rows(codeNumber(1)), rows);  // the same object
    // What the other reads give is what the parse was made from.
    EXPECT_EQ(second.LinhasPinos(codeNumber(1))->GetHead(), CString(codeNumber(1).str() + u"\f1\fPIN\f"));
    const std::shared_ptr<const zr::PinRows> bad = third.Rows(OdString(u"BAD1"));
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->Size(), 0u);
    EXPECT_FALSE(first.failed());
    EXPECT_FALSE(second.failed());
    EXPECT_TRUE(third.failed());
    EXPECT_TRUE(first.Rows(OdString(u"BAD1"))->Size() == 0 && first.failed());
    EXPECT_EQ(fake.rowsAsked.load(), 2) << static_cast<int>(readAhead);
  }
}

TEST(RunCatalogue, EndingTheRunLeavesTheCodesStillQueuedUnread) {
  FakeCatalogue fake;
  {
    RunCatalogue run(fake, &fake.errors, RunCatalogue::ReadAhead::kOnThread);
    CheckCatalogue view(run);
    for (int k = 0; k < 2000; ++k) view.Prefetch(codeNumber(k));
  }
  // Each answer takes 200 microseconds: 2000 of them would take 0.4 s.
  EXPECT_LT(fake.rowsAsked.load(), 2000);
}

}  // namespace
