// Text measured in terminal cells: wide characters take two, combining marks
// none; fields, labels and carets on the character grid follow the cells,
// and a wide character that does not fit at an edge is left out whole.
#include <gtest/gtest.h>

#include <string>

#include "ui_test_support.h"
#include "zrui/cellwidth.h"
#include "zrui/dialog.h"
#include "zrui/gdi.h"
#include "zrui/metrics.h"
#include "zrui/testing.h"
#include "zrui/textrender.h"

namespace {

using zrui::test::Narrow;

struct Width {
  char32_t c;
  int cells;
};

TEST(CellWidth, FollowsTheUnicodeWidthsAsTerminalsDo) {
  const Width cases[] = {
      {U'a', 1},      {U'\u00E9', 1} /* é */, {U'\u00E3', 1} /* ã */, {U'\u0301', 0} /* combining acute */,
      {U'\u6F22', 2} /* 漢 */, {U'\u3042', 2} /* あ */, {U'\uAC00', 2} /* 가 */, {U'\uFF21', 2} /* fullwidth A */,
      {U'\u200B', 0} /* zero width space */, {U'\u25CF', 1} /* ● */, {U'\U0001F600', 2} /* emoji */,
      {U'\u00AD', 1} /* soft hyphen */, {U'\u0416', 1} /* Ж */,
  };
  for (const Width& w : cases) EXPECT_EQ(zrui::CellWidth(w.c), w.cells) << std::hex << static_cast<unsigned>(w.c);
}

struct Fit {
  std::u16string text;
  int cells;
  std::size_t fits;  // code units of the start that fits
};

TEST(CellWidth, TextsAreMeasuredCutAndHitInCells) {
  EXPECT_EQ(zrui::TextCells(u"\u6F22\u5B57ab"), 6);
  EXPECT_EQ(zrui::TextCells(u"e\u0301"), 1);
  EXPECT_EQ(zrui::TextCells(u"\U0001F600x"), 3);  // a surrogate pair is one wide character
  const Fit cases[] = {
      {u"\u6F22\u5B57ab", 3, 1},   // the second wide character would be split: left out
      {u"\u6F22\u5B57ab", 4, 2},   {u"\u6F22\u5B57ab", 5, 3}, {u"abc", 10, 3},
      {u"e\u0301x", 1, 2},         // the mark stays with its letter
      {u"\U0001F600x", 1, 0},      // never half a pair
  };
  for (const Fit& f : cases)
    EXPECT_EQ(zrui::FitCells(f.text, f.cells), f.fits) << Narrow(f.text) << " in " << f.cells;
  // A click on either half of a wide character lands on it.
  EXPECT_EQ(zrui::IndexAtCell(u"\u6F22\u5B57ab", 0), 0u);
  EXPECT_EQ(zrui::IndexAtCell(u"\u6F22\u5B57ab", 3), 1u);
  EXPECT_EQ(zrui::IndexAtCell(u"\u6F22\u5B57ab", 4), 2u);
  EXPECT_EQ(zrui::IndexAtCell(u"\u6F22\u5B57ab", 9), 4u);
}

class CellsOnTheGrid : public ::testing::Test {
 protected:
  zrui::ScopedMetricsProfile profile{zrui::MetricsProfile::Text};
  HWND dlg = nullptr;
  void TearDown() override {
    if (dlg) DestroyWindow(dlg);
  }
  void Make(std::vector<DialogItem> items) {
    DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
    t.caption = u"Cells";
    t.cx = 120;
    t.cy = 40;
    t.items = std::move(items);
    dlg = CreateDialogIndirectParamW(nullptr, &t, nullptr, nullptr, 0);
    ASSERT_NE(dlg, nullptr);
  }
  // The row of the grid that holds text, and the column where it starts.
  static std::pair<int, int> Find(const zrui::TextGrid& g, const std::u16string& text) {
    for (int r = 0; r < g.height(); ++r) {
      const std::u16string line = g.line(r);
      const std::size_t at = line.find(text);
      if (at == std::u16string::npos) continue;
      // Columns count cells: the right halves of wide characters are not in the line.
      int col = 0;
      for (std::size_t seen = 0; seen < at; ++col)
        if (g.at(col, r).ch != zrui::kWideRight) ++seen;
      return {col, r};
    }
    return {-1, -1};
  }
};

TEST_F(CellsOnTheGrid, WideCharactersTypedIntoAFieldShowWithTheCaretAfterThem) {
  Make({zrui::rc::EDITTEXT(10, 8, 8, 80, 12, ES_AUTOHSCROLL)});
  HWND edit = GetDlgItem(dlg, 10);
  ASSERT_TRUE(zrui::FocusByClick(edit));
  zrui::Type(u"\u6F22\u5B57ab");
  EXPECT_EQ(GetWindowTextString(edit), u"\u6F22\u5B57ab");
  const zrui::TextGrid g = zrui::RenderWindow(dlg);
  const auto [col, row] = Find(g, u"\u6F22\u5B57ab__");
  ASSERT_GE(col, 0) << g.utf8();
  // Each wide character on its cell and the right half beside it.
  EXPECT_EQ(g.at(col, row).ch, u'\u6F22');
  EXPECT_EQ(g.at(col + 1, row).ch, zrui::kWideRight);
  EXPECT_EQ(g.at(col + 2, row).ch, u'\u5B57');
  EXPECT_EQ(g.at(col + 4, row).ch, u'a');
  // The caret stands after the six cells of the text.
  HWND owner = nullptr;
  POINT at{};
  SIZE size{};
  ASSERT_TRUE(zrui::GetCaretState(&owner, &at, &size));
  EXPECT_EQ(owner, edit);
  EXPECT_EQ(at.x, 6 * kCharWidth);
  // A click on the right half of the second character puts the caret before it.
  RECT r{};
  GetWindowRect(edit, &r);
  ASSERT_TRUE(zrui::ClickAt(edit, POINT{3 * kCharWidth + 1, 2}));
  zrui::Type(u"x");
  EXPECT_EQ(GetWindowTextString(edit), u"\u6F22x\u5B57ab");
}

TEST_F(CellsOnTheGrid, AWideCharacterThatDoesNotFitIsLeftOutWholeAndAccentsCompose) {
  // A label three cells wide (12 dialog units) with a field right after it,
  // so that it cannot grow: the wide character would need a fourth cell.
  Make({zrui::rc::LTEXT(u"ab\u6F22", 11, 8, 8, 12, 8), zrui::rc::EDITTEXT(13, 20, 8, 40, 8),
        zrui::rc::LTEXT(u"Jose\u0301", 12, 8, 20, 40, 8)});
  const zrui::TextGrid g = zrui::RenderWindow(dlg);
  const auto [col, row] = Find(g, u"ab");
  ASSERT_GE(col, 0) << g.utf8();
  EXPECT_EQ(g.at(col + 2, row).ch, u' ') << g.utf8();
  for (int c = 0; c < g.width(); ++c) EXPECT_NE(g.at(c, row).ch, u'\u6F22') << g.utf8();
  // A letter and its combining accent share one cell.
  const auto [jose, joseRow] = Find(g, u"Jos\u00E9");
  ASSERT_GE(jose, 0) << g.utf8();
  EXPECT_EQ(g.at(jose + 4, joseRow).ch, u' ');
}

}  // namespace
