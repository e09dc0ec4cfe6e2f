// How zrhost finds and loads the module, and what it says when it cannot.

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
  EXPECT_TRUE(says(o, "unknown option --frobnicate")) << describe(o);
  EXPECT_TRUE(says(o, "usage: zrhost")) << describe(o);
  o = run(folder(), {"--help"});
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_NE(o.out.find("usage: zrhost"), std::string::npos) << describe(o);
}

}  // namespace
