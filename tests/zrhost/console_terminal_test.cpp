// The console as a person meets it in a terminal: Ctrl-C stops what runs and
// keeps the session, leaving with unsaved drawings asks first, the help fits
// the terminal. Each case runs zrhost in a terminal of its own (tmux).

#include <memory>
#include <sstream>

#include "drawings_fixture.h"
#include "tmux_terminal.h"

namespace {

using testing_support::TmuxTerminal;

class ConsoleInTerminal : public ZrhostRun {
 protected:
  void SetUp() override {
    if (!TmuxTerminal::available()) GTEST_SKIP() << "tmux is not installed";
    ZrhostRun::SetUp();
  }

  // zrhost with the test module on a.dxf, at the console.
  std::unique_ptr<TmuxTerminal> start(int columns = 80, int rows = 24) {
    auto terminal = std::make_unique<TmuxTerminal>(
        std::vector<std::string>{ZRHOST_PROGRAM, "--module", ZRHOST_TEST_MODULE, "a.dxf"}, folder(), columns, rows,
        std::map<std::string, std::string>{{"HOME", folder()}});
    EXPECT_TRUE(terminal->waitFor("zrhost>")) << terminal->screen();
    return terminal;
  }

  // Types a line and waits for what it should print.
  static void enter(TmuxTerminal& t, const std::string& line, const std::string& expected) {
    t.type(line);
    t.keys({"Enter"});
    EXPECT_TRUE(t.waitFor(expected)) << "after " << line << ":\n" << t.screen();
  }

