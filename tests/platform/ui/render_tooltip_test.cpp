// Text snapshots of dialogs, and the HTML tooltip.
#include "ui_test_support.h"
#include "zrui/afx.h"

using namespace zrui::rc;
using zrui::test::Narrow;

namespace {

DialogTemplate NewConnector() {
  DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
  t.caption = u"Novo conector";
  t.cx = 182;
  t.cy = 78;
  t.items = {LTEXT(u"Nome do conector:", 122, 30, 16, 106, 8), COMBOBOX(126, 30, 24, 121, 30, CBS_DROPDOWN),
             DEFPUSHBUTTON(u"OK", IDOK, 72, 57, 50, 14, WS_DISABLED), PUSHBUTTON(u"Cancelar", IDCANCEL, 125, 57, 50, 14)};
  return t;
}

class Snapshot : public ::testing::Test {
 protected:
  void SetUp() override {
    tpl = NewConnector();
    dlg = CreateDialogIndirectParamW(nullptr, &tpl, nullptr, nullptr, 0);
    ASSERT_TRUE(dlg);
    combo = GetDlgItem(dlg, 126);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"J12"));
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"J13"));
    SetWindowTextW(combo, u"J12");
  }
  void TearDown() override { DestroyWindow(dlg); }
  std::u16string Render() { return zrui::RenderWindow(dlg).text(); }
  DialogTemplate tpl;
  HWND dlg = nullptr;
  HWND combo = nullptr;
};

TEST_F(Snapshot, ADialogRendersItsFrameCaptionAndControls) {
  const std::u16string expected =
      u"+- Novo conector ---------------------------[x]+\n"
      u"|                                              |\n"
      u"|                                              |\n"
      u"|        Nome do conector:                     |\n"
      u"|        J12__________________________v        |\n"
      u"|                                              |\n"
      u"|                                              |\n"
      u"|                                              |\n"
      u"|                                              |\n"
      u"|                  <    OK     >[  Cancelar ]  |\n"
      u"|                                              |\n"
      u"+----------------------------------------------+";
  std::u16string got = Render();
  EXPECT_EQ(got, expected) << Narrow(got);
}

TEST_F(Snapshot, TheSnapshotFollowsTheControlsState) {
  zrui::test::MessageLog log;
  SetFocus(combo);
  zrui::Type(u"4");  // typed over the selected text
  ShowWindow(GetDlgItem(dlg, IDCANCEL), SW_HIDE);
  std::u16string got = Render();
  auto lines = zrui::RenderWindow(dlg);
  EXPECT_EQ(lines.line(4), u"|        4____________________________v        |") << Narrow(got);
  EXPECT_EQ(lines.line(9), u"|                  <    OK     >               |") << Narrow(got);
  // The disabled button is drawn in the grey text colour.
  EXPECT_EQ(lines.at(24, 9).fg, GetSysColor(COLOR_GRAYTEXT));
}

TEST_F(Snapshot, ADroppedListAndATooltipAreDrawnOverTheDialog) {
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  CHtmlToolTip tip;
  ASSERT_TRUE(tip.Create(CWnd::FromHandle(dlg)));
  RECT r;
  GetWindowRect(combo, &r);
  tip.Show(u"Nome <b>em uso</b>", POINT{r.left + 10, r.top + 30});
  zrui::TextGrid grid = zrui::RenderWindow(dlg);
  EXPECT_EQ(grid.line(6), u"|        J Nome em uso                         |") << grid.utf8();
  EXPECT_EQ(grid.line(7), u"|        J13                                   |") << grid.utf8();
  // "em uso" is bold, "Nome" is not.
  EXPECT_FALSE(grid.at(12, 6).bold);
  EXPECT_TRUE(grid.at(16, 6).bold);
  tip.Hide();
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_EQ(zrui::RenderWindow(dlg).line(6), u"|                                              |");
}

TEST(Tooltip, TheHtmlSubsetBecomesStyledLines) {
  auto lines = zrui::ParseTooltipHtml(u"Nome <b>J1</b> em uso<br>use <i>outro &amp; novo</i><unknown>!");
  ASSERT_EQ(lines.size(), 2u);
  ASSERT_EQ(lines[0].size(), 3u);
  EXPECT_EQ(lines[0][1].text, u"J1");
  EXPECT_TRUE(lines[0][1].bold);
  EXPECT_FALSE(lines[0][2].bold);
  EXPECT_EQ(lines[1][1].text, u"outro & novo");
  EXPECT_TRUE(lines[1][1].italic);
  EXPECT_EQ(zrui::TooltipPlainText(u"a<BR/>b &lt;c&gt; </b>d"), u"a\nb <c> d") << "stray closing tags are ignored";
  EXPECT_EQ(zrui::TooltipPlainText(u"1 < 2"), u"1 < 2") << "an unclosed '<' stays text";
}

TEST(Tooltip, ShowMovesReplacesAndHidesWithoutTakingTheFocus) {
  DialogTemplate t = NewConnector();
  HWND dlg = CreateDialogIndirectParamW(nullptr, &t, nullptr, nullptr, 0);
  HWND focus = GetFocus();
  CHtmlToolTip tip;
  ASSERT_TRUE(tip.Create(CWnd::FromHandle(dlg)));
  EXPECT_FALSE(tip.IsShown());
  tip.Show(u"primeiro", POINT{300, 200});
  tip.Show(u"<b>segundo</b><br>linha", POINT{310, 220});
  EXPECT_TRUE(tip.IsShown());
  EXPECT_EQ(tip.GetPlainText(), u"segundo\nlinha");
  RECT r;
  tip.GetWindowRect(&r);
  EXPECT_EQ(r.left, 310);
  EXPECT_EQ(r.top, 220);
  EXPECT_EQ(r.bottom - r.top, 2 * kCharHeight);
  EXPECT_EQ(GetFocus(), focus);
  tip.Hide();
  EXPECT_FALSE(tip.IsShown());
  DestroyWindow(dlg);
  EXPECT_EQ(tip.m_hWnd, nullptr) << "the tooltip goes with its dialog";
  tip.Show(u"ignored", POINT{0, 0});  // no window: nothing happens
  EXPECT_FALSE(tip.IsShown());
}

}  // namespace
