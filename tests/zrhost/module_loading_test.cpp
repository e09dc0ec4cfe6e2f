// How zrhost finds and loads the module, and what it says when it cannot.

#include <sys/stat.h>

#include <filesystem>

#include "drawings_fixture.h"

namespace {

using zrhost_testing::describe;
using zrhost_testing::Invocation;
using zrhost_testing::Outcome;
using zrhost_testing::runZrhost;

Outcome run(const std::string& folder, std::vector<std::string> args, std::map<std::string, std::string> env = {}) {
  Invocation invocation;
  invocation.args = std::move(args);
  invocation.env = std::move(env);
  return runZrhost(folder, invocation);
}

bool says(const Outcome& o, const std::string& text) { return o.err.find(text) != std::string::npos; }

TEST_F(ZrhostRun, ModuleIsInitialisedWithEveryOpenDrawing) {
  Outcome o = run(folder(), {"--module", ZRHOST_TEST_MODULE, "--eval",
                             "(map (lambda (i) (drawing-activate i) (car (module-functions))) '(0 1))", "a.dxf",
                             "b.dxf"});
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_EQ(o.out, "(\"zrtEcho\" \"zrtEcho\")\n");
  EXPECT_EQ(o.err, "");
}

TEST_F(ZrhostRun, ModuleNamedByTheEnvironment) {
  Outcome o = run(folder(), {"--eval", "(loaded-module-name)"}, {{"ZRHOST_MODULE", ZRHOST_TEST_MODULE}});
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_EQ(o.out, "\"zrhost test module\"\n");
  o = run(folder(), {"--eval", "(loaded-module-name)"}, {{"ZRHOST_MODULE", file("nowhere.so")}});
  EXPECT_EQ(o.status, 2) << describe(o);
  EXPECT_TRUE(says(o, file("nowhere.so") + " does not exist")) << describe(o);
}

TEST_F(ZrhostRun, MissingModuleFile) {
  Outcome o = run(folder(), {"--module", "nowhere.so", "--eval", "1", "a.dxf"});
  EXPECT_EQ(o.status, 2) << describe(o);
  EXPECT_TRUE(says(o, "module file nowhere.so does not exist")) << describe(o);
  EXPECT_EQ(o.out, "");
}

TEST_F(ZrhostRun, FileThatIsNoLibrary) {
  write("fake.so", "not a library\n");
  Outcome o = run(folder(), {"--module", "fake.so", "--eval", "1"});
  EXPECT_EQ(o.status, 2) << describe(o);
  EXPECT_TRUE(says(o, "cannot load module fake.so")) << describe(o);
}

// A library cut short (an interrupted copy) would fault in the dynamic loader
// and take the host down; it is refused with the sizes instead.
TEST_F(ZrhostRun, TruncatedModuleIsRefusedWithoutCrashing) {
  const std::string whole = testing_support::readFile(ZRHOST_TEST_MODULE);
  ASSERT_GT(whole.size(), 4096u);
  for (std::size_t cut : {std::size_t{64}, std::size_t{1000}, whole.size() / 2, whole.size() - 1}) {
    SCOPED_TRACE("cut at " + std::to_string(cut));
    write("cut.so", whole.substr(0, cut));
    Outcome o = run(folder(), {"--module", "cut.so", "--eval", "1"});
    EXPECT_EQ(o.status, 2) << describe(o);
    EXPECT_TRUE(says(o, "module cut.so is truncated or damaged: it holds " + std::to_string(cut) + " bytes"))
        << describe(o);
  }
  // Too short to be anything: the loader's own refusal.
  write("empty.so", "");
  Outcome o = run(folder(), {"--module", "empty.so", "--eval", "1"});
  EXPECT_EQ(o.status, 2) << describe(o);
  EXPECT_TRUE(says(o, "cannot load module empty.so")) << describe(o);
}

TEST_F(ZrhostRun, FolderNamedLikeTheModule) {
  std::filesystem::create_directory(file("libzrconector.so"));
  Outcome o = run(folder(), {"--module", "libzrconector.so", "--eval", "1"});
  EXPECT_EQ(o.status, 2) << describe(o);
  EXPECT_TRUE(says(o, "module libzrconector.so is a folder, not a library")) << describe(o);
  o = run(folder(), {"--eval", "1"}, {{"ZRHOST_MODULE", file("libzrconector.so")}});
  EXPECT_EQ(o.status, 2) << describe(o);
  EXPECT_TRUE(says(o, file("libzrconector.so") + " is a folder")) << describe(o);
}

// Root reads any file: zrhost runs as the unprivileged user.
TEST_F(ZrhostRun, ModuleTheUserMayNotRead) {
  std::filesystem::copy_file(ZRHOST_TEST_MODULE, file("private.so"));
  ::chmod(file("private.so").c_str(), 0600);
  ::chmod(folder().c_str(), 0755);
  Invocation invocation;
  invocation.args = {"--module", "private.so", "--eval", "1"};
  invocation.unprivileged = true;
  Outcome o = runZrhost(folder(), invocation);
  EXPECT_EQ(o.status, 2) << describe(o);
  EXPECT_TRUE(says(o, "cannot read module private.so: Permission denied")) << describe(o);
}

TEST_F(ZrhostRun, MissingExports) {
  Outcome o = run(folder(), {"--module", ZRHOST_TEST_MODULE_NO_CREATE, "--eval", "1"});
  EXPECT_EQ(o.status, 2) << describe(o);
  EXPECT_TRUE(says(o, "does not export odrxCreateModuleObject")) << describe(o);
  EXPECT_FALSE(says(o, "odrxGetAPIVersion")) << describe(o);
  o = run(folder(), {"--module", ZRHOST_TEST_MODULE_NO_VERSION, "--eval", "1"});
  EXPECT_EQ(o.status, 2) << describe(o);
  EXPECT_TRUE(says(o, "does not export odrxGetAPIVersion")) << describe(o);
}

TEST_F(ZrhostRun, ModuleOfAnotherInterfaceVersion) {
  Outcome o = run(folder(), {"--module", ZRHOST_TEST_MODULE_V4, "--eval", "1"});
  EXPECT_EQ(o.status, 2) << describe(o);
  EXPECT_TRUE(says(o, "declares module interface version 4.2.0.0")) << describe(o);
}

TEST_F(ZrhostRun, WithoutModule) {
  Outcome o = run(folder(), {"--no-module", "--eval", "(list (loaded-module-name) (module-functions) (drawings))", "a.dxf"});
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_EQ(o.out, "(#f () (\"a.dxf\"))\n");
  EXPECT_EQ(o.err, "");
}

TEST_F(ZrhostRun, BadCommandLines) {
  Outcome o = run(folder(), {"--frobnicate"});
  EXPECT_EQ(o.status, 2) << describe(o);
  EXPECT_TRUE(says(o, "--frobnicate")) << describe(o);
  EXPECT_TRUE(says(o, "zrhost --help")) << describe(o);
  EXPECT_EQ(o.out, "") << describe(o);
  o = run(folder(), {"--help"});
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_NE(o.out.find("Usage: zrhost"), std::string::npos) << describe(o);
  EXPECT_EQ(o.err, "") << describe(o);
}

}  // namespace
