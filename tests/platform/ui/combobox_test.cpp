// Combo boxes: items, selection, data, the drop-down list, typing and the
// CBN_ notifications the dialogs rely on.
#include "ui_test_support.h"
#include "zrui/gdi.h"
#include "zrui/input.h"
#include "zrui/picture.h"
#include "zrui/testing.h"
#include "zrui/textrender.h"

using namespace zrui::test;

namespace {

class Combo : public ::testing::Test {
 protected:
  void SetUp() override { parent = CreateLogger(&log, nullptr, WS_POPUP | WS_VISIBLE); }
  void TearDown() override {
    if (IsWindow(parent)) DestroyWindow(parent);
  }
  HWND Make(DWORD style, int id = 50) {
    return CreateWindowExW(0, WC_COMBOBOXW, u"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 10, 10, 140, 120,
                           parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
  }
  int Count(int code) const {
    int n = 0;
    for (auto& e : log.commands()) n += HIWORD(e.w) == code;
    return n;
  }
  static int Add(HWND c, const char16_t* t) {
    return static_cast<int>(SendMessageW(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t)));
  }
  static std::u16string Text(HWND c, int i) {
    std::u16string s(static_cast<size_t>(SendMessageW(c, CB_GETLBTEXTLEN, i, 0)) + 1, u'\0');
    SendMessageW(c, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(s.data()));
    s.pop_back();
    return s;
  }
  MessageLog log;
  HWND parent = nullptr;
};

TEST_F(Combo, SortedListsInsertInOrderIgnoringCase) {
  HWND c = Make(CBS_DROPDOWNLIST | CBS_SORT);
  Add(c, u"pino 3");
  Add(c, u"Pino 1");
  EXPECT_EQ(Add(c, u"pino 2"), 1);
  EXPECT_EQ(Text(c, 0), u"Pino 1");
  EXPECT_EQ(Text(c, 2), u"pino 3");
  EXPECT_EQ(SendMessageW(c, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"PINO 3")), 2);
  EXPECT_EQ(SendMessageW(c, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"pino")), 0);
  EXPECT_EQ(SendMessageW(c, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"x")), CB_ERR);
}

