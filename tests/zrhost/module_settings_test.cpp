// The real module in zrhost when its settings cannot be had: a command
// function shows the settings box, yields its failure result, and the
// session goes on; once the settings file is right, the same session works.


#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "drawings_fixture.h"

namespace {

using zrhost_testing::describe;
using zrhost_testing::Invocation;
using zrhost_testing::Outcome;
using zrhost_testing::runZrhost;

class ModuleSettings : public ZrhostRun {
 protected:
  void SetUp() override {
    ZrhostRun::SetUp();
    std::filesystem::create_directory(file("settings"));
    // Built from the example catalogue's SQL: a clean checkout has no catalogue file.
    const std::string build = "bash '" + std::string(ZRHOST_EXAMPLES) + "/catalogue/build-sqlite.sh' '" +
                              file("catalogo.db") + "' >/dev/null";
    ASSERT_EQ(std::system(build.c_str()), 0) << build;
  }

  // zrhost with the module, program "zrsettings-test", settings looked for in
  // the test's own folder only (and the examples, which have no file for it).
  Outcome runModule(const std::string& input) {
    Invocation invocation;
    invocation.args = {"--program", "zrsettings-test", "--module", ZRHOST_REAL_MODULE, "a.dxf"};
    invocation.env = {{"ZR_SETTINGS_DIR", file("settings")}, {"XDG_CONFIG_HOME", file("xdg")}};
    invocation.input = input;
    return runZrhost(folder(), invocation);
  }

  std::string settingsFile() const { return file("settings/zrsettings-test.ini"); }
  std::string goodSettings() const {
    return "[database]\ndata_folder = " + folder() + "/\ntype = MDB\nname = catalogo.db\n";
  }

  // How many times the settings box was shown (boxes are printed as
  // "[caption]", the text indented, then the answer).
  static int loadBoxes(const Outcome& o) {
    int n = 0;
    const std::string box = "[#CC001]\n  Unable to load the settings file.\n";
    for (auto at = o.out.find(box); at != std::string::npos; at = o.out.find(box, at + 1)) ++n;
    return n;
  }
  // The printed results: standard output without the message boxes.
  static std::string results(const Outcome& o) {
    std::string kept;
    std::size_t start = 0;
    while (start < o.out.size()) {
      std::size_t end = o.out.find('\n', start);
      end = end == std::string::npos ? o.out.size() : end + 1;
      const std::string line = o.out.substr(start, end - start);
      if (line[0] != '[' && line.rfind("  ", 0) != 0) kept += line;
      start = end;
    }
    return kept;
  }
};

// Each call fails alike (nil for a function that returns a value, nothing for
// one that returns none); the last line shows the console is still there.
constexpr const char* kCalls =
    "(write (BuscaListaConectores)) (newline)\n"
    "(write (GetEnameConector \"X1\")) (newline)\n"
    "(display \"session goes on\") (newline)\n";

TEST_F(ModuleSettings, SettingsFileThatCannotBeUsed) {
  // The boxes keep their fixed texts; standard error says why: the file
  // looked for, the folders searched and the variable that chooses them, or
  // what is wrong with the file that was found.
  const struct {
    const char* what;
    std::string text;  // empty: no file; "/": a folder in its place
    std::vector<std::string> cause;
  } cases[] = {
      {"missing", "", {"Fatal Error: ", "zrsettings-test.ini", file("settings"), file("xdg") + "/zrconector",
                       "ZR_SETTINGS_DIR"}},
      {"a folder", "/", {"Fatal Error: ", settingsFile() + ": cannot be read"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(settingsFile());
    if (c.text == "/")
      std::filesystem::create_directory(settingsFile());
    else if (!c.text.empty())
      write("settings/zrsettings-test.ini", c.text);
    Outcome o = runModule(kCalls);
    EXPECT_EQ(o.status, 0) << describe(o);
    EXPECT_EQ(loadBoxes(o), 2) << describe(o);
    EXPECT_EQ(results(o), "()\n()\nsession goes on\n") << describe(o);
    EXPECT_NE(o.err.find("zrhost: Fatal Error: "), std::string::npos) << describe(o);
    for (const std::string& part : c.cause) EXPECT_NE(o.err.find(part), std::string::npos) << part << describe(o);
  }
}

// --settings names the folder searched first: the same session that fails
// without it connects with it, whatever ZR_SETTINGS_DIR holds.
TEST_F(ModuleSettings, SettingsFolderGivenOnTheCommandLine) {
  std::filesystem::create_directory(file("mine"));
  write("mine/zrsettings-test.ini", goodSettings());
  Invocation invocation;
  invocation.args = {"--program", "zrsettings-test", "--settings", "mine", "--module", ZRHOST_REAL_MODULE, "a.dxf"};
  invocation.env = {{"ZR_SETTINGS_DIR", file("settings")}, {"XDG_CONFIG_HOME", file("xdg")}};
  invocation.input = "(AtualizarDicConectores)\n(write (length (BuscaListaConectores))) (newline)\n";
  Outcome o = runZrhost(folder(), invocation);
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_EQ(loadBoxes(o), 0) << describe(o);
  EXPECT_EQ(results(o), "2\n") << describe(o);
}

// The settings written during the session: the next call connects.
TEST_F(ModuleSettings, SessionRecoversOnceTheSettingsAreThere) {
  const std::string input =
      "(write (BuscaListaConectores)) (newline)\n"
      "(call-with-output-file \"settings/zrsettings-test.ini\" (lambda (port) (display \"" +
      goodSettings() + "\" port)))\n"
      "(AtualizarDicConectores)\n"
      "(write (length (BuscaListaConectores))) (newline)\n";
  Outcome o = runModule(input);
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_EQ(loadBoxes(o), 1) << describe(o);
  EXPECT_EQ(results(o), "()\n2\n") << describe(o);
}

}  // namespace
