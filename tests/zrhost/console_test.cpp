// The console fed from a pipe: results are printed, errors are printed and
// the console goes on, the end of input or (exit) ends it.

#include "drawings_fixture.h"

namespace {

using zrhost_testing::describe;
using zrhost_testing::Outcome;
using zrhost_testing::runWithTestModule;

TEST_F(ZrhostRun, ConsoleGoesOnAfterErrors) {
  const std::string input =
      "(zrtEcho \"one\")\n"
      "(car 1)\n"
      "(zrtEcho 'bad)\n"
      "(undefined-procedure)\n"
      "(call-module-function \"zrtMissing\")\n"
      ")\n"
      "(zrtEcho \"two\")\n"
      "(define x 5) (+ x 1)\n";
  Outcome o = runWithTestModule(folder(), {"a.dxf"}, input);
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_EQ(o.out, "(\"one\")\n(\"two\")\n6\n");
  EXPECT_NE(o.err.find("car"), std::string::npos) << describe(o);
  EXPECT_NE(o.err.find("undefined-procedure"), std::string::npos) << describe(o);
  EXPECT_NE(o.err.find("zrtMissing"), std::string::npos) << describe(o);
  EXPECT_NE(o.err.find("unexpected \")\""), std::string::npos) << describe(o);
}

TEST_F(ZrhostRun, ConsoleEndsWithExit) {
  Outcome o = runWithTestModule(folder(), {"a.dxf"}, "(display \"x\")\n(exit 5)\n(display \"y\")\n");
  EXPECT_EQ(o.status, 5) << describe(o);
  EXPECT_EQ(o.out, "x");
}

TEST_F(ZrhostRun, ConsoleEndsWithItsInput) {
  Outcome o = runWithTestModule(folder(), {}, "");
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_EQ(o.out, "");
  o = runWithTestModule(folder(), {}, "(display \"unfinished\"");
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_NE(o.err.find("error"), std::string::npos) << describe(o);
}

TEST_F(ZrhostRun, ConsoleOpensAndClosesDrawings) {
  const std::string input =
      "(drawing-open \"b.dxf\")\n"
      "(zrtNotifications)\n"
      "(drawing-close \"b.dxf\")\n"
      "(zrtNotifications)\n"
      "(drawing-close)\n"
      "(zrtEcho 1)\n"
      "(drawing-open \"c.dxf\")\n"
      "(zrtEcho 2)\n";
  Outcome o = runWithTestModule(folder(), {"a.dxf"}, input);
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_EQ(o.out,
            "1\n"
            "(\"ready b.dxf\")\n"
            "(\"ready b.dxf\" \"closing b.dxf\")\n"
            "0\n"
            "(2)\n");
  EXPECT_NE(o.err.find("In procedure call-module-function: no drawing is open"), std::string::npos) << describe(o);
}

}  // namespace
