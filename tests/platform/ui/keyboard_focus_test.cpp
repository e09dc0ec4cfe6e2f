// The dialog manager's keyboard and focus as a person meets them: the close
// box and Alt+F4 send the window close command, the focus moves on from a
// control that is disabled or hidden (and the caret with it), letters answer
// where the focus takes no typing, the default marker follows the focus,
// and arrows in a tree only select.
#include "ui_test_support.h"
#include "zrui/commctrl.h"
#include "zrui/input.h"
#include "zrui/msgbox.h"
#include "zrui/textrender.h"
#include "zrui/testing.h"

using namespace zrui::rc;
using namespace zrui::test;

namespace {

constexpr int IDC_NAME = 101;
constexpr int IDC_APPLY = 102;
constexpr int IDC_PAGE = 103;
constexpr int IDC_PAGE_EDIT = 104;
constexpr int IDC_PAGE_BUTTON = 105;

DialogTemplate Screen() {
  DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  t.caption = u"Conectores";
  t.cx = 182;
  t.cy = 78;
  t.items = {
      EDITTEXT(IDC_NAME, 8, 8, 100, 14, ES_AUTOHSCROLL),
      PUSHBUTTON(u"Aplicar", IDC_APPLY, 20, 57, 50, 14),
      DEFPUSHBUTTON(u"OK", IDOK, 72, 57, 50, 14),
      PUSHBUTTON(u"Fechar", IDCANCEL, 125, 57, 50, 14),
  };
  return t;
}

// What reached the dialog procedure.
struct Seen {
  int closes = 0;  // WM_CLOSE
  std::vector<int> commands;
};
Seen g_seen;

INT_PTR CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM) {
  if (msg == WM_INITDIALOG) return TRUE;
  if (msg == WM_CLOSE) ++g_seen.closes;  // then the default: cancel
  if (msg == WM_COMMAND && HIWORD(w) == BN_CLICKED) {
    g_seen.commands.push_back(LOWORD(w));
    if (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL) EndDialog(h, LOWORD(w));
    return TRUE;
  }
  return FALSE;
}

class KeyboardFocus : public ::testing::Test {
 protected:
  void SetUp() override {
    g_seen = Seen{};
    zrui::ClearModalScripts();
  }
  INT_PTR Run(const DialogTemplate& t) { return DialogBoxIndirectParamW(nullptr, &t, nullptr, Proc, 0); }
};

// A press and release of the left button at a screen point.
void ClickScreen(POINT p) {
  zrui::InputMousePress(p, zrui::MouseButton::Left);
  zrui::Pump();
  zrui::InputMouseRelease(p, zrui::MouseButton::Left);
  zrui::Pump();
}

TEST_F(KeyboardFocus, TheCloseBoxAndAltF4SendTheCloseCommandWhichCancelsADialogWithoutOne) {
  struct Case {
    const char* what;
    std::function<void(HWND)> close;
  };
  const Case cases[] = {
      {"a click on the close box",
       [](HWND dlg) {
         RECT wr;
         GetWindowRect(dlg, &wr);
         // The box is the three cells before the top-right corner's cell.
         ClickScreen(POINT{wr.right - 3 * kCharWidth + 3, wr.top + 5});
       }},
      {"Alt+F4 with the focus in a field", [](HWND) { zrui::PressKey(VK_F4, zrui::Keys{false, false, true}); }},
      {"Alt+F4 with the focus on a button",
       [](HWND dlg) {
         SetFocus(GetDlgItem(dlg, IDC_APPLY));
         zrui::PressKey(VK_F4, zrui::Keys{false, false, true});
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_seen = Seen{};
    std::u16string title;
    zrui::OnNextModal([&](HWND dlg) {
      zrui::TextGrid g = zrui::RenderWindow(dlg);
      title = g.line(0);
      c.close(dlg);
    });
    EXPECT_EQ(Run(Screen()), IDCANCEL);
    EXPECT_EQ(g_seen.closes, 1) << "through WM_CLOSE";
    EXPECT_EQ(g_seen.commands, std::vector<int>{IDCANCEL});
    EXPECT_EQ(title.substr(title.size() - 5), u"-[x]+") << Narrow(title);
  }
  // A click on the title bar beside the box closes nothing; a press on the
  // box released beside it neither (the command comes with the release over
  // the box); F4 alone neither.
  zrui::OnNextModal([](HWND dlg) {
    RECT wr;
    GetWindowRect(dlg, &wr);
    const POINT beside{wr.right - 6 * kCharWidth + 3, wr.top + 5}, box{wr.right - 3 * kCharWidth + 3, wr.top + 5};
    ClickScreen(beside);
    zrui::InputMousePress(box, zrui::MouseButton::Left);
    zrui::Pump();
    EXPECT_FALSE(zrui::IsDialogEnded(dlg)) << "a press alone";
    zrui::InputMouseRelease(beside, zrui::MouseButton::Left);
    zrui::Pump();
    zrui::PressKey(VK_F4);
    EXPECT_FALSE(zrui::IsDialogEnded(dlg));
    zrui::PressKey(VK_ESCAPE);
  });
  g_seen = Seen{};
  EXPECT_EQ(Run(Screen()), IDCANCEL);
  EXPECT_EQ(g_seen.closes, 0);
}

TEST_F(KeyboardFocus, TheFocusMovesOnFromAControlThatIsDisabledOrHidden) {
  zrui::OnNextModal([](HWND dlg) {
    HWND name = GetDlgItem(dlg, IDC_NAME), apply = GetDlgItem(dlg, IDC_APPLY), ok = GetDlgItem(dlg, IDOK),
         cancel = GetDlgItem(dlg, IDCANCEL);
    SetFocus(apply);
    EnableWindow(apply, FALSE);  // as an apply button disables itself
    EXPECT_EQ(GetFocus(), ok) << "the next Tab stop";
    ShowWindow(ok, SW_HIDE);
    EXPECT_EQ(GetFocus(), cancel);
    EnableWindow(apply, TRUE);
    EnableWindow(cancel, FALSE);
    EXPECT_EQ(GetFocus(), name) << "around to the first";
    // The arrows work at once: nothing waits for a Tab.
    zrui::PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), apply);
    EnableWindow(cancel, TRUE);
    zrui::PressKey(VK_ESCAPE);
  });
  EXPECT_EQ(Run(Screen()), IDCANCEL);
}

