// Dialog resources by id, tab pages as child dialogs, default buttons set
// from code, sizing limits, worker threads of the C++ layer.
#include <atomic>

#include "ui_test_support.h"
#include "zrui/afx.h"

using namespace zrui::rc;

namespace {

constexpr UINT IDD_MAIN = 60001;
constexpr UINT IDD_PAGE = 60002;
constexpr int IDC_TAB = 601;
constexpr int IDC_PAGE_OK = 602;
constexpr int IDC_OTHER = 603;

void RegisterTemplates() {
  DialogTemplate main;
  main.style = WS_POPUP | WS_CAPTION | WS_THICKFRAME;
  main.caption = u"Seleção";
  main.cx = 220;
  main.cy = 202;
  main.items = {CONTROL(u"", IDC_TAB, WC_TABCONTROLW, WS_TABSTOP, 0, 0, 220, 202)};
  RegisterDialogResource(IDD_MAIN, main);
  DialogTemplate page;
  page.style = WS_CHILD | DS_CONTROL;
  page.x = 1;
  page.y = 16;
  page.cx = 216;
  page.cy = 185;
  page.items = {PUSHBUTTON(u"OK", IDC_PAGE_OK, 108, 164, 50, 14, WS_DISABLED),
                PUSHBUTTON(u"Outro", IDC_OTHER, 7, 164, 50, 14)};
  RegisterDialogResource(IDD_PAGE, page);
}

class Page : public CDialog {
 public:
  Page() : CDialog(IDD_PAGE) {}
  void OnPageOk() { GetParent()->SendMessage(WM_COMMAND, IDOK, 0); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Page, CDialog)
  ON_BN_CLICKED(IDC_PAGE_OK, &Page::OnPageOk)
END_MESSAGE_MAP()

class TabbedDialog : public CDialog {
 public:
  TabbedDialog() : CDialog(IDD_MAIN) {}
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    tab.SubclassDlgItem(IDC_TAB, this);
    tab.InsertItem(0, u"Seleção");
    tab.InsertItem(1, u"Criar");
    pages[0].Create(IDD_PAGE, this);
    pages[1].Create(IDD_PAGE, this);
    pages[0].ShowWindow(SW_SHOW);
    return TRUE;
  }
  void OnTabChange(NMHDR*, LRESULT* result) {
    int sel = tab.GetCurSel();
    pages[sel].ShowWindow(SW_SHOW);
    pages[1 - sel].ShowWindow(SW_HIDE);
    ++changes;
    *result = 0;
  }
  void OnGetMinMaxInfo(MINMAXINFO* mmi) { mmi->ptMinTrackSize = CPoint(300, 200); }
  CTabCtrl tab;
  Page pages[2];
  int changes = 0;
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(TabbedDialog, CDialog)
  ON_NOTIFY(TCN_SELCHANGE, IDC_TAB, &TabbedDialog::OnTabChange)
  ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

TEST(DialogResources, PagesAreChildDialogsShownByTheTabControl) {
  RegisterTemplates();
  TabbedDialog d;
  zrui::OnNextModal([&](HWND dlg) {
    EXPECT_EQ(GetParent(d.pages[0].m_hWnd), dlg);
    EXPECT_TRUE(d.pages[0].IsWindowVisible());
    EXPECT_FALSE(d.pages[1].IsWindowVisible());
    CRect r;
    d.tab.GetItemRect(1, &r);
    zrui::ClickAt(d.tab.m_hWnd, r.CenterPoint());
    EXPECT_EQ(d.changes, 1);
    EXPECT_TRUE(d.pages[1].IsWindowVisible());
    EXPECT_FALSE(d.pages[0].IsWindowVisible());
    // The page's OK ends the whole dialog once it is enabled.
    HWND ok = d.pages[1].GetDlgItem(IDC_PAGE_OK)->m_hWnd;
    EXPECT_FALSE(zrui::Click(ok));
    EnableWindow(ok, TRUE);
    zrui::Click(ok);
  });
  EXPECT_EQ(d.DoModal(), IDOK);
  EXPECT_EQ(d.pages[0].m_hWnd, nullptr) << "pages go with their dialog";
}

TEST(DialogResources, SizingRespectsTheMinimumTrackSize) {
  RegisterTemplates();
  TabbedDialog d;
  zrui::OnNextModal([&](HWND dlg) {
    zrui::DragResize(dlg, WMSZ_BOTTOMRIGHT, 100, 100);
    CRect r;
    GetWindowRect(dlg, &r);
    EXPECT_EQ(r.Width(), 300);
    EXPECT_EQ(r.Height(), 200);
    d.EndDialog(IDCANCEL);
  });
  d.DoModal();
}

TEST(DialogResources, CoreDialogsLoadTemplatesById) {
  RegisterTemplates();
  zrui::OnNextModal([](HWND dlg) {
    EXPECT_EQ(GetWindowTextString(dlg), u"Seleção");
    EndDialog(dlg, 42);
  });
  EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_MAIN), nullptr, nullptr, 0), 42);
  EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(1), nullptr, nullptr, 0), -1);
}

TEST(DialogResources, TheDefaultButtonCanBeChangedFromCode) {
  DialogTemplate t;
  t.cx = 100;
  t.cy = 50;
  t.items = {DEFPUSHBUTTON(u"A", 11, 5, 5, 40, 14), PUSHBUTTON(u"B", 12, 50, 5, 40, 14)};
  std::vector<int> clicked;
  zrui::OnNextModal([&](HWND dlg) {
    EXPECT_EQ(LOWORD(SendMessageW(dlg, DM_GETDEFID, 0, 0)), 11);
    SendMessageW(dlg, DM_SETDEFID, 12, 0);
    EXPECT_EQ(GetWindowLongW(GetDlgItem(dlg, 12), GWL_STYLE) & BS_TYPEMASK, static_cast<LONG>(BS_DEFPUSHBUTTON));
    EXPECT_EQ(GetWindowLongW(GetDlgItem(dlg, 11), GWL_STYLE) & BS_TYPEMASK, static_cast<LONG>(BS_PUSHBUTTON));
    SetFocus(nullptr);
    zrui::PressKey(VK_RETURN);
    EndDialog(dlg, IDOK);
  });
  static std::vector<int>* sink;
  sink = &clicked;
  DialogBoxIndirectParamW(nullptr, &t, nullptr,
                          [](HWND, UINT m, WPARAM w, LPARAM) -> INT_PTR {
                            if (m == WM_COMMAND && HIWORD(w) == BN_CLICKED) sink->push_back(LOWORD(w));
                            return m == WM_INITDIALOG;
                          },
                          0);
  EXPECT_EQ(clicked, std::vector<int>{12});
}

UINT Work(LPVOID p) {
  static_cast<std::atomic<int>*>(p)->fetch_add(1);
  return 7;
}

TEST(WorkerThreads, ThreadsRunAndDeleteThemselvesOrAreJoined) {
  std::atomic<int> done{0};
  ASSERT_NE(AfxBeginThread(Work, &done), nullptr);
  CWinThread* kept = AfxBeginThread(Work, &done, 0, 0, CREATE_SUSPENDED);
  kept->m_bAutoDelete = FALSE;
  ResumeThread(kept);
  EXPECT_EQ(kept->Join(), 7u);
  delete kept;
  ASSERT_TRUE(zrui::PumpUntil([&] { return done == 2; }, std::chrono::seconds(5)));
  EXPECT_EQ(AfxBeginThread(nullptr, nullptr), nullptr);
}

}  // namespace
