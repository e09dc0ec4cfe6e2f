// Dialogs in the terminal at any size: centred, placed again while the
// terminal is resized, shown through a view that keeps the focus in sight
// when they are larger than the terminal, wide characters whole, message
// boxes wrapped, and the state lights told apart without colour.

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "terminal_fixture.h"

namespace {

std::vector<std::string> rowsOf(const std::string& screen) {
  std::vector<std::string> rows;
  std::istringstream in(screen);
  for (std::string line; std::getline(in, line);) rows.push_back(line);
  return rows;
}

// Cells of a UTF-8 text as the capture shows them: one a character, two a
// wide one (the CJK block is enough here).
int cells(const std::string& s) {
  int n = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if ((c & 0xC0) == 0x80) continue;
    n += (c == 0xE4 || c == 0xE5 || c == 0xE6 || c == 0xE7 || c == 0xE8 || c == 0xE9) ? 2 : 1;
  }
  return n;
}

// A dialog's frame on the screen, in cells: the row of its caption and the
// columns of its corners, and the row of its bottom edge.
struct Frame {
  int left = -1, top = -1, right = -1, bottom = -1;
};

Frame frameOf(const std::string& screen, const std::string& caption) {
  Frame f;
  const std::vector<std::string> rows = rowsOf(screen);
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const std::size_t at = rows[r].find("+- " + caption);
    if (at == std::string::npos) continue;
    f.top = r;
    f.left = cells(rows[r].substr(0, at));
    const std::size_t end = rows[r].rfind('+');
    f.right = cells(rows[r].substr(0, end));
    for (int b = r + 1; b < static_cast<int>(rows.size()); ++b) {
      const std::string& row = rows[b];
      std::size_t i = 0;
      int col = 0;
      while (i < row.size() && col < f.left) {
        const auto c = static_cast<unsigned char>(row[i]);
        ++i;
        if ((c & 0xC0) != 0x80) ++col;
        while (i < row.size() && (static_cast<unsigned char>(row[i]) & 0xC0) == 0x80) ++i;
      }
      if (row.compare(i, 3, "+--") == 0) {
        f.bottom = b;
        break;
      }
    }
    break;
  }
  return f;
}

std::string describe(const Frame& f) {
  return "frame [" + std::to_string(f.left) + "," + std::to_string(f.top) + " - " + std::to_string(f.right) + "," +
         std::to_string(f.bottom) + "]";
}

// The frame stands in the middle of a terminal of columns x rows (the spare
// cells split evenly, one more on the right or below when odd).
void expectCentred(const std::string& screen, const std::string& caption, int columns, int rows) {
  const Frame f = frameOf(screen, caption);
  ASSERT_GE(f.top, 0) << screen;
  ASSERT_GE(f.bottom, 0) << describe(f) << "\n" << screen;
  const int spareX = columns - (f.right - f.left + 1), spareY = rows - (f.bottom - f.top + 1);
  EXPECT_LE(std::abs(f.left - spareX / 2), 1) << describe(f) << " at " << columns << "x" << rows << "\n" << screen;
  EXPECT_LE(std::abs(f.top - spareY / 2), 1) << describe(f) << " at " << columns << "x" << rows << "\n" << screen;
}

// Nothing written past the right edge wraps into the next row: every row of
// the capture fits the terminal.
void expectWithin(const std::string& screen, int columns) {
  for (const std::string& row : rowsOf(screen)) EXPECT_LE(cells(row), columns) << row << "\n" << screen;
}

// Waits (bounded) until the screen stops changing: a resize redraws at once,
// but the capture may come between the signal and the redraw.
std::string settled(const TmuxTerminal& t) {
  std::string last = t.screen();
  for (int i = 0; i < 40; ++i) {
    usleep(100000);
    const std::string now = t.screen();
    if (now == last) return now;
    last = now;
  }
  return last;
}

