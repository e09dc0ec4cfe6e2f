#include <gtest/gtest.h>

#include "host_options.h"

namespace {

using zrhost::HostAction;
using zrhost::HostOptions;
using zrhost::parseHostOptions;
using zrhost::UsageError;

HostOptions parse(std::vector<const char*> args) {
  args.insert(args.begin(), "zrhost");
  return parseHostOptions(static_cast<int>(args.size()), args.data());
}

TEST(HostOptions, DefaultsWithDrawingsOnly) {
  HostOptions o = parse({"a.dxf", "b.dxf"});
  EXPECT_EQ(o.program, "zrhost");
  EXPECT_FALSE(o.module.has_value());
  EXPECT_FALSE(o.noModule);
  EXPECT_TRUE(o.console);
  EXPECT_TRUE(o.actions.empty());
  EXPECT_EQ(o.drawings, (std::vector<std::string>{"a.dxf", "b.dxf"}));
}

TEST(HostOptions, ValuesAsNextArgumentOrAfterEquals) {
  HostOptions o = parse({"--program", "ZR", "--module=/m.so", "--settings", "conf", "x.dxf"});
  EXPECT_EQ(o.program, "ZR");
  EXPECT_EQ(o.settings, "conf");
  EXPECT_EQ(o.module, "/m.so");
  EXPECT_EQ(o.drawings, (std::vector<std::string>{"x.dxf"}));
}

TEST(HostOptions, ActionsKeepTheirOrderAndScriptsEndTheConsole) {
  HostOptions o = parse({"--load", "suite.scm", "--eval", "(+ 1 2)", "--script=s.scm"});
  ASSERT_EQ(o.actions.size(), 3u);
  EXPECT_EQ(o.actions[0].kind, HostAction::kLoad);
  EXPECT_EQ(o.actions[0].text, "suite.scm");
  EXPECT_EQ(o.actions[1].kind, HostAction::kEval);
  EXPECT_EQ(o.actions[1].text, "(+ 1 2)");
  EXPECT_EQ(o.actions[2].kind, HostAction::kScript);
  EXPECT_FALSE(o.console);
  EXPECT_TRUE(parse({"--load", "suite.scm"}).console);
}

TEST(HostOptions, DoubleDashEndsOptions) {
  HostOptions o = parse({"--", "--odd-name.dxf", "-"});
  EXPECT_EQ(o.drawings, (std::vector<std::string>{"--odd-name.dxf", "-"}));
}

TEST(HostOptions, RefusedCommandLines) {
  const std::vector<std::vector<const char*>> refused = {
      {"--program"},          {"--program="},        {"--module", ""},     {"--script"},
      {"--frobnicate"},       {"--no-module=yes"},   {"--help=1"},         {"--no-module", "--module", "m.so"},
      {"-x"},                 {"--module="},         {"--eval"},           {"--settings="},
      {"--settings"},
  };
  for (const auto& args : refused) {
    std::string line;
    for (const char* a : args) line += std::string(a) + " ";
    EXPECT_THROW(parse(args), UsageError) << "accepted: " << line;
  }
}

TEST(HostOptions, HelpAndVersion) {
  EXPECT_TRUE(parse({"--help"}).help);
  EXPECT_TRUE(parse({"-h"}).help);
  EXPECT_TRUE(parse({"a.dxf", "--version"}).version);
  // The help names every option and the environment that chooses the
  // settings and the module, so that a failed settings load can be followed up.
  for (const char* named : {"--module", "--settings", "ZR_SETTINGS_DIR", "XDG_CONFIG_HOME", "ZRHOST_MODULE",
                            "ZR_COM_REGISTRY", "ZRHOST_NO_TERMINAL", "PROGRAM.ini"})
    EXPECT_NE(zrhost::hostUsage().find(named), std::string::npos) << named;
  EXPECT_EQ(zrhost::hostVersion().rfind("zrhost ", 0), 0u);
}

TEST(HostOptions, StandardInputIsOneDrawing) {
  EXPECT_EQ(parse({"-"}).drawings, (std::vector<std::string>{"-"}));
  EXPECT_THROW(parse({"-", "-"}), UsageError);
}

}  // namespace
