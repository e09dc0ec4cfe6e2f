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
}

// A module that cannot be loaded is refused (exit 2, nothing run) with what
// is wrong with it, named by --module or by ZRHOST_MODULE: missing, no
// library, empty (the loader's own refusal), a folder, cut short (it would
// fault in the dynamic loader and take the host down: refused with the
// sizes), without an entry point, of another interface version.
TEST_F(ZrhostRun, ModulesThatCannotBeLoadedAreRefusedSayingWhy) {
  const std::string whole = testing_support::readFile(ZRHOST_TEST_MODULE);
  ASSERT_GT(whole.size(), 4096u);
  write("fake.so", "not a library\n");
  write("empty.so", "");
  std::filesystem::create_directory(file("libzrconector.so"));
  struct Refused {
    std::string module;
    bool byEnvironment;
    std::string says, saysNot;
  };
  std::vector<Refused> cases = {
      {"nowhere.so", false, "module file nowhere.so does not exist", ""},
      {file("nowhere.so"), true, file("nowhere.so") + " does not exist", ""},
      {"fake.so", false, "cannot load module fake.so", ""},
      {"empty.so", false, "cannot load module empty.so", ""},
      {"libzrconector.so", false, "module libzrconector.so is a folder, not a library", ""},
      {file("libzrconector.so"), true, file("libzrconector.so") + " is a folder", ""},
      {ZRHOST_TEST_MODULE_NO_CREATE, false, "does not export odrxCreateModuleObject", "odrxGetAPIVersion"},
      {ZRHOST_TEST_MODULE_NO_VERSION, false, "does not export odrxGetAPIVersion", ""},
      {ZRHOST_TEST_MODULE_V4, false, "declares module interface version 4.2.0.0", ""},
  };
  for (std::size_t cut : {std::size_t{64}, std::size_t{1000}, whole.size() / 2, whole.size() - 1}) {
    const std::string name = "cut" + std::to_string(cut) + ".so";
    write(name, whole.substr(0, cut));
    cases.push_back(
        {name, false, "module " + name + " is truncated or damaged: it holds " + std::to_string(cut) + " bytes", ""});
  }
  for (const Refused& c : cases) {
    SCOPED_TRACE(c.module);
    Outcome o = c.byEnvironment ? run(folder(), {"--eval", "1", "a.dxf"}, {{"ZRHOST_MODULE", c.module}})
                                : run(folder(), {"--module", c.module, "--eval", "1", "a.dxf"});
    EXPECT_EQ(o.status, 2) << describe(o);
    EXPECT_EQ(o.out, "") << describe(o);
    EXPECT_TRUE(says(o, c.says)) << describe(o);
    if (!c.saysNot.empty()) {
      EXPECT_FALSE(says(o, c.saysNot)) << describe(o);
    }
  }
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
