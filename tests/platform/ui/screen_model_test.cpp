// The screen as front ends see it: top-level windows in z-order with a pan
// offset, the changed cells since the last draw, and the visible state of
// controls (focus, selection, caret, colours asked from the parent, owner
// drawing, group frames).
#include <gtest/gtest.h>
#include <poll.h>

#include <thread>

#include "ui_test_support.h"
#include "zrui/afx.h"
#include "zrui/metrics.h"
#include "zrui/textrender.h"

namespace zrui::test {
namespace {

using namespace zrui::rc;

DialogTemplate Box(const char16_t* caption, int cx, int cy, std::vector<DialogItem> items) {
  DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | WS_VISIBLE;
  t.caption = caption;
  t.cx = cx;
  t.cy = cy;
  t.items = std::move(items);
  return t;
}

// The screen cell of a window's top-left corner.
POINT ScreenCell(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  return POINT{r.left / kCharWidth, r.top / kCharHeight};
}

class Screen : public ::testing::Test {
 protected:
  ScopedMetricsProfile profile{MetricsProfile::Text};
  std::vector<HWND> windows;
  HWND Make(const DialogTemplate& t, HWND owner = nullptr) {
    HWND h = CreateDialogIndirectParamW(nullptr, &t, owner, nullptr, 0);
    windows.push_back(h);
    return h;
  }
  void TearDown() override {
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) DestroyWindow(*it);
  }
};

TEST_F(Screen, NestedDialogsLieOverTheirOwnersAndThePanShiftsTheView) {
  DialogTemplate big = Box(u"Outer", 200, 120, {LTEXT(u"outer text", 10, 4, 4, 80, 8)});
  DialogTemplate mid = Box(u"Middle", 120, 60, {LTEXT(u"middle text", 11, 4, 4, 80, 8)});
  DialogTemplate top = Box(u"Box", 60, 24, {LTEXT(u"top", 12, 4, 4, 40, 8)});
  HWND outer = Make(big);
  HWND middle = Make(mid, outer);
  HWND box = Make(top, middle);
  int cols = GetSystemMetrics(SM_CXSCREEN) / kCharWidth, rows = GetSystemMetrics(SM_CYSCREEN) / kCharHeight;
  TextGrid g = RenderScreen(cols, rows);
  // All three are centred over each other: the box's caption and text are
  // on top, the middle dialog shows around it.
  POINT b = ScreenCell(box), m = ScreenCell(middle);
  EXPECT_EQ(Narrow(g.line(b.y).substr(static_cast<size_t>(b.x), 7)), "+- Box ");
  EXPECT_NE(g.text().find(u"+- Middle "), std::u16string::npos) << "the middle dialog's caption";
  EXPECT_NE(g.text().find(u"outer text"), std::u16string::npos);
  EXPECT_EQ(g.at(m.x, m.y).ch, u'+') << "the middle dialog's corner shows";
  EXPECT_EQ(g.at(0, 0).bg, GetSysColor(COLOR_BACKGROUND)) << "the desktop around";

  // Panned by (3, 2) cells the same picture moves up and left.
  TextGrid panned = RenderScreen(cols, rows, POINT{3, 2});
  EXPECT_EQ(panned.line(b.y - 2).substr(static_cast<size_t>(b.x - 3), 7), g.line(b.y).substr(static_cast<size_t>(b.x), 7));

  // Hiding the box uncovers the middle dialog.
  ShowWindow(box, SW_HIDE);
  TextGrid after = RenderScreen(cols, rows);
  EXPECT_EQ(after.line(b.y).find(u"Box"), std::u16string::npos);
}

TEST_F(Screen, TheModelReportsOnlyWhatChanged) {
  HWND dlg = Make(Box(u"Model", 120, 40, {LTEXT(u"first", 10, 4, 4, 80, 8), LTEXT(u"second", 11, 4, 20, 80, 8)}));
  ScreenModel model(GetSystemMetrics(SM_CXSCREEN) / kCharWidth, GetSystemMetrics(SM_CYSCREEN) / kCharHeight);
  ASSERT_TRUE(model.NeedsUpdate());
  auto all = model.Update();
  int cells = 0;
  for (const CellSpan& s : all) cells += s.count;
  EXPECT_EQ(cells, model.Grid().width() * model.Grid().height()) << "the first update reports every cell";
  EXPECT_FALSE(model.NeedsUpdate());
  EXPECT_TRUE(model.Update().empty()) << "nothing changed";

  SetWindowTextW(GetDlgItem(dlg, 11), u"changed");
  ASSERT_TRUE(model.NeedsUpdate());
  auto spans = model.Update();
  ASSERT_EQ(spans.size(), 1u);
  RECT lr;
  GetWindowRect(GetDlgItem(dlg, 11), &lr);
  EXPECT_EQ(spans[0].row, lr.top / kCharHeight);
  EXPECT_EQ(Narrow(model.Grid().line(spans[0].row).substr(static_cast<size_t>(spans[0].col), 7)), "changed");

  model.SetPan(POINT{1, 0});
  EXPECT_TRUE(model.NeedsUpdate());
  EXPECT_GT(model.Update().size(), 10u) << "a new pan offset redraws everything";
}

bool Readable(int fd) {
  pollfd p{fd, POLLIN, 0};
  return poll(&p, 1, 0) == 1 && (p.revents & POLLIN);
}

// What a front end waits on instead of repainting on a timer: the descriptor
// wakes it for changes from this thread or another, and stays quiet while
// nothing changes (an idle dialog costs nothing).
TEST_F(Screen, TheChangeDescriptorWakesForChangesOnlyAndFromAnyThread) {
  HWND dlg = Make(Box(u"Idle", 120, 40, {LTEXT(u"text", 10, 4, 4, 80, 8)}));
  const int fd = ScreenChangeDescriptor();
  ASSERT_GE(fd, 0);
  ScreenModel model(GetSystemMetrics(SM_CXSCREEN) / kCharWidth, GetSystemMetrics(SM_CYSCREEN) / kCharHeight);
  AcknowledgeScreenChange();
  model.Update();
  EXPECT_FALSE(Readable(fd)) << "rendering itself is no change";
  model.Update();
  EXPECT_FALSE(Readable(fd));
  EXPECT_FALSE(model.NeedsUpdate());

  SetWindowTextW(GetDlgItem(dlg, 10), u"one");
  SetWindowTextW(GetDlgItem(dlg, 10), u"two");
  EXPECT_TRUE(Readable(fd));
  EXPECT_TRUE(model.NeedsUpdate());
  AcknowledgeScreenChange();
  EXPECT_FALSE(Readable(fd)) << "acknowledged";
  model.Update();
  EXPECT_FALSE(model.NeedsUpdate());

  // A worker's change (text set through a cross-thread send, served by a pump).
  std::thread worker([&] { SetWindowTextW(GetDlgItem(dlg, 10), u"from the worker"); });
  pollfd p{fd, POLLIN, 0};
  while (poll(&p, 1, 0) == 0) zrui::Pump();
  worker.join();
  AcknowledgeScreenChange();
  model.Update();
  EXPECT_NE(model.Grid().text().find(u"from the worker"), std::u16string::npos);
  EXPECT_FALSE(Readable(fd));
}

TEST_F(Screen, FocusSelectionCaretAndDisabledControlsShow) {
  HWND dlg = Make(Box(u"State", 160, 60,
                      {EDITTEXT(10, 4, 4, 100, 14), PUSHBUTTON(u"Go", 11, 4, 24, 40, 14),
                       PUSHBUTTON(u"Off", 12, 50, 24, 40, 14, WS_DISABLED)}));
  HWND edit = GetDlgItem(dlg, 10);
  SetWindowTextW(edit, u"hello world");
  SetFocus(edit);
  SendMessageW(edit, EM_SETSEL, 6, 11);
  TextGrid g = RenderWindow(dlg);
  RECT wr, er;
  GetWindowRect(dlg, &wr);
  GetWindowRect(edit, &er);
  // A one-row field has no border cells on the grid.
  int row = (er.top - wr.top) / kCharHeight, col = (er.left - wr.left) / kCharWidth;
  EXPECT_EQ(Narrow(g.line(row).substr(static_cast<size_t>(col), 11)), "hello world");
  EXPECT_EQ(g.at(col + 6, row).bg, GetSysColor(COLOR_HIGHLIGHT)) << "the selected word";
  EXPECT_NE(g.at(col + 5, row).bg, GetSysColor(COLOR_HIGHLIGHT)) << "the space before it is not selected";
  HWND owner = nullptr;
  POINT pos{};
  SIZE size{};
  ASSERT_TRUE(GetCaretState(&owner, &pos, &size));
  EXPECT_EQ(owner, edit);
  EXPECT_EQ(pos.x, 11 * kCharWidth) << "the caret ends the selection";
  EXPECT_TRUE(g.at(col + 11, row).reverse) << "the caret cell";

  HWND go = GetDlgItem(dlg, 11);
  SetFocus(go);
  EXPECT_FALSE(GetCaretState(&owner, &pos, &size)) << "the field gave its caret up";
  g = RenderWindow(dlg);
  GetWindowRect(go, &er);
  row = (er.top - wr.top) / kCharHeight;
  size_t at = g.line(row).find(u"Go");
  ASSERT_NE(at, std::u16string::npos);
  EXPECT_EQ(g.at(static_cast<int>(at), row).bg, GetSysColor(COLOR_HIGHLIGHT)) << "the focused button";
  at = g.line(row).find(u"Off");
  ASSERT_NE(at, std::u16string::npos);
  EXPECT_TRUE(g.at(static_cast<int>(at), row).dim) << "the disabled button";
  EXPECT_EQ(g.at(static_cast<int>(at), row).fg, GetSysColor(COLOR_GRAYTEXT));
}

TEST_F(Screen, GroupEdgesShowOverNeighboursThatOverlapThem) {
  // The edit reaches into the group's bottom edge row on the grid; the
  // edge is drawn over it.
  HWND dlg = Make(Box(u"Group", 120, 60, {GROUPBOX(u"Frame", 10, 4, 4, 100, 40), EDITTEXT(11, 10, 30, 60, 14)}));
  TextGrid g = RenderWindow(dlg);
  RECT wr, gr;
  GetWindowRect(dlg, &wr);
  GetWindowRect(GetDlgItem(dlg, 10), &gr);
  int bottom = (gr.bottom - wr.top) / kCharHeight - 1, left = (gr.left - wr.left) / kCharWidth;
  int right = (gr.right - wr.left) / kCharWidth - 1;
  for (int c = left + 1; c < right; ++c) EXPECT_EQ(g.at(c, bottom).ch, u'-') << "column " << c << "\n" << g.utf8();
  EXPECT_EQ(Narrow(g.line((gr.top - wr.top) / kCharHeight).substr(static_cast<size_t>(left), 8)), "+ Frame ");
}

// An edit that asks for its colours itself (reflected WM_CTLCOLOR), as the
// colour cells of the property grid do.
class ColourEdit : public CEdit {
 public:
  CBrush brush{RGB(0, 0, 255)};
  HBRUSH CtlColor(CDC* dc, UINT) {
    dc->SetTextColor(RGB(255, 255, 0));
    dc->SetBkColor(RGB(0, 0, 255));
    return brush;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ColourEdit, CEdit)
ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class Host : public CDialog {
 public:
  explicit Host(const DialogTemplate* t) : CDialog(t) {}
  ColourEdit edit;
  CBitmapButton more;
  CComboBox combo;
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    edit.SubclassDlgItem(10, this);
    more.SubclassDlgItem(11, this);
    return TRUE;
  }
};

TEST_F(Screen, ReflectedColoursAndTextButtonsShowOnTheGrid) {
  DialogTemplate t = Box(u"Cells", 120, 40,
                         {EDITTEXT(10, 4, 4, 60, 12, ES_AUTOHSCROLL), PUSHBUTTON(u"...", 11, 64, 4, 12, 12, BS_OWNERDRAW)});
  Host host(&t);
  ASSERT_TRUE(host.CreateIndirect(&t));
  SetWindowTextW(host.edit.m_hWnd, u"300");
  TextGrid g = RenderWindow(host.m_hWnd);
  RECT wr, er, br;
  GetWindowRect(host.m_hWnd, &wr);
  GetWindowRect(host.edit.m_hWnd, &er);
  int row = (er.top - wr.top) / kCharHeight, col = (er.left - wr.left) / kCharWidth;
  size_t at = g.line(row).find(u"300");
  ASSERT_NE(at, std::u16string::npos) << g.utf8();
  EXPECT_EQ(g.at(static_cast<int>(at), row).bg, RGB(0, 0, 255)) << "the reflected brush";
  EXPECT_EQ(g.at(static_cast<int>(at), row).fg, RGB(255, 255, 0));
  EXPECT_EQ(g.at(col, row).bg, RGB(0, 0, 255));
  // The "..." button without bitmaps shows its caption.
  GetWindowRect(host.more.m_hWnd, &br);
  int bcol = (br.left - wr.left) / kCharWidth;
  EXPECT_EQ(Narrow(g.line(row).substr(static_cast<size_t>(bcol), 3)), "...") << g.utf8();
  host.DestroyWindow();
}

}  // namespace
}  // namespace zrui::test