  // How many times text is on the screen.
  static int count(const std::string& screen, const std::string& text) {
    int n = 0;
    for (std::size_t at = screen.find(text); at != std::string::npos; at = screen.find(text, at + 1)) ++n;
    return n;
  }
};

TEST_F(ConsoleInTerminal, CtrlCStopsWhatRunsAndKeepsDrawingsAndHistory) {
  auto t = start();
  enter(*t, "(define seen (drawings))", "zrhost> (define seen (drawings))\nzrhost>");

  // A half-typed line is dropped.
  t->type("(car 'half");
  ASSERT_TRUE(t->waitFor("zrhost> (car 'half")) << t->screen();
  t->keys({"C-c"});
  ASSERT_TRUE(t->waitFor("zrhost> (car 'half\nzrhost>")) << t->screen();
  t->type("(length seen)");
  t->keys({"Enter"});
  ASSERT_TRUE(t->waitFor("\n1\n")) << t->screen();
  EXPECT_EQ(t->screen().find("half\n1"), std::string::npos) << t->screen();

  // A loop in Scheme.
  enter(*t, "(begin (display \"spinning\") (newline) (let spin () (spin)))", "\nspinning\n");
  t->keys({"C-c"});
  ASSERT_TRUE(t->waitFor("spinning\n^C\nzrhost: interrupted\nzrhost>")) << t->screen();

  // A loop in a host function that the module called: the module's call
  // returns first, then the interrupt reaches the console.
  enter(*t, "(define (stuck . args) (display \"stuck\") (newline) (let spin () (spin)))", "(define (stuck");
  enter(*t, "(zrtAskHost \"stuck\")", "\nstuck\n");
  t->keys({"C-c"});
  ASSERT_TRUE(t->waitFor("stuck\n^C\nzrhost: interrupted\nzrhost>")) << t->screen();

  // The drawing is still open and the module still answers.
  t->keys({"C-l"});
  enter(*t, "(list (drawings) (zrtEcho \"still\"))", "((\"a.dxf\") (\"still\"))");

  // History: Up brings back the last line.
  t->keys({"Up"});
  ASSERT_TRUE(t->waitFor("zrhost> (list (drawings) (zrtEcho \"still\"))\n((\"a.dxf\") (\"still\"))\nzrhost> (list"))
      << t->screen();
  t->keys({"C-u", "C-d"});
  EXPECT_EQ(t->waitForExit(), 0) << t->screen();
  EXPECT_NE(testing_support::readFile(file(".zrhost_history")).find("(zrtAskHost \"stuck\")"), std::string::npos);
}

TEST_F(ConsoleInTerminal, LeavingWithUnsavedChangesAsksFirst) {
  const std::string before = testing_support::readFile(file("a.dxf"));
  auto t = start();
  enter(*t, "(zrtTouch \"FIRST\")", "zrhost> (zrtTouch \"FIRST\")\nzrhost>");

  // Ctrl-D asks; the default answer goes back to the console.
  t->keys({"C-d"});
  ASSERT_TRUE(t->waitFor("zrhost: not saved: a.dxf\n(s)ave and leave, (l)eave without saving, or (b)ack")) << t->screen();
  t->keys({"Enter"});
  enter(*t, "(zrtEcho \"back\")", "(\"back\")");
  EXPECT_EQ(testing_support::readFile(file("a.dxf")), before);

  // (exit) asks too; an answer that is none of the three asks again; "s"
  // saves and leaves with the status given to exit.
  enter(*t, "(exit 4)", "or (b)ack to the console? [b]");
  t->type("maybe");
  t->keys({"Enter"});
  ASSERT_TRUE(t->waitFor("[b] maybe\n(s)ave")) << t->screen();
  t->type("s");
  t->keys({"Enter"});
  EXPECT_EQ(t->waitForExit(), 4) << t->screen();
  EXPECT_NE(testing_support::readFile(file("a.dxf")).find("FIRST"), std::string::npos);
}

TEST_F(ConsoleInTerminal, LeavingWithoutSavingKeepsTheFileAndSaysSo) {
  const std::string before = testing_support::readFile(file("a.dxf"));
  auto t = start();
  enter(*t, "(zrtTouch)", "zrhost> (zrtTouch)\nzrhost>");
  t->keys({"C-d"});
  ASSERT_TRUE(t->waitFor("[b]")) << t->screen();
  t->type("l");
  t->keys({"Enter"});
  EXPECT_EQ(t->waitForExit(), 0) << t->screen();
  EXPECT_EQ(count(t->screen(), "zrhost: not saved: a.dxf"), 2) << t->screen();
  EXPECT_EQ(testing_support::readFile(file("a.dxf")), before);
}

TEST_F(ConsoleInTerminal, NothingIsAskedWhenEverythingIsSaved) {
  auto t = start();
  enter(*t, "(zrtTouch)", "zrhost> (zrtTouch)\nzrhost>");
  enter(*t, "(drawing-save-as \"copy.dxf\")", "zrhost> (drawing-save-as \"copy.dxf\")\nzrhost>");
  t->keys({"C-d"});
  EXPECT_EQ(t->waitForExit(), 0) << t->screen();
  EXPECT_EQ(t->screen().find("not saved"), std::string::npos) << t->screen();
}

TEST_F(ConsoleInTerminal, HelpFitsTheTerminalAndDescribesEachFunction) {
  // Tall enough for all of it: no pager.
  auto t = start(60, 300);
  enter(*t, "(zrhost-help 'all)", "(zrhost-help 'NAME) shows one of them.");
  const std::string screen = t->screen();
  std::istringstream lines(screen);
  for (std::string line; std::getline(lines, line);) EXPECT_LT(line.size(), 60u) << line;
  for (const char* call :
       {"(zrConectores)", "(SelecaoConector PIN-CODE [CONNECTOR-CODE])",
        "(PerguntaInserirPinoConectado PIN-CODE CONNECTOR-CODE)", "(NovoConector [COMPONENT-KEY [REFERENCE]])",
        "(AtualizarDicConectores)", "(GetEnameConector NAME)", "(BuscaListaConectores)"})
    EXPECT_NE(screen.find(std::string("\n") + call + "\n"), std::string::npos) << call << "\n" << screen;
  EXPECT_EQ(count(screen, "  Result: "), 7) << screen;
  EXPECT_NE(screen.find("(drawing-save [DRAWING]): writes the drawing"), std::string::npos) << screen;

  // The full help must be gone before the one entry is looked for: it holds
  // the same text.
  t->keys({"C-l"});
  ASSERT_TRUE(t->waitForGone("(GetEnameConector")) << t->screen();
  enter(*t, "(zrhost-help 'BuscaListaConectores)", "'() when there is none.");
  const std::string one = t->screen();
  EXPECT_NE(one.find("(BuscaListaConectores)\n  Lists the connectors"), std::string::npos) << one;
  EXPECT_EQ(one.find("(GetEnameConector"), std::string::npos) << one;
  enter(*t, "(zrhost-help \"nothing-of-that-name\")", "No help for nothing-of-that-name");
}

TEST_F(ConsoleInTerminal, HelpStartsWithAShortIndexAndPagesWhatIsLong) {
  auto t = start(80, 24);
  // The index fits the screen with the line that asked for it.
  enter(*t, "(zrhost-help)", "Functions of the active drawing:");
  std::string screen = t->screen();
  for (const char* topic : {"  all ", "  module ", "  host ", "  dialogs ", "  settings ", "  NAME "})
    EXPECT_NE(screen.find(topic), std::string::npos) << topic << "\n" << screen;
  EXPECT_NE(screen.find("(zrhost-help)\nzrhost help."), std::string::npos) << screen;
  EXPECT_EQ(screen.find("Result:"), std::string::npos) << screen;
  // A topic.
  enter(*t, "(zrhost-help 'settings)", "ZR_SETTINGS_DIR");
  // Everything is longer than 24 rows: the pager holds it at the first page
  // until the person leaves it.
  t->keys({"C-l"});
  t->type("(zrhost-help 'all)");
  t->keys({"Enter"});
  ASSERT_TRUE(t->waitFor("The module's functions (each runs in the active drawing):")) << t->screen();
  screen = t->screen();
  EXPECT_EQ(screen.find("(zrhost-help 'NAME) shows one of them."), std::string::npos) << screen;
  EXPECT_EQ(screen.find("\nzrhost> "), std::string::npos) << screen;
  t->keys({"q"});
  ASSERT_TRUE(t->waitFor("zrhost>")) << t->screen();
}

// Without a terminal there is nobody to ask: the run ends and names the
// drawings that were not saved.
TEST_F(ZrhostRun, RunsWithoutTerminalNameUnsavedDrawings) {
  using zrhost_testing::describe;
  zrhost_testing::Outcome o = zrhost_testing::runWithTestModule(folder(), {"--eval", "(zrtTouch)", "a.dxf"});
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_NE(o.err.find("zrhost: not saved: a.dxf\n"), std::string::npos) << describe(o);

  o = zrhost_testing::runWithTestModule(folder(), {"b.dxf", "a.dxf"}, "(zrtTouch)\n(drawing-activate 0)\n(zrtTouch)\n");
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_NE(o.err.find("zrhost: not saved: b.dxf, a.dxf\n"), std::string::npos) << describe(o);

  o = zrhost_testing::runWithTestModule(folder(), {"--eval", "(zrtTouch) (drawing-save)", "a.dxf"});
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_EQ(o.err.find("not saved"), std::string::npos) << describe(o);

  // Help without a terminal wraps to $COLUMNS.
  zrhost_testing::Invocation help;
  help.args = {"--no-module", "--eval", "(zrhost-help 'all)"};
  help.env = {{"COLUMNS", "50"}};
  o = zrhost_testing::runZrhost(folder(), help);
  EXPECT_EQ(o.status, 0) << describe(o);
  std::istringstream lines(o.out);
  for (std::string line; std::getline(lines, line);) EXPECT_LT(line.size(), 50u) << line;
  EXPECT_NE(o.out.find("(GetEnameConector NAME)"), std::string::npos) << describe(o);
}

}  // namespace
