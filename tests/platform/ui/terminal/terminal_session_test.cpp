// The terminal session in a real terminal (tmux), through the probe program:
// keys and mouse as a person sends them, the screen as the terminal shows it
// (with its colours), panning, resizing, and the terminal given back on every
// way out.

#include <signal.h>

#include <chrono>
#include <memory>
#include <set>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "temp_dir.h"
#include "tmux_terminal.h"

namespace {

using testing_support::TmuxTerminal;

class TerminalSession : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!TmuxTerminal::available()) GTEST_SKIP() << "tmux is not installed";
  }

  std::unique_ptr<TmuxTerminal> start(int columns, int rows, const std::string& term = "xterm-256color",
                                      std::map<std::string, std::string> env = {}, bool jobControl = false) {
    auto t = std::make_unique<TmuxTerminal>(std::vector<std::string>{ZRTERM_PROBE, log()}, dir_.path().string(),
                                            columns, rows, env, term, jobControl);
    EXPECT_TRUE(t->waitFor("first:")) << t->screen();
    return t;
  }

  std::string log() const { return dir_.file("events.log"); }
  std::string events() const { return testing_support::readFile(log()); }
  // Waits until the log holds text.
  bool logged(const std::string& text) const {
    for (int i = 0; i < 500; ++i) {
      if (events().find(text) != std::string::npos) return true;
      usleep(20000);
    }
    return false;
  }

  // The terminal came back as it was: canonical input, echo, signals.
  static void expectSane(const std::string& stty) {
    std::set<std::string> modes;
    std::istringstream words(stty);
    for (std::string w; words >> w;) modes.insert(w);
    for (const char* mode : {"icanon", "echo", "isig", "icrnl", "opost"}) EXPECT_TRUE(modes.count(mode)) << mode << "\n" << stty;
  }

  testing_support::TempDir dir_;
};

TEST_F(TerminalSession, KeysArriveAsTheToolkitsKeys) {
  auto t = start(80, 24);
  t->keys({"Tab", "BTab", "Up", "Down", "Left", "Right", "Enter", "Space", "+", "-", "M-o", "DC", "BSpace", "Home",
           "End", "NPage", "F4", "C-a"});
  t->type("a\xC3\xA9");
  t->keys({"Escape"});
  ASSERT_TRUE(logged("Escape\n")) << events();
  EXPECT_EQ(events(),
            "depth 2\nTab\nShift+Tab\nUp\nDown\nLeft\nRight\nEnter\nSpace\nChar(+)\nChar(-)\nAlt+O\nDelete\nBack\n"
            "Home\nEnd\nPageDown\nF4\nCtrl+A\nChar(a)\nChar(\xC3\xA9)\nEscape\n");
  // Ctrl-C is read as a key, not taken as a signal.
  t->keys({"C-c"});
  EXPECT_EQ(t->waitForExit(), 3) << t->screen();
  expectSane(t->sttyAfterExit());
}

TEST_F(TerminalSession, MouseClicksDoubleClicksWheelAndDrags) {
  auto t = start(80, 24);
  // SGR mouse reports (1006), as a terminal sends them: column;row from 1.
  const std::string csi = "\033[<";
  t->raw(csi + "0;5;3M" + csi + "0;5;3m");         // click at 4,2
  t->raw(csi + "0;5;3M" + csi + "0;5;3m");         // again: a double click
  t->raw(csi + "64;10;6M" + csi + "65;10;6M");     // wheel up, down
  t->raw(csi + "0;20;10M" + csi + "32;22;11M" + csi + "0;22;11m");  // drag
  t->keys({"q"});
  EXPECT_EQ(t->waitForExit(), 0) << t->screen();
  EXPECT_EQ(events(),
            "depth 2\nPress(1)@4,2\nRelease(1)@4,2\nDouble(1)@4,2\nRelease(1)@4,2\nWheelUp@9,5\nWheelDown@9,5\n"
            "Press(1)@19,9\nMove(drag 1)@21,10\nRelease(1)@21,10\nChar(q)\n");
}