// The name dialog of the test module at 80 x 24, as it shows centred.
const char* const kNameAt80x24 =
    "                   +- Connector name --------------------[x]+\n"
    "                   |                                        |\n"
    "                   |  Name:      X1_______________________  |\n"
    "                   |                                        |\n"
    "                   |  Colour:    red                     v  |\n"
    "                   |                                        |\n"
    "                   |                                        |\n"
    "                   |            <    OK    > [  Cancel   ]  |\n"
    "                   |                                        |\n"
    "                   |                                        |\n"
    "                   +----------------------------------------+\n";

TEST_F(DialogsInTerminal, ADialogIsCentredAndPlacedAgainWhenTheTerminalIsResized) {
  auto t = start(120, 40);
  call(*t, "(zrtAskName \"X1\")", "Connector name");
  expectCentred(t->screen(), "Connector name", 120, 40);
  // Shrink: redrawn at once (no key pressed), centred at the new size,
  // nothing past the edge.
  t->resize(80, 24);
  ASSERT_TRUE(t->waitFor(kNameAt80x24)) << t->screen();
  expectCentred(settled(*t), "Connector name", 80, 24);
  expectWithin(t->screen(), 80);
  // Below the dialog's size: the focused field with its label in view, the
  // hidden sides marked on the edges.
  t->resize(30, 8);
  ASSERT_TRUE(t->waitFor("Name:      X1")) << t->screen();
  std::string screen = settled(*t);
  expectWithin(screen, 30);
  const std::vector<std::string> small = rowsOf(screen);
  ASSERT_EQ(small.size(), 8u) << screen;
  EXPECT_EQ(small[0].rfind("+- Connector name ---", 0), 0u) << "caption row first\n" << screen;
  // Scroll bars on the last column and row: more below and to the right.
  EXPECT_EQ(small[6].size(), 30u) << screen;
  EXPECT_EQ(small[6].back(), 'v') << screen;
  EXPECT_EQ(small[7].back(), '>') << screen;
  EXPECT_EQ(small[7].find('<'), std::string::npos) << screen;
  // Tab to Cancel at the bottom right: the view follows, the caption's row
  // stays on the first row.
  t->keys({"Tab", "Tab", "Tab"});
  // Focused, Cancel carries the default marker.
  ASSERT_TRUE(t->waitFor("<  Cancel   >")) << t->screen();
  screen = settled(*t);
  EXPECT_NE(rowsOf(screen)[0].find("name -----"), std::string::npos) << screen;
  EXPECT_EQ(rowsOf(screen)[7][0], '<') << screen;
  // Grown: the whole dialog centred again.
  t->resize(120, 40);
  ASSERT_TRUE(t->waitFor("|  Name:      X1")) << t->screen();
  expectCentred(settled(*t), "Connector name", 120, 40);
  t->keys({"Escape"});
  ASSERT_TRUE(t->waitFor("(zrtAskName \"X1\")\n()\nzrhost>")) << t->screen();
  // Resized at the console: the next dialog opens centred at that size.
  t->resize(100, 30);
  settled(*t);
  call(*t, "(zrtAskName \"X2\")", "Connector name");
  expectCentred(settled(*t), "Connector name", 100, 30);
  t->keys({"Enter"});
  ASSERT_TRUE(t->waitFor("(\"X2\" \"red\")\nzrhost>")) << t->screen();
  // Opened in a terminal smaller than itself: the focused name field in
  // view; Tab to OK at the bottom pans to it.
  t->resize(40, 10);
  settled(*t);
  call(*t, "(zrtAskName \"X3\")", "Name:");
  EXPECT_NE(t->screen().find("X3____"), std::string::npos) << t->screen();
  t->keys({"Tab", "Tab"});
  ASSERT_TRUE(t->waitFor("<    OK    >")) << t->screen();
  t->keys({"Enter"});
  ASSERT_TRUE(t->waitFor("(\"X3\" \"red\")\nzrhost>")) << t->screen();
}

