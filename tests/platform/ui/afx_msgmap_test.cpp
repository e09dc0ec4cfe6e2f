// The MFC-shaped layer: message maps, reflection, registered messages,
// Default(), data exchange, PreTranslateMessage and CDialog's modal run.
#include "ui_test_support.h"
#include "zrui/afx.h"
#include "zrui/testing.h"

using namespace zrui::rc;

namespace {

constexpr int IDC_COMBO = 50122;
constexpr int IDC_APPLY = 50114;
constexpr int IDC_EDIT = 50130;
constexpr int IDC_GRID = 50111;

UINT WM_TEST_ENDEDIT = RegisterWindowMessageW(u"WM_TEST_ENDEDIT");

DialogTemplate MapTemplate() {
  DialogTemplate t;
  t.caption = u"map";
  t.cx = 200;
  t.cy = 100;
  t.items = {
      COMBOBOX(IDC_COMBO, 5, 5, 100, 60, CBS_DROPDOWNLIST),
      EDITTEXT(IDC_EDIT, 5, 25, 100, 14),
      CONTROL(u"", IDC_GRID, WC_STATICW, SS_LEFT, 5, 45, 50, 10),
      PUSHBUTTON(u"Apply", IDC_APPLY, 110, 5, 50, 14),
      DEFPUSHBUTTON(u"OK", IDOK, 110, 25, 50, 14),
      PUSHBUTTON(u"Cancel", IDCANCEL, 110, 45, 50, 14),
  };
  return t;
}

// A combo that handles its own selection changes; with `passOn` it lets the
// parent see them too (the _EX form).
class SelfCombo : public CComboBox {
 public:
  int own = 0;
  bool passOn = false;
  BOOL OnSel() {
    ++own;
    return passOn ? FALSE : TRUE;
  }
  int created = 0;
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(SelfCombo, CComboBox)
  ON_CONTROL_REFLECT_EX(CBN_SELCHANGE, &SelfCombo::OnSel)
END_MESSAGE_MAP()

// An edit that swallows the Escape key before the dialog sees it.
class KeyEdit : public CEdit {
 public:
  int escapes = 0;
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
      ++escapes;
      return TRUE;
    }
    return CEdit::PreTranslateMessage(msg);
  }
};

class MapDialog : public CDialog {
 public:
  MapDialog() : CDialog(&Shared()) {}
  static const DialogTemplate& Shared() {
    static const DialogTemplate t = MapTemplate();
    return t;
  }
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Control(dx, IDC_COMBO, combo);
    DDX_Control(dx, IDC_EDIT, edit);
    DDX_Text(dx, IDC_EDIT, name);
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    combo.AddString(u"a");
    combo.AddString(u"b");
    inits++;
    return TRUE;
  }
  void OnApply() { ++applies; }
  void OnComboSel() { ++parentSel; }
  LRESULT OnEndEdit(WPARAM w, LPARAM) {
    lastEndEdit = static_cast<int>(w);
    return 7;
  }
  void OnGridCommand() { ++gridCommands; }
  void OnSize(UINT type, int cx, int cy) {
    CDialog::OnSize(type, cx, cy);
    lastSize = CSize(cx, cy);
  }
  void OnClose() {
    closed = true;
    CDialog::OnClose();
  }

  SelfCombo combo;
  KeyEdit edit;
  CString name = u"J1";
  int inits = 0, applies = 0, parentSel = 0, lastEndEdit = -1, gridCommands = 0;
  CSize lastSize;
  bool closed = false;
  static UINT gridCode;

 private:
  DECLARE_MESSAGE_MAP()
};
UINT MapDialog::gridCode = RegisterWindowMessageW(u"WM_TEST_GRID_NOTICE");

BEGIN_MESSAGE_MAP(MapDialog, CDialog)
  ON_BN_CLICKED(IDC_APPLY, &MapDialog::OnApply)
  ON_CBN_SELCHANGE(IDC_COMBO, &MapDialog::OnComboSel)
  ON_REGISTERED_MESSAGE(WM_TEST_ENDEDIT, &MapDialog::OnEndEdit)
  ON_REGISTERED_CONTROL(MapDialog::gridCode, IDC_GRID, &MapDialog::OnGridCommand)
  ON_WM_SIZE()
  ON_WM_CLOSE()
END_MESSAGE_MAP()

TEST(AfxDialog, DataExchangeAttachesControlsAndMovesValuesBothWays) {
  MapDialog d;
  zrui::OnNextModal([&](HWND h) {
    EXPECT_EQ(d.m_hWnd, h);
    EXPECT_EQ(d.inits, 1);
    EXPECT_EQ(CWnd::FromHandlePermanent(GetDlgItem(h, IDC_COMBO)), &d.combo);
    EXPECT_EQ(GetWindowTextString(GetDlgItem(h, IDC_EDIT)), u"J1");
    SetFocus(GetDlgItem(h, IDC_EDIT));
    SendMessageW(GetDlgItem(h, IDC_EDIT), EM_SETSEL, 0, -1);
    zrui::Type(u"K2");
    zrui::PressKey(VK_RETURN);
  });
  EXPECT_EQ(d.DoModal(), IDOK);
  EXPECT_EQ(d.name, u"K2") << "OnOK saves the data before ending";
  EXPECT_EQ(d.m_hWnd, nullptr);
  EXPECT_EQ(d.combo.m_hWnd, nullptr) << "controls are detached with their windows";
}