TEST_F(TerminalSession, ASmallTerminalPansToTheFocusAndAResizeShowsEverything) {
  auto t = start(80, 24);
  std::string screen = t->screen();
  EXPECT_EQ(screen.rfind(" Probe screen 100x30", 0), 0u) << screen;
  EXPECT_EQ(screen.find("far:"), std::string::npos) << screen;
  // Focus to the far field: the terminal pans right and down.
  t->keys({"BTab"});
  ASSERT_TRUE(t->waitFor(">far:")) << t->screen();
  screen = t->screen();
  EXPECT_EQ(screen.find("Probe screen"), std::string::npos) << screen;
  t->type("xy");
  ASSERT_TRUE(t->waitFor(">far: xy")) << t->screen();
  // Back to the first field: it pans back.
  t->keys({"Tab"});
  ASSERT_TRUE(t->waitFor(">first:")) << t->screen();
  // At 120 x 40 the whole screen fits, every field in its place.
  // The redraw after the resize may be caught half done: the whole screen
  // is waited for, caption on the first row.
  t->resize(120, 40);
  ASSERT_TRUE(t->waitFor(" far: xy")) << t->screen();
  ASSERT_TRUE(t->waitFor("\n  \u25CF ok")) << t->screen();
  for (int i = 0; i < 100; ++i) {
    screen = t->screen();
    if (screen.rfind(" Probe screen 100x30\n", 0) == 0) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_EQ(screen.substr(0, screen.find('\n')), " Probe screen 100x30") << screen;
  t->keys({"q"});
  EXPECT_EQ(t->waitForExit(), 0);
  expectSane(t->sttyAfterExit());
  // The console comes back as it was before the session (empty here): no
  // row of the session's screen is left on it after the resize.
  screen = t->screen();
  EXPECT_EQ(screen.find_first_not_of('\n'), std::string::npos) << screen;
}

TEST_F(TerminalSession, LightsKeepTheirColoursAtEveryDepth) {
  {
    auto t = start(100, 30);
    const std::string screen = t->screen(true);
    // 256 colours: green 34, yellow 184, red 160, grey 244 on the face's 250.
    EXPECT_NE(screen.find("\033[48;5;250m"), std::string::npos) << screen;
    EXPECT_NE(screen.find("\033[38;5;34m\u25CF ok"), std::string::npos) << screen;
    EXPECT_NE(screen.find("\033[38;5;184m\u25CF missing"), std::string::npos) << screen;
    EXPECT_NE(screen.find("\033[38;5;160m\u25CF wrong"), std::string::npos) << screen;
    EXPECT_NE(screen.find("\033[38;5;244m\u25CF absent"), std::string::npos) << screen;
    EXPECT_NE(screen.find("\033[4m\033[38;5;21m\033[48;5;231mlink cell"), std::string::npos) << screen;
    EXPECT_NE(screen.find("\033[38;5;231m\033[48;5;18mselected row"), std::string::npos) << screen;
    t->keys({"q"});
    t->waitForExit();
  }
  {
    auto t = start(100, 30, "xterm");
    const std::string screen = t->screen(true);
    // 8 colours: on the face's white, green, yellow, red; grey is bright
    // (bold) black.
    EXPECT_NE(screen.find("\033[30m\033[47m"), std::string::npos) << screen;
    EXPECT_NE(screen.find("\033[32m\u25CF ok"), std::string::npos) << screen;
    EXPECT_NE(screen.find("\033[33m\u25CF missing"), std::string::npos) << screen;
    EXPECT_NE(screen.find("\033[31m\u25CF wrong"), std::string::npos) << screen;
    EXPECT_NE(screen.find("\033[1m\u25CF absent"), std::string::npos) << screen;
    EXPECT_NE(screen.find("\033[37m\033[44mselected row"), std::string::npos) << screen;
    t->keys({"q"});
    t->waitForExit();
  }
  {
    auto t = start(100, 30, "xterm-256color", {{"NO_COLOR", "1"}});
    const std::string screen = t->screen(true);
    EXPECT_EQ(screen.find("38;5"), std::string::npos) << screen;
    EXPECT_NE(screen.find("\u25CF ok"), std::string::npos) << screen;
    EXPECT_NE(screen.find("\033[1m\u25CF wrong"), std::string::npos) << screen;
    EXPECT_NE(screen.find("\033[2m\u25CF absent"), std::string::npos) << screen;
    EXPECT_NE(screen.find("\033[4mlink cell"), std::string::npos) << screen;
    EXPECT_NE(screen.find("\033[7mselected row"), std::string::npos) << screen;
    t->keys({"q"});
    t->waitForExit();
  }
}

TEST_F(TerminalSession, TheTerminalComesBackOnEveryWayOut) {
  {  // an exception caught after the session
    auto t = start(80, 24);
    t->type("E");
    EXPECT_EQ(t->waitForExit(), 4);
    EXPECT_NE(t->screen().find("error: caught after the session"), std::string::npos) << t->screen();
    expectSane(t->sttyAfterExit());
  }
  {  // an exception that ends the program
    auto t = start(80, 24);
    t->type("!");
    EXPECT_EQ(t->waitForExit(), 128 + SIGABRT);
    expectSane(t->sttyAfterExit());
  }
  for (int signal : {SIGTERM, SIGHUP}) {
    auto t = start(80, 24);
    ASSERT_GT(t->pid(), 0);
    kill(t->pid(), signal);
    EXPECT_EQ(t->waitForExit(), 128 + signal);
    expectSane(t->sttyAfterExit());
    EXPECT_EQ(t->screen().find("first:"), std::string::npos) << t->screen();
  }
  {  // SIGINT from outside is an interrupt, as Ctrl-C is
    auto t = start(80, 24);
    kill(t->pid(), SIGINT);
    EXPECT_EQ(t->waitForExit(), 3);
    expectSane(t->sttyAfterExit());
  }
}

TEST_F(TerminalSession, SuspendGivesTheTerminalBackAndResumeRedraws) {
  auto t = start(80, 24, "xterm-256color", {}, true);
  t->type("ab");
  ASSERT_TRUE(t->waitFor(">first: ab")) << t->screen();
  kill(t->pid(), SIGTSTP);
  // Stopped: the shell has the terminal again, as it was.
  std::string stopped;
  for (int i = 0; i < 500 && stopped.empty(); ++i, usleep(20000)) stopped = t->sttyWhileStopped();
  ASSERT_FALSE(stopped.empty()) << t->screen();
  expectSane(stopped);
  EXPECT_EQ(t->screen().find("first:"), std::string::npos) << t->screen();
  // Resumed: everything is drawn again and input goes on.
  t->resumeJob();
  ASSERT_TRUE(t->waitFor(">first: ab", 10)) << t->screen();
  ASSERT_TRUE(t->waitFor("Probe screen 100x30", 10)) << t->screen();
  t->type("c");
  ASSERT_TRUE(t->waitFor(">first: abc")) << t->screen();
  // Resized after the resumption: the screen drawn at the new size goes
  // with the session as well.
  t->resize(120, 40);
  ASSERT_TRUE(t->waitFor("far:")) << t->screen();
  t->keys({"q"});
  EXPECT_EQ(t->waitForExit(), 0);
  expectSane(t->sttyAfterExit());
  EXPECT_EQ(t->screen().find("first:"), std::string::npos) << t->screen();
}

}  // namespace