TEST_F(KeyboardFocus, APageDisabledOrHiddenPassesTheFocusOutsideItAndTheCaretGoesWithIt) {
  // A page (a child dialog) with a field and a button, beside the dialog's
  // own field and buttons.
  DialogTemplate page;
  page.style = WS_CHILD | WS_VISIBLE | DS_CONTROL;
  page.cx = 100;
  page.cy = 30;
  page.items = {EDITTEXT(IDC_PAGE_EDIT, 4, 4, 60, 14, ES_AUTOHSCROLL),
                PUSHBUTTON(u"Dentro", IDC_PAGE_BUTTON, 4, 18, 40, 12)};
  zrui::OnNextModal([&](HWND dlg) {
    HWND p = CreateDialogIndirectParamW(nullptr, &page, dlg, Proc, 0);
    ASSERT_TRUE(p);
    SetWindowPos(p, nullptr, 0, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    HWND field = GetDlgItem(p, IDC_PAGE_EDIT);
    SendMessageW(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
    ASSERT_EQ(GetFocus(), field);
    HWND owner = nullptr;
    POINT at{};
    SIZE size{};
    EXPECT_TRUE(zrui::GetCaretState(&owner, &at, &size)) << "the field's caret shows";
    EnableWindow(p, FALSE);
    HWND f = GetFocus();
    EXPECT_TRUE(f && f != p && !IsChild(p, f)) << "the focus left the page";
    EXPECT_FALSE(zrui::GetCaretState(&owner, &at, &size) && owner == field) << "the caret went with the focus";
    EnableWindow(p, TRUE);
    SendMessageW(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
    ShowWindow(p, SW_HIDE);
    f = GetFocus();
    EXPECT_TRUE(f && !IsChild(p, f)) << "hidden: the focus left the page too";
    EXPECT_FALSE(zrui::GetCaretState(&owner, &at, &size) && owner == field);
    zrui::PressKey(VK_ESCAPE);
  });
  EXPECT_EQ(Run(Screen()), IDCANCEL);
}

TEST_F(KeyboardFocus, ALetterAnswersAMessageBoxAndTheDefaultMarkerFollowsTheFocus) {
  zrui::SetRealDialogPolicy([] { return true; });
  struct Case {
    std::u16string letter;
    int answer;
  };
  for (const Case& c : {Case{u"n", IDNO}, Case{u"Y", IDYES}}) {
    zrui::OnNextModal([&](HWND) { zrui::Type(c.letter); });
    EXPECT_EQ(MessageBoxW(nullptr, u"Salvar?", u"zrhost", MB_YESNOCANCEL), c.answer) << Narrow(c.letter);
  }
  // Right moves the focus to No: the marker moves with it, and Enter
  // answers what the marker shows.
  std::u16string before, after;
  zrui::OnNextModal([&](HWND box) {
    before = zrui::RenderWindow(box).text();
    zrui::PressKey(VK_RIGHT);
    after = zrui::RenderWindow(box).text();
    zrui::PressKey(VK_RETURN);
  });
  EXPECT_EQ(MessageBoxW(nullptr, u"Salvar?", u"zrhost", MB_YESNOCANCEL), IDNO);
  EXPECT_NE(before.find(u"<   Yes    > [     No    ]"), std::u16string::npos) << Narrow(before);
  EXPECT_NE(after.find(u"[   Yes    ] <     No    >"), std::u16string::npos) << Narrow(after);
  zrui::SetRealDialogPolicy(nullptr);
  zrui::TakeShownMessageBoxes();
}

}  // namespace
