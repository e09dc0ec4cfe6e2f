// Buttons and edit controls as the dialogs use them.
#include "ui_test_support.h"
#include "zrui/gdi.h"
#include "zrui/testing.h"

using namespace zrui::test;

namespace {

class Controls : public ::testing::Test {
 protected:
  void SetUp() override { parent = CreateLogger(&log, nullptr, WS_POPUP | WS_VISIBLE); }
  void TearDown() override { DestroyWindow(parent); }
  HWND Make(const char16_t* cls, DWORD style, int id, const char16_t* text = u"") {
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 140, 23, parent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
  }
  std::vector<std::pair<int, int>> Commands() const {
    std::vector<std::pair<int, int>> out;
    for (auto& e : log.commands()) out.emplace_back(LOWORD(e.w), HIWORD(e.w));
    return out;
  }
  int CountCode(int id, int code) const {
    int n = 0;
    for (auto [i, c] : Commands()) n += (i == id && c == code);
    return n;
  }
  MessageLog log;
  HWND parent = nullptr;
};

TEST_F(Controls, AButtonClickNotifiesItsParentAndTakesTheFocus) {
  HWND b = Make(WC_BUTTONW, BS_PUSHBUTTON | WS_TABSTOP, 50114, u"Aplicar");
  ASSERT_TRUE(zrui::Click(b));
  EXPECT_EQ(CountCode(50114, BN_CLICKED), 1);
  EXPECT_EQ(GetFocus(), b);
  EXPECT_EQ(reinterpret_cast<HWND>(log.commands().back().l), b);
  // Pressing outside the button before releasing cancels the click.
  log.entries.clear();
  zrui::ClickAt(b, POINT{-5, -5});
  EXPECT_EQ(CountCode(50114, BN_CLICKED), 0);
  // The space bar clicks the focused button.
  zrui::PressKey(VK_SPACE);
  EXPECT_EQ(CountCode(50114, BN_CLICKED), 1);
}

TEST_F(Controls, DisabledAndHiddenButtonsIgnoreTheUser) {
  HWND b = Make(WC_BUTTONW, BS_PUSHBUTTON, 7, u"x");
  EnableWindow(b, FALSE);
  EXPECT_FALSE(zrui::Click(b));
  SendMessageW(b, BM_CLICK, 0, 0);
  EnableWindow(b, TRUE);
  ShowWindow(b, SW_HIDE);
  EXPECT_FALSE(zrui::Click(b));
  EnableWindow(parent, FALSE);
  ShowWindow(b, SW_SHOW);
  EXPECT_FALSE(zrui::Click(b)) << "a disabled parent disables input to its children";
  EnableWindow(parent, TRUE);
  EXPECT_EQ(CountCode(7, BN_CLICKED), 0);
}

TEST_F(Controls, CheckBoxesAndRadioButtonsKeepTheirState) {
  HWND check = Make(WC_BUTTONW, BS_AUTOCHECKBOX, 1);
  HWND r1 = Make(WC_BUTTONW, BS_AUTORADIOBUTTON | WS_GROUP, 2);
  HWND r2 = Make(WC_BUTTONW, BS_AUTORADIOBUTTON, 3);
  zrui::Click(check);
  EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED);
  zrui::Click(check);
  EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  zrui::Click(r1);
  zrui::Click(r2);
  EXPECT_EQ(SendMessageW(r1, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageW(r2, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(Controls, TypingIntoAnEditNotifiesEachChange) {
  HWND e = Make(WC_EDITW, ES_AUTOHSCROLL, 50, u"");
  zrui::FocusByClick(e);
  log.entries.clear();
  zrui::Type(u"J12");
  EXPECT_EQ(GetWindowTextString(e), u"J12");
  EXPECT_EQ(CountCode(50, EN_CHANGE), 3);
  zrui::PressKey(VK_BACK);
  EXPECT_EQ(GetWindowTextString(e), u"J1");
  zrui::PressKey(VK_HOME);
  zrui::PressKey(VK_DELETE);
  EXPECT_EQ(GetWindowTextString(e), u"1");
}

TEST_F(Controls, TheEditLimitStopsTypingAndCutsPastedText) {
  HWND e = Make(WC_EDITW, 0, 51);
  SendMessageW(e, EM_LIMITTEXT, 5, 0);
  zrui::FocusByClick(e);
  zrui::Type(u"123456");
  EXPECT_EQ(GetWindowTextString(e), u"12345");
  EXPECT_GE(CountCode(51, EN_MAXTEXT), 1);
  SetWindowTextW(e, u"ab");
  SendMessageW(e, EM_SETSEL, 2, 2);
  SetClipboardText(u"cdefgh");
  SendMessageW(e, WM_PASTE, 0, 0);
  EXPECT_EQ(GetWindowTextString(e), u"abcde");
}

TEST_F(Controls, SelectionIsReplacedByTypingAndReadBack) {
  HWND e = Make(WC_EDITW, 0, 52, u"conector");
  SendMessageW(e, EM_SETSEL, 0, -1);
  DWORD a = 0, b = 0;
  SendMessageW(e, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
  EXPECT_EQ(a, 0u);
  EXPECT_EQ(b, 8u);
  zrui::FocusByClick(e);
  SendMessageW(e, EM_SETSEL, 3, 8);
  zrui::Type(u"J");
  EXPECT_EQ(GetWindowTextString(e), u"conJ");
  SendMessageW(e, EM_SETSEL, 0, 3);
  SendMessageW(e, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(u"X"));
  EXPECT_EQ(GetWindowTextString(e), u"XJ");
  zrui::PressKey(VK_HOME);
  zrui::PressKey(VK_RIGHT, zrui::Keys{true});
  SendMessageW(e, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
  EXPECT_EQ(a, 0u);
  EXPECT_EQ(b, 1u) << "Shift extends the selection";
}

TEST_F(Controls, ReadOnlyAndNumberEditsRefuseCharacters) {
  HWND ro = Make(WC_EDITW, ES_READONLY, 53, u"fixo");
  zrui::FocusByClick(ro);
  zrui::Type(u"x");
  EXPECT_EQ(GetWindowTextString(ro), u"fixo");
  HWND num = Make(WC_EDITW, ES_NUMBER, 54);
  zrui::FocusByClick(num);
  zrui::Type(u"1a2");
  EXPECT_EQ(GetWindowTextString(num), u"12");
}

TEST_F(Controls, EditFocusNotificationsReachTheParent) {
  HWND e1 = Make(WC_EDITW, 0, 60);
  HWND e2 = Make(WC_EDITW, 0, 61);
  zrui::FocusByClick(e1);
  log.entries.clear();
  zrui::Click(e2);
  EXPECT_EQ(CountCode(60, EN_KILLFOCUS), 1);
  EXPECT_EQ(CountCode(61, EN_SETFOCUS), 1);
}

TEST_F(Controls, PictureControlsHoldTheirBitmap) {
  HWND pic = Make(WC_STATICW, SS_BITMAP, 50118);
  HBITMAP b = CreateBitmap(16, 13, 1, 32, nullptr);
  EXPECT_EQ(SendMessageW(pic, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(b)), 0);
  EXPECT_EQ(reinterpret_cast<HBITMAP>(SendMessageW(pic, STM_GETIMAGE, IMAGE_BITMAP, 0)), b);
  DeleteObject(b);
}

}  // namespace
