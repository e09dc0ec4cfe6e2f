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

// Asked for over a combo box, the tip lies below it, below its list while
// the list is dropped, and inside the dialog when it fits there: a long tip
// moves left rather than run over the dialog's frame.
TEST_F(Snapshot, ATipOverAComboStaysClearOfItsDroppedListAndInsideTheDialog) {
  CHtmlToolTip tip;
  ASSERT_TRUE(tip.Create(CWnd::FromHandle(dlg)));
  RECT field, inside, at;
  GetWindowRect(combo, &field);
  GetClientRect(dlg, &inside);
  MapWindowPoints(dlg, nullptr, reinterpret_cast<POINT*>(&inside), 2);
  // Narrower than the dialog, but running past it from the point asked for.
  const char16_t* text = u"Este nome j\u00e1 est\u00e1 em uso por outro item.";
  tip.Show(text, POINT{field.left + 10, field.top});
  tip.GetWindowRect(&at);
  EXPECT_EQ(at.top, field.bottom);
  ASSERT_GT(field.left + 10 + (at.right - at.left), inside.right);
  EXPECT_EQ(at.right, inside.right) << "moved left to end at the frame";
  zrui::TextGrid grid = zrui::RenderWindow(dlg);
  EXPECT_NE(grid.text().find(u"em uso por outro item. |\n"), std::u16string::npos) << grid.utf8();

  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  tip.Show(text, POINT{field.left + 10, field.top});
  RECT dropped;
  ASSERT_TRUE(SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped)));
  EXPECT_GT(dropped.bottom, field.bottom) << "the list's window, frame and all";
  tip.GetWindowRect(&at);
  EXPECT_EQ(at.top, dropped.bottom);
  grid = zrui::RenderWindow(dlg);
  EXPECT_NE(grid.utf8().find("J13"), std::string::npos) << "the list stays in sight\n" << grid.utf8();

  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
  tip.Show(text, POINT{field.left + 10, field.top});
  tip.GetWindowRect(&at);
  EXPECT_EQ(at.top, field.bottom);
  // A short tip stays where it was asked for.
  tip.Show(u"curto", POINT{field.left + 10, field.top});
  tip.GetWindowRect(&at);
  EXPECT_EQ(at.left, field.left + 10);
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
