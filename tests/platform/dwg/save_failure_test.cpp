// Saves that fail: a read-only folder or file, a full disk, a writer killed in
// the middle, targets that cannot be written. Every failure leaves the
// previous file byte for byte, names the file and the reason, and leaves no
// temporary file behind when the process lives on.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstring>
#include <filesystem>
#include <thread>

#include "child_process.h"
#include "drawing_builder.h"
#include "dxf/AtomicFile.h"
#include "temp_dir.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

constexpr uid_t kNobody = kUnprivilegedId;

std::vector<std::string> namesIn(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The message of the OdError that the save throws; "saved" when it succeeds.
std::string trySave(const OdDbDatabase& db, const std::string& path) {
  try {
    db.writeDxf(u(path.c_str()));
    return "saved";
  } catch (const OdError& e) {
    if (e.code() != eFileWriteError) return "wrong error code: " + e.description().toUtf8();
    return e.description().toUtf8();
  }
}

class SaveFailure : public ::testing::Test {
 protected:
  void SetUp() override {
    // Reachable by the unprivileged user of the permission cases.
    fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
  }
  void TearDown() override { AtomicFile::failWriteNumber(0); }

  // Saves a drawing at path and reads it back; the drawing returned has an
  // edit, so that saving it changes the file. `before` holds the old bytes.
  OdDbDatabasePtr drawingAt(const std::string& path, int pins = 1) {
    OdDbDatabasePtr original = OdDbDatabase::createNew();
    addPin(*original, "PIN-A", "X1", "C", "1", 0, 0);
    original->writeDxf(u(path.c_str()));
    before = readFile(path);
    OdDbDatabasePtr db = OdDbDatabase::readDxf(u(path.c_str()));
    for (int i = 0; i < pins; ++i) addPin(*db, "PIN-B", "X2", "C", std::to_string(i + 1), i, -5);
    return db;
  }

  // The failure's message names the file and gives the system's reason.
  static void expectReason(const std::string& message, const std::string& path, int error) {
    EXPECT_NE(message.find("\"" + path + "\""), std::string::npos) << message;
    EXPECT_NE(message.find(std::strerror(error)), std::string::npos) << message;
  }

  TempDir dir;
  std::string before;
};

TEST_F(SaveFailure, ReadOnlyFolderForAnUnprivilegedUser) {
  fs::create_directory(dir.file("ro"));
  const std::string target = dir.file("ro/d.dxf");
  OdDbDatabasePtr db = drawingAt(target);
  ::chmod(target.c_str(), 0666);  // the file itself may be written; the folder may not
  ::chmod(dir.file("ro").c_str(), 0555);

  ChildOutcome child = runUnprivileged([&] { return trySave(*db, target); });
  ASSERT_TRUE(child.exited) << child.text;
  if (child.text.rfind("skip: ", 0) == 0) GTEST_SKIP() << child.text;
  expectReason(child.text, target, EACCES);
  EXPECT_EQ(readFile(target), before);
  EXPECT_EQ(namesIn(dir.file("ro")), std::vector<std::string>{"d.dxf"});
}

TEST_F(SaveFailure, ReadOnlyFileIsNotOverruled) {
  const std::string target = dir.file("d.dxf");
  OdDbDatabasePtr db = drawingAt(target);
  ::chown(dir.path().c_str(), kNobody, kNobody);  // the folder may be written
  ::chown(target.c_str(), kNobody, kNobody);
  ::chmod(target.c_str(), 0444);

  ChildOutcome child = runUnprivileged([&] { return trySave(*db, target); });
  ASSERT_TRUE(child.exited) << child.text;
  if (child.text.rfind("skip: ", 0) == 0) GTEST_SKIP() << child.text;
  expectReason(child.text, target, EACCES);
  EXPECT_NE(child.text.find("read-only"), std::string::npos) << child.text;
  EXPECT_EQ(readFile(target), before);
  EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"d.dxf"});
}

// A real full disk, as far as the process can tell: past the file size limit
// write() fails with EFBIG. Whether SIGXFSZ is ignored or left at its default
// (which ends the process), the save fails with the reason and the process
// goes on.
TEST_F(SaveFailure, FileSizeLimitFailsTheSaveAndTheProcessLivesOn) {
  const std::string target = dir.file("d.dxf");
  OdDbDatabasePtr db = drawingAt(target, 200);
  ASSERT_GT(db->dxfText().size(), 64u * 1024);
  for (bool ignoreSignal : {true, false}) {
    SCOPED_TRACE(ignoreSignal ? "SIGXFSZ ignored" : "SIGXFSZ at its default");
    ChildOutcome child = runInChild([&] {
      ::signal(SIGXFSZ, ignoreSignal ? SIG_IGN : SIG_DFL);
      const rlimit limit{64 * 1024, 64 * 1024};
      if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return std::string("setrlimit failed");
      return trySave(*db, target) + (ignoreSignal ? "" : "|alive");
    });
    ASSERT_TRUE(child.exited) << "the save ended the process; it said: " << child.text;
    expectReason(child.text, target, EFBIG);
    if (!ignoreSignal) {
      EXPECT_NE(child.text.find("|alive"), std::string::npos) << child.text;
    }
    EXPECT_EQ(readFile(target), before);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"d.dxf"});
  }
}