TEST_F(DialogsInTerminal, WideAndAccentedCharactersTypedIntoANameShowAndComeBack) {
  auto t = start(120, 40);
  call(*t, "(zrtAskName \"X1\")", "Connector name");
  t->type("\xE6\xBC\xA2\xE5\xAD\x97" "ab");  // 漢字ab
  ASSERT_TRUE(t->waitFor("Name:      \xE6\xBC\xA2\xE5\xAD\x97" "ab____")) << t->screen();
  // The cursor after the six cells of the text.
  const auto name = cellOf(t->screen(), "Name:");
  EXPECT_TRUE(waitForCursor(*t, {name.first + 11 + 6, name.second})) << t->screen();
  // The frame on that row stays where it was: the text took its cells only.
  const std::vector<std::string> rows = rowsOf(t->screen());
  const Frame f = frameOf(t->screen(), "Connector name");
  EXPECT_EQ(cells(rows[name.second]), f.right + 1) << rows[name.second];
  t->keys({"Enter"});
  ASSERT_TRUE(t->waitFor("(\"\xE6\xBC\xA2\xE5\xAD\x97" "ab\" \"red\")\nzrhost>")) << t->screen();
  // Accents, typed composed.
  call(*t, "(zrtAskName \"X1\")", "Connector name");
  t->type("Conex\xC3\xA3o \xC3\xA9");
  ASSERT_TRUE(t->waitFor("Name:      Conex\xC3\xA3o \xC3\xA9____")) << t->screen();
  t->keys({"Enter"});
  ASSERT_TRUE(t->waitFor("(\"Conex\xC3\xA3o \xC3\xA9\" \"red\")\nzrhost>")) << t->screen();
}

TEST_F(DialogsInTerminal, AMessageBoxWrapsItsTextAtEightyColumns) {
  auto t = start(80, 24);
  const std::string text =
      "Os pinos do conector X1 foram alterados no desenho. Deseja atualizar todos os pinos segundo o "
      "cat\xC3\xA1logo agora, mantendo os nomes e identificadores dados aos s\xC3\xADmbolos?";
  call(*t, "(message-box \"" + text + "\" \"zrhost\" 4)", "+- zrhost");
  const std::string screen = t->screen();
  expectWithin(screen, 80);
  // Every word shows, the last ones too, in a box of about two thirds of
  // the width, centred.
  for (const char* word : {"Os pinos", "todos os pinos", "segundo", "s\xC3\xADmbolos?"})
    EXPECT_NE(screen.find(word), std::string::npos) << word << "\n" << screen;
  const Frame f = frameOf(screen, "zrhost");
  EXPECT_LE(f.right - f.left + 1, 80 * 2 / 3 + 4) << describe(f) << "\n" << screen;
  expectCentred(screen, "zrhost", 80, 24);
  t->keys({"Tab", "Enter"});
  ASSERT_TRUE(t->waitFor("\n7\nzrhost>")) << t->screen();
}

#ifdef ZRHOST_REAL_MODULE
// The module's three dialogs on the example drawing: opened at 120 x 40,
// resized smaller than themselves and back, each time centred or scrolled
// with its caption in sight and nothing past the edges.
struct ModuleDialog {
  const char* call;
  const char* caption;  // as the frame shows it
  const char* shows;    // a text that tells it is up
};

