// Dialogs from templates: layout in dialog units, the modal loop driven by a
// script, default and cancel buttons, Tab order, closing, nesting.
#include "ui_test_support.h"
#include "zrui/testing.h"

using namespace zrui::rc;
using namespace zrui::test;

namespace {

constexpr int IDC_NAME = 101;
constexpr int IDC_APPLY = 102;
constexpr int IDC_LABEL = 103;
constexpr int IDC_HIDDEN = 104;

DialogTemplate NameDialog() {
  DialogTemplate t;
  t.caption = u"Novo conector";
  t.cx = 182;
  t.cy = 78;
  t.items = {
      LTEXT(u"Nome:", IDC_LABEL, 30, 16, 106, 8),
      EDITTEXT(IDC_NAME, 30, 24, 121, 14, ES_AUTOHSCROLL),
      NOT(PUSHBUTTON(u"Hidden", IDC_HIDDEN, 0, 0, 10, 10), WS_VISIBLE),
      PUSHBUTTON(u"Apply", IDC_APPLY, 20, 57, 50, 14, WS_DISABLED),
      DEFPUSHBUTTON(u"OK", IDOK, 72, 57, 50, 14),
      PUSHBUTTON(u"Cancel", IDCANCEL, 125, 57, 50, 14),
  };
  return t;
}

// A dialog procedure that records commands and ends on OK/Cancel.
std::vector<int> g_commands;
INT_PTR CALLBACK RecordingProc(HWND h, UINT msg, WPARAM w, LPARAM) {
  if (msg == WM_INITDIALOG) return TRUE;
  if (msg == WM_COMMAND && HIWORD(w) == BN_CLICKED) {
    g_commands.push_back(LOWORD(w));
    if (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL) EndDialog(h, LOWORD(w));
    return TRUE;
  }
  return FALSE;
}

class DialogModal : public ::testing::Test {
 protected:
  void SetUp() override {
    g_commands.clear();
    zrui::ClearModalScripts();
  }
  INT_PTR Run(const DialogTemplate& t, HWND owner = nullptr) {
    return DialogBoxIndirectParamW(nullptr, &t, owner, RecordingProc, 0);
  }
};

TEST_F(DialogModal, ControlsArePlacedInDialogUnitsThroughTheFontMetric) {
  DialogTemplate t = NameDialog();
  HWND dlg = CreateDialogIndirectParamW(nullptr, &t, nullptr, RecordingProc, 0);
  ASSERT_TRUE(dlg);
  RECT client;
  GetClientRect(dlg, &client);
  EXPECT_EQ(client.right, MulDiv(182, 7, 4));
  EXPECT_EQ(client.bottom, MulDiv(78, 13, 8));
  HWND ok = GetDlgItem(dlg, IDOK);
  RECT r;
  GetWindowRect(ok, &r);
  POINT tl{r.left, r.top};
  ScreenToClient(dlg, &tl);
  EXPECT_EQ(tl.x, 126);  // 72 * 7 / 4
  EXPECT_EQ(tl.y, 93);   // 57 * 13 / 8 = 92.6
  EXPECT_EQ(r.right - r.left, 88);
  EXPECT_EQ(r.bottom - r.top, 23);
  EXPECT_EQ(GetWindowTextString(dlg), u"Novo conector");
  EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDC_NAME)) << "the first Tab stop gets the focus";
  DestroyWindow(dlg);
}

TEST_F(DialogModal, EnterPressesTheDefaultButtonAndEscapeCancels) {
  zrui::OnNextModal([](HWND) {
    zrui::Type(u"J1");
    zrui::PressKey(VK_RETURN);
  });
  EXPECT_EQ(Run(NameDialog()), IDOK);
  zrui::OnNextModal([](HWND) { zrui::PressKey(VK_ESCAPE); });
  EXPECT_EQ(Run(NameDialog()), IDCANCEL);
}

TEST_F(DialogModal, EnterDoesNothingWhileTheDefaultButtonIsDisabled) {
  zrui::OnNextModal([](HWND dlg) {
    EnableWindow(GetDlgItem(dlg, IDOK), FALSE);
    zrui::PressKey(VK_RETURN);
    EXPECT_FALSE(zrui::IsDialogEnded(dlg));
    EXPECT_TRUE(g_commands.empty());
    EXPECT_FALSE(zrui::Click(GetDlgItem(dlg, IDOK))) << "a disabled button takes no clicks";
    zrui::PressKey(VK_ESCAPE);
  });
  EXPECT_EQ(Run(NameDialog()), IDCANCEL);
}

