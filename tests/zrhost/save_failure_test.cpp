// A save that fails in the console: the error names the file and the reason,
// the file keeps its bytes, and the session goes on.

#include <sys/stat.h>

#include <filesystem>

#include "drawings_fixture.h"

namespace {

using zrhost_testing::describe;
using zrhost_testing::Invocation;
using zrhost_testing::Outcome;
using zrhost_testing::runZrhost;

// Root writes into any folder: zrhost runs as the unprivileged user.
TEST_F(ZrhostRun, SaveIntoAReadOnlyFolderFailsAndTheSessionGoesOn) {
  namespace fs = std::filesystem;
  fs::create_directory(file("ro"));
  fs::create_directory(file("rw"));
  fs::copy_file(file("a.dxf"), file("ro/a.dxf"));
  const std::string before = testing_support::readFile(file("ro/a.dxf"));
  ::chmod(folder().c_str(), 0755);
  ::chmod(file("ro/a.dxf").c_str(), 0666);
  ::chmod(file("ro").c_str(), 0555);
  ::chmod(file("rw").c_str(), 0777);

  Invocation invocation;
  invocation.unprivileged = true;
  invocation.args = {"--no-module", "ro/a.dxf"};
  invocation.input =
      "(drawing-save)\n"
      "(display \"still here\") (newline)\n"
      "(drawing-save-as \"missing/copy.dxf\")\n"
      "(drawings)\n"
      "(drawing-save-as \"rw/copy.dxf\")\n"
      "(drawings)\n";
  Outcome o = runZrhost(folder(), invocation);
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_NE(o.err.find("drawing-save"), std::string::npos) << describe(o);
  EXPECT_NE(o.err.find("Cannot save \"ro/a.dxf\""), std::string::npos) << describe(o);
  EXPECT_NE(o.err.find("Permission denied"), std::string::npos) << describe(o);
  // A failed save-as keeps the drawing's path.
  EXPECT_NE(o.err.find("Cannot save \"missing/copy.dxf\""), std::string::npos) << describe(o);
  EXPECT_NE(o.err.find("No such file or directory"), std::string::npos) << describe(o);
  EXPECT_EQ(o.out, "still here\n(\"ro/a.dxf\")\n(\"rw/copy.dxf\")\n") << describe(o);
  EXPECT_EQ(testing_support::readFile(file("ro/a.dxf")), before);
  EXPECT_EQ(testing_support::readFile(file("rw/copy.dxf")), before);
  std::vector<std::string> left;
  for (const auto& e : fs::directory_iterator(file("ro"))) left.push_back(e.path().filename().string());
  EXPECT_EQ(left, std::vector<std::string>{"a.dxf"});
}

}  // namespace