TEST(AfxDialog, ReflectedNotificationsReachTheControlAndOptionallyTheParent) {
  MapDialog d;
  zrui::OnNextModal([&](HWND h) {
    zrui::ChooseComboItem(GetDlgItem(h, IDC_COMBO), 1);
    EXPECT_EQ(d.combo.own, 1);
    EXPECT_EQ(d.parentSel, 0) << "handled by the control, the parent does not see it";
    d.combo.passOn = true;
    zrui::ChooseComboItem(GetDlgItem(h, IDC_COMBO), 0);
    EXPECT_EQ(d.combo.own, 2);
    EXPECT_EQ(d.parentSel, 1);
    zrui::PressKey(VK_ESCAPE);
  });
  EXPECT_EQ(d.DoModal(), IDCANCEL);
}

TEST(AfxDialog, CommandsRegisteredMessagesAndRegisteredNotificationCodes) {
  MapDialog d;
  zrui::OnNextModal([&](HWND h) {
    zrui::Click(GetDlgItem(h, IDC_APPLY));
    EXPECT_EQ(d.applies, 1);
    EXPECT_EQ(SendMessageW(h, WM_TEST_ENDEDIT, 5, 0), 7);
    EXPECT_EQ(d.lastEndEdit, 5);
    HWND grid = GetDlgItem(h, IDC_GRID);
    SendMessageW(h, WM_COMMAND, MAKEWPARAM(IDC_GRID, LOWORD(MapDialog::gridCode)), reinterpret_cast<LPARAM>(grid));
    EXPECT_EQ(d.gridCommands, 1);
    SendMessageW(h, WM_COMMAND, MAKEWPARAM(IDC_GRID, 3), reinterpret_cast<LPARAM>(grid));
    EXPECT_EQ(d.gridCommands, 1) << "another code does not match";
    d.EndDialog(IDOK);
  });
  EXPECT_EQ(d.DoModal(), IDOK);
}

TEST(AfxDialog, PreTranslateMessageSeesKeysBeforeTheDialog) {
  MapDialog d;
  zrui::OnNextModal([&](HWND h) {
    SetFocus(GetDlgItem(h, IDC_EDIT));
    zrui::PressKey(VK_ESCAPE);
    EXPECT_EQ(d.edit.escapes, 1);
    EXPECT_FALSE(zrui::IsDialogEnded(h));
    zrui::CloseByTitleBar(h);
  });
  EXPECT_EQ(d.DoModal(), IDCANCEL);
  EXPECT_TRUE(d.closed) << "ON_WM_CLOSE runs, and its default sends Cancel";
}

TEST(AfxDialog, SizeMessagesCarryTheClientSize) {
  MapDialog d;
  zrui::OnNextModal([&](HWND h) {
    EXPECT_EQ(d.lastSize.cx, MulDiv(200, 7, 4));
    zrui::DragResize(h, WMSZ_BOTTOMRIGHT, 500, 300);
    EXPECT_EQ(d.lastSize.cx, 500 - 14);
    EXPECT_EQ(d.lastSize.cy, 300 - 26);
    d.EndDialog(IDCANCEL);
  });
  d.DoModal();
}

TEST(AfxDialog, AMissingTemplateMakesDoModalFail) {
  CDialog d(999999u);
  EXPECT_EQ(d.DoModal(), -1);
}

// A window that deletes itself when its window goes (as editors do).
class SelfDeleting : public CWnd {
 public:
  explicit SelfDeleting(bool* gone) : gone_(gone) {}
  ~SelfDeleting() override { *gone_ = true; }
  void PostNcDestroy() override { delete this; }

 private:
  bool* gone_;
};

TEST(AfxWnd, ObjectsCanDeleteThemselvesAfterTheirWindow) {
  bool gone = false;
  auto* w = new SelfDeleting(&gone);
  ASSERT_TRUE(w->CreateEx(0, nullptr, u"self", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
  HWND h = w->m_hWnd;
  EXPECT_EQ(CWnd::FromHandlePermanent(h), w);
  ::DestroyWindow(h);
  EXPECT_TRUE(gone);
}

// Default() hands the message to the window's own procedure.
class UpperEdit : public CEdit {
 public:
  void OnChar(UINT ch, UINT repeat, UINT flags) {
    if (ch >= 'a' && ch <= 'z') {
      DefWindowProc(WM_CHAR, ch - 32, MAKELPARAM(static_cast<WORD>(repeat), static_cast<WORD>(flags)));
      return;
    }
    CEdit::OnChar(ch, repeat, flags);
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(UpperEdit, CEdit)
  ON_WM_CHAR()
END_MESSAGE_MAP()

TEST(AfxWnd, HandlersPassMessagesOnToTheControl) {
  CWnd host;
  ASSERT_TRUE(host.CreateEx(0, nullptr, u"host", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 0));
  UpperEdit e;
  ASSERT_TRUE(e.Create(WS_VISIBLE, CRect(0, 0, 100, 20), &host, 5));
  e.SetFocus();
  zrui::Type(u"j1-x");
  CString t;
  e.GetWindowText(t);
  EXPECT_EQ(t, u"J1-X");
  EXPECT_EQ(host.GetDlgItem(5), &e);
  CWnd* temp = CWnd::FromHandle(GetParent(e.m_hWnd));
  EXPECT_EQ(temp, &host);
}

TEST(AfxWnd, TemporaryObjectsWrapWindowsWithoutOne) {
  HWND h = CreateWindowExW(0, WC_STATICW, u"raw", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  CWnd* w = CWnd::FromHandle(h);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
  EXPECT_EQ(w, CWnd::FromHandle(h)) << "one temporary object per window";
  CString t;
  w->GetWindowText(t);
  EXPECT_EQ(t, u"raw");
  ::DestroyWindow(h);
  EXPECT_EQ(CWnd::FromHandle(h), nullptr);
}

}  // namespace
