// Combo boxes: items, selection, data, the drop-down list, typing and the
// CBN_ notifications the dialogs rely on.
#include "ui_test_support.h"
#include "zrui/testing.h"

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

}  // namespace
