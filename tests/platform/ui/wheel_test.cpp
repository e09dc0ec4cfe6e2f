// The mouse wheel as a person turns it over a dialog: lists, trees and open
// combo lists scroll three rows a notch within their content; a closed combo
// and a window that cannot scroll pass the turn on to their parent.
#include "ui_test_support.h"
#include "zrui/commctrl.h"
#include "zrui/metrics.h"
#include "zrui/testing.h"
#include "zrui/textrender.h"

using namespace zrui::test;
using namespace zrui::rc;

namespace {

constexpr int kList = 10, kTree = 11, kCombo = 12, kButton = 13;
constexpr int kRows = 20;

// Records the turns that reach the dialog itself.
INT_PTR CALLBACK WheelLogDialog(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_INITDIALOG) SetWindowLongPtrW(h, DWLP_USER, l);
  if (msg == WM_MOUSEWHEEL) ++*reinterpret_cast<int*>(GetWindowLongPtrW(h, DWLP_USER));
  (void)w;
  return FALSE;
}

class Wheel : public ::testing::Test {
 protected:
  // Cells as the terminal shows them.
  zrui::ScopedMetricsProfile profile{zrui::MetricsProfile::Text};

  void SetUp() override {
    DialogTemplate t;
    t.caption = u"Wheel";
    t.cx = 300;
    t.cy = 120;
    t.items = {
        CONTROL(u"", kList, WC_LISTVIEWW, WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL, 5, 5, 90, 64),
        CONTROL(u"", kTree, WC_TREEVIEWW, WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS, 100, 5, 90, 64),
        COMBOBOX(kCombo, 200, 5, 90, 60, CBS_DROPDOWNLIST | WS_TABSTOP),
        PUSHBUTTON(u"Go", kButton, 200, 40, 40, 14, WS_TABSTOP),
    };
    dlg = CreateDialogIndirectParamW(nullptr, &t, nullptr, WheelLogDialog, reinterpret_cast<LPARAM>(&dialogTurns));
    ASSERT_NE(dlg, nullptr);
    ShowWindow(dlg, SW_SHOW);
    list = GetDlgItem(dlg, kList);
    tree = GetDlgItem(dlg, kTree);
    combo = GetDlgItem(dlg, kCombo);
    AddListColumn(list, 0, 80, u"Name");
    for (int i = 0; i < kRows; ++i) {
      std::u16string text = u"row " + std::u16string(1, static_cast<char16_t>(u'A' + i));
      AddListRow(list, i, text);
      AddTreeItem(tree, TVI_ROOT, text);
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    zrui::Pump();
  }
  void TearDown() override {
    ReleaseCapture();
    DestroyWindow(dlg);
    zrui::Pump();
  }
  // Turns the wheel over a window (negative notches turn towards the user:
  // later rows come into view).
  void Turn(HWND over, int notches) {
    zrui::InputMouseWheel(ScreenCentre(over), notches * WHEEL_DELTA);
    zrui::Pump();
  }
  int ListTop() const { return static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0)); }
  std::u16string TreeTop() const {
    return TreeItemText(tree, reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0)));
  }
  int ListRowsShown() const { return static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0)); }

  HWND dlg = nullptr, list = nullptr, tree = nullptr, combo = nullptr;
  int dialogTurns = 0;
};

TEST_F(Wheel, AListScrollsThreeRowsANotchAndStopsAtItsEnds) {
  Turn(list, -1);
  EXPECT_EQ(ListTop(), 3);
  Turn(list, -2);
  EXPECT_EQ(ListTop(), 9);
  Turn(list, 1);
  EXPECT_EQ(ListTop(), 6);
  Turn(list, -20);
  EXPECT_EQ(ListTop(), kRows - ListRowsShown()) << "the last row ends at the bottom, no blank page";
  Turn(list, 20);
  EXPECT_EQ(ListTop(), 0);
  EXPECT_EQ(dialogTurns, 0) << "the list took every turn";
  // What is drawn follows: under the heading, the top row.
  Turn(list, -1);
  const zrui::TextGrid grid = zrui::RenderWindow(dlg);
  EXPECT_EQ(grid.line(3).substr(0, 8), u"| |Name ") << grid.utf8();
  EXPECT_EQ(grid.line(4).substr(0, 8), u"| |row D") << grid.utf8();
}

TEST_F(Wheel, ATreeScrollsItsVisibleItemsAndStopsAtItsEnds) {
  Turn(tree, -1);
  EXPECT_EQ(TreeTop(), u"row D");
  Turn(tree, -100);
  const auto perPage = static_cast<int>(SendMessageW(tree, TVM_GETVISIBLECOUNT, 0, 0));
  EXPECT_EQ(TreeTop(), u"row " + std::u16string(1, static_cast<char16_t>(u'A' + kRows - perPage)));
  Turn(tree, 100);
  EXPECT_EQ(TreeTop(), u"row A");
  EXPECT_EQ(dialogTurns, 0);
}

TEST_F(Wheel, AnOpenComboListScrollsWhereverThePointerIsAndAClosedComboPassesTheTurnOn) {
  // Closed: the choice stays, the dialog hears of the turn.
  Turn(combo, -1);
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(SendMessageW(combo, CB_GETTOPINDEX, 0, 0), 0);
  EXPECT_EQ(dialogTurns, 1);

  ASSERT_TRUE(zrui::Click(combo));
  ASSERT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
  // The open list has the mouse: a turn over another control scrolls it.
  Turn(list, -1);
  EXPECT_EQ(SendMessageW(combo, CB_GETTOPINDEX, 0, 0), 3);
  EXPECT_EQ(ListTop(), 0);
  Turn(combo, -100);
  const auto top = static_cast<int>(SendMessageW(combo, CB_GETTOPINDEX, 0, 0));
  EXPECT_GT(top, 3);
  EXPECT_LT(top, kRows) << "the last page stays full";
  Turn(combo, 100);
  EXPECT_EQ(SendMessageW(combo, CB_GETTOPINDEX, 0, 0), 0);
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0) << "scrolling chooses nothing";
  EXPECT_EQ(dialogTurns, 1);
}

TEST_F(Wheel, AWindowThatCannotScrollPassesTheTurnToItsDialog) {
  Turn(GetDlgItem(dlg, kButton), -1);
  EXPECT_EQ(dialogTurns, 1);
  EXPECT_EQ(ListTop(), 0);
}

}  // namespace
