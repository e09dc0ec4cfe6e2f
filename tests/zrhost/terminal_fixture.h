#pragma once
// zrhost in a real terminal (tmux) for the end-to-end tests of its dialogs:
// starting it with the test module, calling a function that opens a dialog,
// finding text on the screen, and the mouse as a terminal reports it (SGR
// mouse reports: presses, releases, moves with a button held, the wheel).

#include <chrono>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "drawings_fixture.h"
#include "tmux_terminal.h"

using testing_support::TmuxTerminal;

class DialogsInTerminal : public ZrhostRun {
 protected:
  void SetUp() override {
    if (!TmuxTerminal::available()) GTEST_SKIP() << "tmux is not installed";
    ZrhostRun::SetUp();
  }

  std::unique_ptr<TmuxTerminal> start(int columns, int rows) {
    auto t = std::make_unique<TmuxTerminal>(
        std::vector<std::string>{ZRHOST_PROGRAM, "--module", ZRHOST_TEST_MODULE, "a.dxf"}, folder(), columns, rows,
        std::map<std::string, std::string>{{"HOME", folder()}});
    EXPECT_TRUE(t->waitFor("zrhost>")) << t->screen();
    return t;
  }

  static void call(TmuxTerminal& t, const std::string& line, const std::string& shows) {
    t.type(line);
    t.keys({"Enter"});
    ASSERT_TRUE(t.waitFor(shows)) << "after " << line << ":\n" << t.screen();
  }

  // The cell (column, row) where text starts on the screen.
  static std::pair<int, int> cellOf(const std::string& screen, const std::string& text) {
    std::istringstream lines(screen);
    int row = 0;
    for (std::string line; std::getline(lines, line); ++row) {
      const std::size_t at = line.find(text);
      if (at == std::string::npos) continue;
      // Columns count characters: UTF-8 continuation bytes take none.
      int column = 0;
      for (std::size_t i = 0; i < at; ++i) column += (static_cast<unsigned char>(line[i]) & 0xC0) != 0x80;
      return {column, row};
    }
    return {-1, -1};
  }

  // Waits (bounded) until the terminal's cursor stands at cell; true when it
  // does. The cursor comes with the screen's next update, after the text.
  static bool waitForCursor(const TmuxTerminal& t, std::pair<int, int> cell) {
    for (int i = 0; i < 250 && t.cursor() != cell; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return t.cursor() == cell;
  }

  // The underline of each character of text where it first shows on a
  // screen captured with its escapes (TmuxTerminal::screen(true)): '_' for
  // an underlined one, ' ' for a plain one; "not shown" when it is not there.
  // Reads the SGR sequences that set (4) and clear (24, 0) the underline and
  // steps over the colour ones.
  static std::string underlines(const std::string& coloured, const std::string& text) {
    std::string plain, marks;  // marks: one per byte of plain
    bool underline = false;
    for (std::size_t i = 0; i < coloured.size(); ++i) {
      if (coloured[i] == '\033' && i + 1 < coloured.size() && coloured[i + 1] == '[') {
        const std::size_t end = coloured.find_first_of("ABCDEFGHJKSTfmhl", i + 2);
        if (end == std::string::npos) break;
        if (coloured[end] == 'm') {
          std::vector<int> params;
          std::istringstream in(coloured.substr(i + 2, end - i - 2));
          for (std::string p; std::getline(in, p, ';');) params.push_back(p.empty() ? 0 : std::atoi(p.c_str()));
          if (params.empty()) params.push_back(0);
          for (std::size_t k = 0; k < params.size(); ++k) {
            if (params[k] == 38 || params[k] == 48) k += (k + 1 < params.size() && params[k + 1] == 5) ? 2 : 4;
            else if (params[k] == 0 || params[k] == 24) underline = false;
            else if (params[k] == 4) underline = true;
          }
        }
        i = end;
        continue;
      }
      plain += coloured[i];
      marks += underline ? '_' : ' ';
    }
    const std::size_t at = plain.find(text);
    return at == std::string::npos ? "not shown" : marks.substr(at, text.size());
  }

  // An SGR mouse report: code (0 left button, +32 a move with it held, 64
  // and 65 the wheel up and down) at a cell; press or release.
  static std::string report(int code, std::pair<int, int> cell, bool press = true) {
    return "\033[<" + std::to_string(code) + ";" + std::to_string(cell.first + 1) + ";" +
           std::to_string(cell.second + 1) + (press ? "M" : "m");
  }
  // A click at a cell.
  static void click(TmuxTerminal& t, std::pair<int, int> cell) { t.raw(report(0, cell) + report(0, cell, false)); }
  // Two clicks at once: a double click.
  static void doubleClick(TmuxTerminal& t, std::pair<int, int> cell) {
    t.raw(report(0, cell) + report(0, cell, false) + report(0, cell) + report(0, cell, false));
  }
  // One notch of the wheel over a cell, towards the user (down) or away.
  static void wheel(TmuxTerminal& t, std::pair<int, int> cell, bool down) { t.raw(report(down ? 65 : 64, cell)); }
  // The left button pressed at from, moved through the cells between (one
  // row or column a report), released at to.
  static void drag(TmuxTerminal& t, std::pair<int, int> from, std::pair<int, int> to) {
    std::string bytes = report(0, from);
    std::pair<int, int> at = from;
    while (at != to) {
      at.first += (to.first > at.first) - (to.first < at.first);
      at.second += (to.second > at.second) - (to.second < at.second);
      bytes += report(32, at);
    }
    t.raw(bytes + report(0, to, false));
  }

#ifdef ZRHOST_REAL_MODULE
  // zrhost with the module itself on the example drawing and catalogue, the
  // suite's script loaded.
  // zrhost with the module on the example drawing and catalogue, at the
  // prompt; `extra` adds to its environment (NO_COLOR, ...).
  std::unique_ptr<TmuxTerminal> startModule(int columns, int rows,
                                            const std::map<std::string, std::string>& extra = {}) {
    const std::string examples = ZRHOST_EXAMPLES;
    EXPECT_EQ(std::system(("bash " + examples + "/catalogue/build-sqlite.sh " + file("catalogo.db") + " >/dev/null 2>&1").c_str()), 0);
    write("zrnovo.ini", "[database]\ndata_folder = " + folder() + "/\ntype = MDB\nname = catalogo.db\n");
    write("drawing.dxf", testing_support::readFile(examples + "/drawing.dxf"));
    std::map<std::string, std::string> env{{"HOME", folder()}, {"ZR_SETTINGS_DIR", folder()}};
    env.insert(extra.begin(), extra.end());
    auto t = std::make_unique<TmuxTerminal>(
        std::vector<std::string>{ZRHOST_PROGRAM, "--program", "zrnovo", "--module", ZRHOST_REAL_MODULE, "--load",
                                 examples + "/suite.scm", "drawing.dxf"},
        folder(), columns, rows, env);
    EXPECT_TRUE(t->waitFor("zrhost>")) << t->screen();
    return t;
  }
#endif

  static void expectSane(const std::string& stty) {
    std::set<std::string> modes;
    std::istringstream words(stty);
    for (std::string w; words >> w;) modes.insert(w);
    for (const char* mode : {"icanon", "echo", "isig", "icrnl", "opost"})
      EXPECT_TRUE(modes.count(mode)) << mode << "\n" << stty;
  }
};

