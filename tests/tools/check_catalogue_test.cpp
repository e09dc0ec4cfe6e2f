// The catalogue cache of a zrcheck run, as the checks of several drawings
// use it at once: each code asked once, failures told to each drawing that
// used them, thrown errors never kept.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "check_catalogue.h"

namespace {

// Answers "CODE\f1\fPIN\f" for every code; codes starting with "BAD" fail as
// a failed statement does (an error shown, no rows); mates of "THROW" throw.
class FakeCatalogue : public zr::PinCatalogue {
 public:
  std::atomic<int> rowsAsked{0}, matesAsked{0};
  std::atomic<int> errors{0};

  std::unique_ptr<CStringList> LinhasPinos(const OdString& code) override {
    ++rowsAsked;
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
  std::unique_ptr<CStringList> ContraPecas(const OdString& code) override {
    ++matesAsked;
    if (code == OdString(u"THROW")) throw std::runtime_error("the statement failed");
    auto mates = std::make_unique<CStringList>(10);
    mates->AddTail(CString(code.str() + u"-M"));
    return mates;
  }
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

}  // namespace