TEST_F(DialogsInTerminal, TheModulesDialogsFollowEveryResize) {
  auto t = startModule(120, 40);
  const ModuleDialog dialogs[] = {
      {"(NovoConector \"BOR001\")", "Novo conector", "Nome do novo conector:"},
      {"(SelecaoConector \"M12\")", "Sele\xC3\xA7\xC3\xA3o de conector", "+- Sele\xC3\xA7\xC3\xA3o de conector"},
      {"(zrConectores)", "Conectores do desenho", "+- Conectores do desenho"},
  };
  for (const ModuleDialog& d : dialogs) {
    call(*t, d.call, d.shows);
    expectCentred(settled(*t), d.caption, 120, 40);
    for (const auto& [columns, rows] : std::vector<std::pair<int, int>>{{80, 24}, {50, 14}, {120, 40}}) {
      t->resize(columns, rows);
      // Until the dialog stands where it should (centred, or from the
      // corner when larger): the redraw follows the signal.
      std::string screen = settled(*t);
      for (int i = 0; i < 50; ++i) {
        const Frame g = frameOf(screen, d.caption);
        const bool whole = g.bottom >= 0 && g.bottom < rows;
        const int spareX = columns - (g.right - g.left + 1);
        if (g.top >= 0 && (whole ? std::abs(g.left - spareX / 2) <= 1 : g.top == 0)) break;
        usleep(100000);
        screen = t->screen();
      }
      const std::string size = std::to_string(columns) + "x" + std::to_string(rows);
      // The caption row shows whatever the size, nothing past the edges.
      const Frame f = frameOf(screen, d.caption);
      ASSERT_GE(f.top, 0) << d.call << " at " << size << "\n" << screen;
      expectWithin(screen, columns);
      EXPECT_LE(rowsOf(screen).size(), static_cast<std::size_t>(rows)) << screen;
      if (f.bottom >= 0 && f.bottom < rows) {
        // Whole: centred.
        expectCentred(screen, d.caption, columns, rows);
      } else {
        // Larger than the terminal: from its corner, caption on the first row.
        EXPECT_EQ(f.top, 0) << d.call << " at " << size << "\n" << screen;
      }
    }
    // Closed, the dialog gives the console back (the capture drops the
    // prompt's trailing space, so the prompt is looked for without it).
    t->keys({"Escape"});
    ASSERT_TRUE(t->waitFor("zrhost>")) << t->screen();
    settled(*t);
  }
}

TEST_F(DialogsInTerminal, TheConnectorsScreenAtEightyColumnsKeepsEveryFocusedControlInView) {
  auto t = startModule(80, 24);
  call(*t, "(zrConectores)", "+- Conectores do desenho");
  // 93 x 31 cells shown through 80 x 24: caption on the first row, scroll
  // bars telling that more lies to the right and below.
  std::vector<std::string> rows = rowsOf(settled(*t));
  ASSERT_EQ(rows.size(), 24u) << t->screen();
  EXPECT_EQ(rows[0].rfind("+- Conectores", 0), 0u) << t->screen();
  EXPECT_EQ(rows[22].back(), 'v') << t->screen();
  EXPECT_EQ(rows[23].back(), '>') << t->screen();
  // Tab through every control: the terminal's cursor or the focus frame is
  // always on the screen, the caption row first, nothing past the edge.
  EXPECT_EQ(t->screen().find("Fechar"), std::string::npos) << t->screen();
  bool closeShown = false;
  std::string before = t->screen();
  for (int i = 0; i < 12; ++i) {
    t->keys({"Tab"});
    for (int k = 0; k < 50 && t->screen() == before; ++k) usleep(20000);
    const std::string screen = t->screen();
    rows = rowsOf(screen);
    EXPECT_NE(rows[0].find("------"), std::string::npos) << "Tab " << i + 1 << "\n" << screen;
    expectWithin(screen, 80);
    // Focused, the button carries the default marker: < Fechar >.
    closeShown = closeShown || screen.find("  Fechar  ") != std::string::npos;
    before = screen;
  }
  // The close button, out of view at first, came into view with the focus.
  EXPECT_TRUE(closeShown);
  t->keys({"Escape"});
  ASSERT_TRUE(t->waitFor("zrhost>")) << t->screen();
}

TEST_F(DialogsInTerminal, WithoutColourTheLightsOfTheConnectorsScreenReadByTheirShapes) {
  auto terminal = startModule(120, 40, {{"NO_COLOR", "1"}});
  TmuxTerminal& t = *terminal;
  call(t, "(zrConectores)", "+- Conectores do desenho");
  const std::string screen = settled(t);
  // No colour at all in the capture.
  EXPECT_EQ(t.screen(true).find("38;5;"), std::string::npos);
  // A complete connector and a faulty one, by their shapes.
  EXPECT_NE(screen.find("\xE2\x97\x8F "), std::string::npos) << screen;  // ● complete
  EXPECT_NE(screen.find("! "), std::string::npos) << screen;             // ! error
  t.keys({"Escape"});
  ASSERT_TRUE(t.waitFor("zrhost>")) << t.screen();
}
#endif

}  // namespace