TEST_F(DialogModal, TabWalksTheEnabledVisibleTabStopsAndWraps) {
  zrui::OnNextModal([](HWND dlg) {
    HWND name = GetDlgItem(dlg, IDC_NAME), ok = GetDlgItem(dlg, IDOK), cancel = GetDlgItem(dlg, IDCANCEL);
    EXPECT_EQ(GetFocus(), name);
    zrui::PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), ok) << "hidden and disabled buttons are skipped";
    zrui::PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), cancel);
    zrui::PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), name);
    zrui::PressKey(VK_TAB, zrui::Keys{true});
    EXPECT_EQ(GetFocus(), cancel);
    zrui::PressKey(VK_RETURN);  // Enter on a focused push button presses it
  });
  EXPECT_EQ(Run(NameDialog()), IDCANCEL);
}

TEST_F(DialogModal, OwnerIsDisabledWhileTheDialogRunsAndEnabledAfter) {
  MessageLog log;
  HWND owner = CreateLogger(&log, nullptr, WS_POPUP | WS_VISIBLE);
  bool ownerEnabledDuring = true;
  zrui::OnNextModal([&](HWND dlg) {
    ownerEnabledDuring = IsWindowEnabled(owner);
    EXPECT_EQ(GetWindow(dlg, GW_OWNER), owner);
    zrui::PressKey(VK_ESCAPE);
  });
  Run(NameDialog(), owner);
  EXPECT_FALSE(ownerEnabledDuring);
  EXPECT_TRUE(IsWindowEnabled(owner));
  DestroyWindow(owner);
}

TEST_F(DialogModal, NestedDialogsTakeTheNextScripts) {
  std::vector<std::string> order;
  zrui::OnNextModal([&](HWND dlg) {
    order.push_back("outer");
    DialogTemplate inner = NameDialog();
    inner.caption = u"inner";
    INT_PTR r = DialogBoxIndirectParamW(nullptr, &inner, dlg, RecordingProc, 0);
    order.push_back("inner returned " + std::to_string(r));
    zrui::Click(GetDlgItem(dlg, IDOK));
  });
  zrui::OnNextModal([&](HWND dlg) {
    order.push_back("inner " + Narrow(GetWindowTextString(dlg)));
    zrui::PressKey(VK_ESCAPE);
  });
  EXPECT_EQ(Run(NameDialog()), IDOK) << "the script's click on OK ends the loop with its result";
  EXPECT_EQ(g_commands, (std::vector<int>{IDCANCEL, IDOK}));
  std::vector<std::string> expected = {"outer", "inner inner", "inner returned 2"};
  EXPECT_EQ(order, expected);
}

TEST_F(DialogModal, ALoopLeftOpenByItsScriptEndsWithAbortAfterTheIdleTimeout) {
  zrui::SetModalIdleTimeout(std::chrono::milliseconds(50));
  int before = zrui::AbandonedModalLoops();
  zrui::OnNextModal([](HWND) {});
  EXPECT_EQ(Run(NameDialog()), IDABORT);
  EXPECT_EQ(zrui::AbandonedModalLoops(), before + 1);
  zrui::SetModalIdleTimeout(std::chrono::seconds(5));
}

TEST_F(DialogModal, ChildDialogsAreEnteredByTab) {
  DialogTemplate page;
  page.style = WS_CHILD | WS_VISIBLE | DS_CONTROL;
  page.x = 1;
  page.y = 16;
  page.cx = 100;
  page.cy = 40;
  page.items = {EDITTEXT(201, 5, 5, 60, 12), PUSHBUTTON(u"Page OK", 202, 5, 20, 50, 14)};
  DialogTemplate outer;
  outer.cx = 120;
  outer.cy = 80;
  outer.items = {PUSHBUTTON(u"First", 301, 5, 60, 50, 14)};
  HWND dlg = CreateDialogIndirectParamW(nullptr, &outer, nullptr, RecordingProc, 0);
  HWND pageWnd = CreateDialogIndirectParamW(nullptr, &page, dlg, RecordingProc, 0);
  ASSERT_TRUE(pageWnd);
  EXPECT_EQ(GetParent(pageWnd), dlg);
  HWND first = GetDlgItem(dlg, 301), edit = GetDlgItem(pageWnd, 201), pageOk = GetDlgItem(pageWnd, 202);
  EXPECT_EQ(GetNextDlgTabItem(dlg, first, FALSE), edit);
  EXPECT_EQ(GetNextDlgTabItem(dlg, edit, FALSE), pageOk);
  EXPECT_EQ(GetNextDlgTabItem(dlg, pageOk, FALSE), first);
  ShowWindow(pageWnd, SW_HIDE);
  EXPECT_EQ(GetNextDlgTabItem(dlg, first, FALSE), first) << "a hidden page is skipped";
  DestroyWindow(dlg);
}

}  // namespace
