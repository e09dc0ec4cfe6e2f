// The drawings of a zrcheck run read and checked on worker threads: each
// drawing reaches the caller read, checked once and with its own file's
// fingerprint, in the order given; a check that would wait takes the next
// drawings' fingerprints meanwhile, but never those of the last `jobs`
// drawings (their own parts fill the end of the run).
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <string>
#include <vector>

#include "drawing_reader.h"
#include "findings.h"
#include "temp_dir.h"

namespace {

// Copies of the example drawing, each with a comment of its own first, so
// that every file has a fingerprint of its own.
struct Drawings {
  testing_support::TempDir dir;
  std::vector<std::string> paths, contents;

  explicit Drawings(std::size_t count) {
    const std::string example = testing_support::readFile(ZR_EXAMPLE_DRAWING);
    for (std::size_t i = 0; i < count; ++i) {
      contents.push_back("999\ncopy " + std::to_string(i) + "\n" + example);
      paths.push_back(dir.file("sheet" + std::to_string(i) + ".dxf"));
      testing_support::writeFile(paths.back(), contents.back());
    }
  }
  std::string fingerprint(std::size_t i) const { return "sha256:" + sha256Hex(contents[i]); }
};

// Reads every drawing with `jobs` workers; the check of drawing 0 takes
// fingerprints ahead until there is none left to take, as a check waiting
// for the catalogue does. Returns how many it took; each drawing's check
// count and fingerprint as the caller got them.
struct ReaderRun {
  std::size_t takenAhead = 0;
  std::vector<int> checks;
  std::vector<std::string> fingerprints, errors;
};

ReaderRun readAll(const Drawings& drawings, unsigned jobs) {
  ReaderRun run;
  std::vector<std::atomic<int>> checks(drawings.paths.size());
  std::promise<DrawingReader*> made;
  std::shared_future<DrawingReader*> reader = made.get_future().share();
  std::atomic<std::size_t> taken{0};
  DrawingReader drawingReader(drawings.paths, false, jobs, [&](std::size_t i, ReadDrawing& drawing) {
    EXPECT_FALSE(drawing.db.isNull()) << i;
    ++checks[i];
    if (i == 0)
      while (reader.get()->fingerprintOneAhead()) ++taken;
  });
  made.set_value(&drawingReader);
  for (std::size_t i = 0; i < drawings.paths.size(); ++i) {
    ReadDrawing& drawing = drawingReader.get(i);
    run.fingerprints.push_back(drawing.fingerprint);
    run.errors.push_back(drawing.error);
    run.checks.push_back(checks[i].load());
    drawingReader.done(i);
  }
  run.takenAhead = taken;
  return run;
}

TEST(DrawingReader, EveryDrawingIsCheckedOnceWithItsOwnFingerprintWhoeverTookIt) {
  const Drawings drawings(6);
  for (unsigned jobs : {1u, 2u, 4u}) {
    const ReaderRun run = readAll(drawings, jobs);
    for (std::size_t i = 0; i < drawings.paths.size(); ++i) {
      EXPECT_EQ(run.errors[i], "") << "-j " << jobs << ", drawing " << i;
      EXPECT_EQ(run.checks[i], 1) << "-j " << jobs << ", drawing " << i;
      EXPECT_EQ(run.fingerprints[i], drawings.fingerprint(i)) << "-j " << jobs << ", drawing " << i;
    }
  }
}

// With one job nothing runs beside the check, so every fingerprint but the
// last drawing's is still there to take ahead; with more, the workers' own
// parts may take some first, and never more than all but the last `jobs`.
TEST(DrawingReader, AWaitingCheckTakesFingerprintsAheadButNotTheLastJobsOnes) {
  const Drawings drawings(6);
  EXPECT_EQ(readAll(drawings, 1).takenAhead, 5u);
  EXPECT_LE(readAll(drawings, 2).takenAhead, 4u);
  EXPECT_LE(readAll(drawings, 4).takenAhead, 2u);
  // Fewer drawings than jobs: none is taken ahead.
  const Drawings two(2);
  EXPECT_EQ(readAll(two, 4).takenAhead, 0u);
}

TEST(DrawingReader, ADrawingThatCannotBeReadIsNotCheckedAndSaysWhy) {
  Drawings drawings(3);
  testing_support::writeFile(drawings.paths[1], "999\nnot a drawing\n  0\nEOF\n");
  for (unsigned jobs : {1u, 2u}) {
    const ReaderRun run = readAll(drawings, jobs);
    EXPECT_EQ(run.checks, (std::vector<int>{1, 0, 1})) << "-j " << jobs;
    EXPECT_NE(run.errors[1], "") << "-j " << jobs;
    EXPECT_EQ(run.errors[2], "") << "-j " << jobs;
  }
}

}  // namespace