TEST_F(Combo, SelectionDataAndDeletionFollowTheItems) {
  HWND c = Make(CBS_DROPDOWNLIST);
  Add(c, u"a");
  Add(c, u"b");
  Add(c, u"c");
  SendMessageW(c, CB_SETITEMDATA, 2, 99);
  EXPECT_EQ(SendMessageW(c, CB_SETCURSEL, 2, 0), 2);
  EXPECT_EQ(GetWindowTextString(c), u"c");
  SendMessageW(c, CB_DELETESTRING, 0, 0);
  EXPECT_EQ(SendMessageW(c, CB_GETCURSEL, 0, 0), 1) << "the selection moves with its item";
  EXPECT_EQ(SendMessageW(c, CB_GETITEMDATA, 1, 0), 99);
  SendMessageW(c, CB_DELETESTRING, 1, 0);
  EXPECT_EQ(SendMessageW(c, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(SendMessageW(c, CB_SETCURSEL, 5, 0), CB_ERR);
  EXPECT_EQ(SendMessageW(c, CB_GETITEMDATA, 5, 0), CB_ERR);
  EXPECT_EQ(SendMessageW(c, CB_DELETESTRING, 5, 0), CB_ERR);
  EXPECT_EQ(Count(CBN_SELCHANGE), 0) << "changes made by code are not notified";
}

TEST_F(Combo, ChoosingFromTheListNotifiesSelectionChangeAndClosesIt) {
  HWND c = Make(CBS_DROPDOWNLIST);
  Add(c, u"a");
  Add(c, u"b");
  ASSERT_TRUE(zrui::ChooseComboItem(c, 1));
  EXPECT_EQ(SendMessageW(c, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(Count(CBN_SELCHANGE), 1);
  EXPECT_EQ(Count(CBN_DROPDOWN), 1);
  EXPECT_EQ(Count(CBN_CLOSEUP), 1);
  EXPECT_EQ(Count(CBN_SELENDOK), 1);
  EXPECT_FALSE(SendMessageW(c, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_FALSE(zrui::ChooseComboItem(c, 7));
  EnableWindow(c, FALSE);
  EXPECT_FALSE(zrui::ChooseComboItem(c, 0));
}

TEST_F(Combo, ArrowKeysMoveTheSelectionAndNotify) {
  HWND c = Make(CBS_DROPDOWNLIST);
  Add(c, u"a");
  Add(c, u"b");
  zrui::FocusByClick(c);
  zrui::PressKey(VK_DOWN);
  zrui::PressKey(VK_DOWN);
  zrui::PressKey(VK_DOWN);
  EXPECT_EQ(SendMessageW(c, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(Count(CBN_SELCHANGE), 2) << "no notice when the selection cannot move";
  zrui::Type(u"a");
  EXPECT_EQ(SendMessageW(c, CB_GETCURSEL, 0, 0), 0) << "a letter selects the next item starting with it";
}

TEST_F(Combo, TypingInADropDownReportsEditChangesNotSelection) {
  HWND c = Make(CBS_DROPDOWN);
  Add(c, u"J1");
  zrui::FocusByClick(c);
  EXPECT_EQ(Count(CBN_SETFOCUS), 1);
  zrui::Type(u"J7");
  EXPECT_EQ(GetWindowTextString(c), u"J7");
  EXPECT_EQ(Count(CBN_EDITCHANGE), 2);
  EXPECT_EQ(Count(CBN_SELCHANGE), 0);
  SetWindowTextW(c, u"J9");
  EXPECT_EQ(GetWindowTextString(c), u"J9");
  EXPECT_EQ(Count(CBN_EDITCHANGE), 2) << "text set by code is not an edit";
  SendMessageW(c, CB_SETCURSEL, 0, 0);
  EXPECT_EQ(GetWindowTextString(c), u"J1");
  SendMessageW(c, CB_LIMITTEXT, 3, 0);
  SetWindowTextW(c, u"");
  zrui::Type(u"ABCD");
  EXPECT_EQ(GetWindowTextString(c), u"ABC");
}

TEST_F(Combo, FocusLeavingTheComboIsReportedOnce) {
  HWND c = Make(CBS_DROPDOWN);
  HWND other = CreateWindowExW(0, WC_EDITW, u"", WS_CHILD | WS_VISIBLE, 0, 60, 50, 20, parent, nullptr, nullptr, nullptr);
  zrui::FocusByClick(c);
  zrui::FocusByClick(other);
  EXPECT_EQ(Count(CBN_SETFOCUS), 1);
  EXPECT_EQ(Count(CBN_KILLFOCUS), 1);
}

TEST_F(Combo, ItemsWithDataAreReportedToTheOwnerWhenDeleted) {
  HWND c = Make(CBS_DROPDOWNLIST);
  Add(c, u"a");
  Add(c, u"b");
  Add(c, u"c");
  SendMessageW(c, CB_SETITEMDATA, 1, 11);
  SendMessageW(c, CB_SETITEMDATA, 2, 22);
  SendMessageW(c, CB_DELETESTRING, 1, 0);
  ASSERT_EQ(log.count(WM_DELETEITEM), 1);
  DestroyWindow(c);
  EXPECT_EQ(log.count(WM_DELETEITEM), 2) << "items without data are not reported";
}

TEST_F(Combo, OwnerDrawnCombosAskTheirOwnerForTheItemHeight) {
  Make(CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS);
  EXPECT_EQ(log.count(WM_MEASUREITEM), 1);
}

TEST_F(Combo, OwnerDrawnCombosWithoutStringsKeepTheValueAsData) {
  HWND c = Make(CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED);
  SendMessageW(c, CB_ADDSTRING, 0, 1234);
  EXPECT_EQ(SendMessageW(c, CB_GETITEMDATA, 0, 0), 1234);
}

// ---- the dropped list, a popup window driven by screen-point input ----

POINT FieldPoint(HWND c) {
  RECT r;
  GetWindowRect(c, &r);
  return POINT{r.left + 2, r.top + 2};
}

// The screen point of item `row` of the dropped list of `combo` (rows from
// the top of what the list shows).
POINT ListRowPoint(HWND combo, HWND list, int row) {
  RECT r;
  GetWindowRect(list, &r);
  int itemHeight = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
  return POINT{r.left + 3, r.top + row * itemHeight + itemHeight / 2};
}

// The grid row that shows the pixel row `y` of the screen.
int RowOf(int y) { return (y + kCharHeight / 2) / kCharHeight; }

void ClickAt(POINT p) {
  zrui::InputMousePress(p, zrui::MouseButton::Left);
  zrui::InputMouseRelease(p, zrui::MouseButton::Left);
  zrui::Pump();
}

// The popup on top of the screen that is not `except`, if any.
HWND TopPopup(HWND except) {
  auto tops = zrui::TopLevelWindows();
  return tops.empty() || tops.back() == except ? nullptr : tops.back();
}

TEST_F(Combo, AClickDropsAPopupListThatIsHitDrawnAndChosenFromLikeAnyWindow) {
  HWND c = Make(CBS_DROPDOWNLIST);
  Add(c, u"alfa");
  Add(c, u"bravo");
  Add(c, u"charlie");
  ClickAt(FieldPoint(c));
  ASSERT_TRUE(SendMessageW(c, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(Count(CBN_DROPDOWN), 1);
  EXPECT_EQ(GetFocus(), c) << "the press focuses the combo, not its list";
  HWND list = TopPopup(parent);
  ASSERT_NE(list, nullptr) << "the dropped list is a top-level window on top";
  EXPECT_EQ(GetClassNameString(list), u"ComboLBox");
  EXPECT_FALSE(GetWindowLongPtrW(list, GWL_STYLE) & WS_CHILD);
  EXPECT_EQ(GetAncestor(GetParent(list), GA_ROOT), parent) << "owned by the combo's window";
  EXPECT_EQ(GetCapture(), list) << "the list holds the mouse while it is open";
  EXPECT_EQ(GetActiveWindow(), parent) << "the list never takes the activation";

  // Below the field, the list covers whatever the parent has there.
  RECT cr, lr;
  GetWindowRect(c, &cr);
  GetWindowRect(list, &lr);
  EXPECT_EQ(lr.left, cr.left);
  EXPECT_EQ(lr.right, cr.right);
  EXPECT_GE(lr.top, cr.bottom - 1);
  EXPECT_EQ(lr.bottom - lr.top, 3 * SendMessageW(c, CB_GETITEMHEIGHT, 0, 0)) << "as high as its three items";
  EXPECT_EQ(zrui::HitTest(ListRowPoint(c, list, 1)), list);

  zrui::TextGrid screen = zrui::RenderScreen(80, 30);
  int row = RowOf(lr.top);
  EXPECT_NE(screen.line(row + 1).find(u"bravo"), std::u16string::npos) << screen.utf8();
  EXPECT_NE(screen.line(row + 2).find(u"charlie"), std::u16string::npos) << screen.utf8();

  ClickAt(ListRowPoint(c, list, 2));
  EXPECT_EQ(SendMessageW(c, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(Count(CBN_SELCHANGE), 1);
  EXPECT_EQ(Count(CBN_SELENDOK), 1);
  EXPECT_EQ(Count(CBN_CLOSEUP), 1);
  EXPECT_FALSE(SendMessageW(c, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_FALSE(IsWindow(list)) << "the popup is destroyed when the list closes";
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(TopPopup(parent), nullptr);
  screen = zrui::RenderScreen(80, 30);
  EXPECT_EQ(screen.line(row + 2).find(u"charlie"), std::u16string::npos) << screen.utf8();
}

// A list holding more entries than it shows has a bar at its right edge:
// v where more lie below, ^ where more lie above, # where the shown ones
// stand; a press on it pages the list that way and chooses nothing.
TEST_F(Combo, ADroppedListWithMoreEntriesThanItShowsHasABarThatPagesIt) {
  HWND c = Make(CBS_DROPDOWNLIST);
  const std::u16string names[] = {u"p01", u"p02", u"p03", u"p04", u"p05", u"p06", u"p07",
                                  u"p08", u"p09", u"p10", u"p11", u"p12", u"p13", u"p14"};
  for (const auto& n : names) Add(c, n.c_str());
  ClickAt(FieldPoint(c));
  HWND list = TopPopup(parent);
  ASSERT_NE(list, nullptr);
  RECT lr;
  GetWindowRect(list, &lr);
  const int itemHeight = static_cast<int>(SendMessageW(c, CB_GETITEMHEIGHT, 0, 0));
  const int shown = (lr.bottom - lr.top) / itemHeight;
  ASSERT_GE(shown, 3);
  ASSERT_LT(shown, 14) << "the test needs more entries than the list shows";
  const int firstRow = RowOf(lr.top), barColumn = (lr.right - 1) / kCharWidth;
  auto barAt = [&](int row) { return zrui::RenderScreen(80, 30).at(barColumn, firstRow + row).ch; };
  EXPECT_EQ(barAt(0), U' ') << zrui::RenderScreen(80, 30).utf8();
  EXPECT_EQ(barAt(1), U'#');
  EXPECT_EQ(barAt(shown - 1), U'v');

  // A press on the bar's lower half: a page down, nothing chosen.
  const POINT lower{lr.right - kCharWidth / 2, lr.bottom - itemHeight / 2};
  ClickAt(lower);
  EXPECT_TRUE(SendMessageW(c, CB_GETDROPPEDSTATE, 0, 0)) << "the list stays open";
  EXPECT_EQ(SendMessageW(c, CB_GETTOPINDEX, 0, 0), shown - 1);
  EXPECT_EQ(Count(CBN_SELCHANGE), 0);
  EXPECT_EQ(barAt(0), U'^');
  // Pages down to the end, where v goes; then one up.
  for (int i = 0; i < 5; ++i) ClickAt(lower);
  EXPECT_EQ(SendMessageW(c, CB_GETTOPINDEX, 0, 0), 14 - shown);
  EXPECT_EQ(barAt(shown - 1), U' ');
  ClickAt(POINT{lr.right - kCharWidth / 2, lr.top + itemHeight / 2});
  EXPECT_EQ(SendMessageW(c, CB_GETTOPINDEX, 0, 0), 14 - shown - (shown - 1));
  // The entries beside the bar are chosen as ever.
  ClickAt(ListRowPoint(c, list, 0));
  EXPECT_EQ(SendMessageW(c, CB_GETCURSEL, 0, 0), 14 - shown - (shown - 1));
  EXPECT_EQ(Count(CBN_SELCHANGE), 1);
  EXPECT_FALSE(SendMessageW(c, CB_GETDROPPEDSTATE, 0, 0));
}

TEST_F(Combo, APressOutsideTheDroppedListClosesItAndGoesNoFurther) {
  HWND c = Make(CBS_DROPDOWNLIST);
  Add(c, u"a");
  Add(c, u"b");
  SendMessageW(c, CB_SETCURSEL, 0, 0);
  MessageLog otherLog;
  HWND other = CreateLogger(&otherLog, parent, WS_CHILD | WS_VISIBLE, 77);
  MoveWindow(other, 160, 0, 30, 20, FALSE);
  ClickAt(FieldPoint(c));
  ASSERT_TRUE(SendMessageW(c, CB_GETDROPPEDSTATE, 0, 0));
  HWND list = TopPopup(parent);
  ASSERT_NE(list, nullptr);
  RECT orr;
  GetWindowRect(other, &orr);
  ClickAt(POINT{orr.left + 5, orr.top + 5});
  EXPECT_FALSE(SendMessageW(c, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_FALSE(IsWindow(list));
  EXPECT_EQ(Count(CBN_SELENDCANCEL), 1);
  EXPECT_EQ(Count(CBN_SELENDOK), 0);
  EXPECT_EQ(Count(CBN_SELCHANGE), 0);
  EXPECT_EQ(SendMessageW(c, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(otherLog.count(WM_LBUTTONDOWN), 0) << "the press that closes the list is not passed on";
  // The next press reaches the window under the point again.
  ClickAt(POINT{orr.left + 5, orr.top + 5});
  EXPECT_EQ(otherLog.count(WM_LBUTTONDOWN), 1);

  // A press on the combo's own field closes the list as well, without a choice.
  ClickAt(FieldPoint(c));
  ASSERT_TRUE(SendMessageW(c, CB_GETDROPPEDSTATE, 0, 0));
  ClickAt(FieldPoint(c));
  EXPECT_FALSE(SendMessageW(c, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(Count(CBN_SELENDCANCEL), 2);
  DestroyWindow(other);  // before its log goes
}

TEST_F(Combo, KeysDropMoveAndChooseInThePopupList) {
  HWND c = Make(CBS_DROPDOWNLIST);
  Add(c, u"a");
  Add(c, u"b");
  Add(c, u"c");
  zrui::FocusByClick(c);
  zrui::PressKey(VK_F4);
  ASSERT_TRUE(SendMessageW(c, CB_GETDROPPEDSTATE, 0, 0));
  HWND list = TopPopup(parent);
  ASSERT_NE(list, nullptr);
  zrui::PressKey(VK_DOWN);
  zrui::PressKey(VK_DOWN);
  EXPECT_TRUE(IsWindow(list)) << "moving keeps the list open";
  // The highlight in the list follows the selection.
  RECT lr;
  GetWindowRect(list, &lr);
  zrui::TextGrid screen = zrui::RenderScreen(80, 30);
  size_t col = screen.line(RowOf(lr.top) + 1).find(u'b');
  ASSERT_NE(col, std::u16string::npos) << screen.utf8();
  EXPECT_EQ(screen.at(static_cast<int>(col), RowOf(lr.top) + 1).bg, GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_NE(screen.at(static_cast<int>(col), RowOf(lr.top)).bg, GetSysColor(COLOR_HIGHLIGHT));
  zrui::PressKey(VK_RETURN);
  EXPECT_FALSE(SendMessageW(c, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_FALSE(IsWindow(list));
  EXPECT_EQ(SendMessageW(c, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(Count(CBN_SELENDOK), 1);

  // Escape closes the list without choosing: the entry Down moved to is
  // undone, and the owner hears the selection change back.
  zrui::PressKey(VK_F4);
  list = TopPopup(parent);
  zrui::PressKey(VK_DOWN);
  EXPECT_EQ(SendMessageW(c, CB_GETCURSEL, 0, 0), 2);
  const int changes = Count(CBN_SELCHANGE);
  zrui::PressKey(VK_ESCAPE);
  EXPECT_FALSE(IsWindow(list));
  EXPECT_EQ(SendMessageW(c, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(Count(CBN_SELCHANGE), changes + 1);
  EXPECT_EQ(Count(CBN_SELENDCANCEL), 1);
  EXPECT_EQ(Count(CBN_CLOSEUP), 2);
}

TEST_F(Combo, ADroppedListOpensOnTheEntryItsFieldShowsAndDownMovesFromThere) {
  HWND c = Make(CBS_DROPDOWN);
  Add(c, u"");
  Add(c, u"J1");
  Add(c, u"K2");
  SetWindowTextW(c, u"j1");
  zrui::FocusByClick(c);
  zrui::PressKey(VK_F4);
  ASSERT_TRUE(SendMessageW(c, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(SendMessageW(c, CB_GETCURSEL, 0, 0), 1) << "highlighted as the field's text";
  zrui::PressKey(VK_DOWN);
  EXPECT_EQ(GetWindowTextString(c), u"K2");
  zrui::PressKey(VK_RETURN);
  EXPECT_EQ(SendMessageW(c, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(Count(CBN_SELENDOK), 1);
  // An empty field: the empty entry is highlighted, the first Down is J1.
  SetWindowTextW(c, u"");
  SendMessageW(c, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  zrui::PressKey(VK_F4);
  EXPECT_EQ(SendMessageW(c, CB_GETCURSEL, 0, 0), 0);
  zrui::PressKey(VK_DOWN);
  EXPECT_EQ(GetWindowTextString(c), u"J1");
  // Escape puts the field's text back.
  zrui::PressKey(VK_ESCAPE);
  EXPECT_EQ(GetWindowTextString(c), u"");
}

TEST_F(Combo, TheDroppedListShowsInPicturesOfTheScreen) {
  HWND c = Make(CBS_DROPDOWNLIST);
  Add(c, u"a");
  Add(c, u"b");
  SendMessageW(c, CB_SETCURSEL, 1, 0);
  ClickAt(FieldPoint(c));
  HWND list = TopPopup(parent);
  ASSERT_NE(list, nullptr);
  RECT lr, pr;
  GetWindowRect(list, &lr);
  GetWindowRect(parent, &pr);
  zrui::Picture pic;
  ASSERT_TRUE(zrui::RenderWindowPicture(parent, &pic));
  // The selected second row is in the highlight colour, the first is not.
  int x = lr.right - pr.left - 3, itemHeight = static_cast<int>(SendMessageW(c, CB_GETITEMHEIGHT, 0, 0));
  EXPECT_EQ(pic.At(x, lr.top - pr.top + itemHeight + 2), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(pic.At(x, lr.top - pr.top + 2), GetSysColor(COLOR_WINDOW));
}

TEST_F(Combo, ClosingTheWindowWithItsListDroppedTakesTheListAlong) {
  HWND c = Make(CBS_DROPDOWNLIST);
  Add(c, u"a");
  ClickAt(FieldPoint(c));
  HWND list = TopPopup(parent);
  ASSERT_NE(list, nullptr);
  DestroyWindow(parent);
  EXPECT_FALSE(IsWindow(list));
  EXPECT_FALSE(IsWindow(c));
  EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