// A real full disk: a small file system of its own (tmpfs in a private mount
// namespace of a child). Skipped where mounting is not allowed.
TEST_F(SaveFailure, FullFileSystem) {
  const std::string small = dir.file("small");
  fs::create_directory(small);
  const std::string target = small + "/d.dxf";
  OdDbDatabasePtr db = drawingAt(dir.file("d.dxf"), 3000);
  OdDbDatabasePtr original = OdDbDatabase::readDxf(u(dir.file("d.dxf").c_str()));
  ASSERT_GT(db->dxfText().size(), 512u * 1024);

  ChildOutcome child = runInChild([&]() -> std::string {
    if (::unshare(CLONE_NEWNS) != 0 || ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=256k") != 0)
      return std::string("skip: cannot mount a small file system: ") + std::strerror(errno);
    original->writeDxf(u(target.c_str()));
    const std::string old = readFile(target);
    std::string report = trySave(*db, target);
    report += readFile(target) == old ? "|old bytes kept" : "|old bytes changed";
    for (const std::string& name : namesIn(small)) report += "|" + name;
    return report;
  });
  ASSERT_TRUE(child.exited) << child.text;
  if (child.text.rfind("skip: ", 0) == 0) GTEST_SKIP() << child.text;
  expectReason(child.text, target, ENOSPC);
  EXPECT_NE(child.text.find("|old bytes kept|d.dxf"), std::string::npos) << child.text;
  EXPECT_EQ(child.text.substr(child.text.rfind('|')), "|d.dxf") << "no temporary file left: " << child.text;
}

// The disk fills at each write in turn, from the first to the last.
TEST_F(SaveFailure, FullDiskAtEveryWriteOfALargeSave) {
  const std::string target = dir.file("d.dxf");
  OdDbDatabasePtr db = drawingAt(target, 14000);
  int failures = 0;
  for (int n = 1; n < 1000; ++n) {
    SCOPED_TRACE("write " + std::to_string(n) + " fails");
    AtomicFile::failWriteNumber(n);
    const std::string message = trySave(*db, target);
    if (message == "saved") break;  // fewer than n writes
    ++failures;
    expectReason(message, target, ENOSPC);
    ASSERT_EQ(readFile(target), before);
    ASSERT_EQ(namesIn(dir.path()), std::vector<std::string>{"d.dxf"});
  }
  EXPECT_GE(failures, 3) << "the drawing should take several writes";
  EXPECT_EQ(readFile(target), db->dxfText());
}

// The writer is killed while its temporary file grows: the target keeps its
// bytes. The temporary file it leaves does not stop the next save, which
// removes it.
TEST_F(SaveFailure, WriterKilledInTheMiddleOfASave) {
  const std::string target = dir.file("d.dxf");
  OdDbDatabasePtr db = drawingAt(target, 40000);
  const std::size_t full = db->dxfText().size();
  ASSERT_GT(full, 10u * 1024 * 1024);

  pid_t pid = ::fork();
  if (pid == 0) {
    try {
      db->writeDxf(u(target.c_str()));
    } catch (...) {
    }
    ::_exit(0);
  }
  ASSERT_GT(pid, 0);
  std::uintmax_t seen = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (seen == 0 && std::chrono::steady_clock::now() < deadline) {
    for (const auto& e : fs::directory_iterator(dir.path())) {
      std::error_code error;
      const std::uintmax_t size = fs::file_size(e.path(), error);
      if (e.path().filename() != "d.dxf" && !error && size > 0) seen = size;
    }
    if (seen == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_GT(seen, 0u) << "the temporary file never grew";
  ASSERT_TRUE(WIFSIGNALED(status)) << "the save ended before it could be killed";
  EXPECT_LT(seen, full);

  EXPECT_EQ(readFile(target), before);
  const std::vector<std::string> left = namesIn(dir.path());
  ASSERT_EQ(left.size(), 2u) << "the killed save's temporary file";
  EXPECT_EQ(left[0].rfind(".d.dxf.", 0), 0u) << left[0];

  // The next save succeeds and cleans up.
  addPin(*db, "PIN-C", "X3", "C", "1", 9, 9);
  EXPECT_EQ(trySave(*db, target), "saved");
  EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"d.dxf"});
  EXPECT_EQ(readFile(target), db->dxfText());
}

// A temporary file that is locked belongs to a save still in progress (here or
// in another process): it stays until its lock is gone.
TEST_F(SaveFailure, TemporaryFileOfASaveInProgressIsLeftAlone) {
  const std::string target = dir.file("d.dxf");
  OdDbDatabasePtr db = drawingAt(target);
  const std::string busy = dir.file(".d.dxf.zrsave-Ab12Cd");
  writeFile(busy, "half a drawing");
  int fd = ::open(busy.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  // Names that only look alike are never touched.
  writeFile(dir.file(".d.dxf.zrsave-notes.txt"), "mine");
  writeFile(dir.file("d.dxf.bak"), "mine");

  EXPECT_EQ(trySave(*db, target), "saved");
  EXPECT_TRUE(fs::exists(busy));
  ::close(fd);
  EXPECT_EQ(trySave(*db, target), "saved");
  EXPECT_FALSE(fs::exists(busy));
  EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{".d.dxf.zrsave-notes.txt", "d.dxf", "d.dxf.bak"}));
  EXPECT_EQ(readFile(target), db->dxfText());
}

TEST_F(SaveFailure, TargetsThatCannotBeWritten) {
  const std::string target = dir.file("d.dxf");
  OdDbDatabasePtr db = drawingAt(target);
  fs::create_directory(dir.file("folder.dxf"));
  ASSERT_EQ(::mkfifo(dir.file("pipe.dxf").c_str(), 0644), 0);
  const struct {
    std::string path;
    int error;  // 0: the message gives the reason in words
    std::string words;
  } cases[] = {
      {dir.file("folder.dxf"), EISDIR, "folder"},
      {dir.file("folder.dxf/"), EISDIR, "folder"},
      {dir.file("no/such/folder/d.dxf"), ENOENT, ""},
      {dir.file("d.dxf/inside.dxf"), ENOTDIR, ""},
      {dir.file("pipe.dxf"), 0, "not a regular file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const std::string message = trySave(*db, c.path);
    EXPECT_NE(message.find("\"" + c.path + "\""), std::string::npos) << message;
    if (c.error) {
      EXPECT_NE(message.find(std::strerror(c.error)), std::string::npos) << message;
    }
    EXPECT_NE(message.find(c.words), std::string::npos) << message;
  }
  EXPECT_NE(trySave(*db, "").find("no file name"), std::string::npos);
  EXPECT_EQ(readFile(target), before);
  EXPECT_TRUE(fs::is_directory(dir.file("folder.dxf")));
  EXPECT_TRUE(fs::is_empty(dir.file("folder.dxf")));
  EXPECT_TRUE(fs::is_fifo(dir.file("pipe.dxf")));
  EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"d.dxf", "folder.dxf", "pipe.dxf"}));
}

// Saving through a symbolic link updates the file it points to; the link stays.
TEST_F(SaveFailure, SymbolicLinksAreFollowed) {
  fs::create_directory(dir.file("real"));
  const std::string real = dir.file("real/d.dxf");
  OdDbDatabasePtr db = drawingAt(real);
  fs::create_symlink("real/d.dxf", dir.file("link.dxf"));
  fs::create_symlink("link.dxf", dir.file("link-to-link.dxf"));

  EXPECT_EQ(trySave(*db, dir.file("link-to-link.dxf")), "saved");
  EXPECT_TRUE(fs::is_symlink(dir.file("link.dxf")));
  EXPECT_TRUE(fs::is_symlink(dir.file("link-to-link.dxf")));
  EXPECT_EQ(readFile(real), db->dxfText());
  EXPECT_EQ(namesIn(dir.file("real")), std::vector<std::string>{"d.dxf"});

  // A dangling link: the file it names is created.
  fs::create_symlink("real/new.dxf", dir.file("dangling.dxf"));
  EXPECT_EQ(trySave(*db, dir.file("dangling.dxf")), "saved");
  EXPECT_TRUE(fs::is_symlink(dir.file("dangling.dxf")));
  EXPECT_EQ(readFile(dir.file("real/new.dxf")), db->dxfText());

  // Links that go round: refused, nothing made.
  fs::create_symlink("loop-b.dxf", dir.file("loop-a.dxf"));
  fs::create_symlink("loop-a.dxf", dir.file("loop-b.dxf"));
  expectReason(trySave(*db, dir.file("loop-a.dxf")), dir.file("loop-a.dxf"), ELOOP);
  EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"dangling.dxf", "link-to-link.dxf", "link.dxf",
                                                           "loop-a.dxf", "loop-b.dxf", "real"}));
}

// The temporary file's name must fit even when the target's name is as long as
// a name can be.
TEST_F(SaveFailure, LongestFileNameStillSaves) {
  const std::string target = dir.file(std::string(NAME_MAX - 4, 'n') + ".dxf");
  OdDbDatabasePtr db = drawingAt(target);
  EXPECT_EQ(trySave(*db, target), "saved");
  EXPECT_EQ(readFile(target), db->dxfText());
  EXPECT_EQ(namesIn(dir.path()).size(), 1u);
}

}  // namespace
