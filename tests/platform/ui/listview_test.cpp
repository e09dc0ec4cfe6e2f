// Report list views as the connectors screen and the property grid use them.
#include "ui_test_support.h"
#include "zrui/afx.h"
#include "zrui/metrics.h"
#include "zrui/testing.h"
#include "zrui/textrender.h"

using namespace zrui::test;

namespace {

class ListView : public ::testing::Test {
 protected:
  void SetUp() override {
    parent = CreateLogger(&log, nullptr, WS_POPUP | WS_VISIBLE);
    HWND h = CreateWindowExW(0, WC_LISTVIEWW, u"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL, 0, 0, 300, 13 * 6,
                             parent, reinterpret_cast<HMENU>(50102), nullptr, nullptr);
    list.Attach(h);
    list.InsertColumn(0, u"Nome", LVCFMT_LEFT, 85);
    list.InsertColumn(1, u"Valor", LVCFMT_LEFT, 100);
  }
  void TearDown() override {
    list.Detach();
    DestroyWindow(parent);
  }
  std::vector<NMLISTVIEW> Notices(UINT code) const { return log.notices<NMLISTVIEW>(code); }
  int CountNotify(UINT code) const { return log.countNotify(code); }
  MessageLog log;
  HWND parent = nullptr;
  CListCtrl list;
};

TEST_F(ListView, ItemsSubItemsAndDataAreStoredAndReadBack) {
  EXPECT_EQ(list.InsertItem(0, u"J1"), 0);
  EXPECT_EQ(list.InsertItem(5, u"J3"), 1) << "an index past the end appends";
  EXPECT_EQ(list.InsertItem(1, u"J2"), 1);
  list.SetItemText(1, 1, u"3 pinos");
  list.SetItemData(1, 77);
  EXPECT_EQ(list.GetItemCount(), 3);
  EXPECT_EQ(list.GetItemText(1, 0), u"J2");
  EXPECT_EQ(list.GetItemText(1, 1), u"3 pinos");
  EXPECT_EQ(list.GetItemText(2, 0), u"J3");
  EXPECT_EQ(list.GetItemData(1), 77u);
  EXPECT_EQ(list.GetItemText(9, 0), u"");
  LVFINDINFOW f;
  f.flags = LVFI_PARAM;
  f.lParam = 77;
  EXPECT_EQ(list.FindItem(&f), 1);
  EXPECT_TRUE(list.DeleteItem(0));
  EXPECT_EQ(list.GetItemText(0, 1), u"3 pinos");
  EXPECT_FALSE(list.DeleteItem(7));
  list.DeleteAllItems();
  EXPECT_EQ(list.GetItemCount(), 0);
  EXPECT_GE(CountNotify(LVN_DELETEITEM), 3);
}

TEST_F(ListView, ClickingSelectsOneItemWithChangeNotices) {
  list.InsertItem(0, u"J1");
  list.InsertItem(1, u"J2");
  CRect r;
  ASSERT_TRUE(list.GetItemRect(1, &r, LVIR_BOUNDS));
  EXPECT_EQ(r.top, 13 + 13) << "rows start below the header";
  log.entries.clear();
  zrui::ClickAt(list.m_hWnd, CPoint(5, r.top + 2));
  EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 1);
  EXPECT_EQ(list.GetSelectedCount(), 1);
  auto changed = Notices(LVN_ITEMCHANGED);
  ASSERT_FALSE(changed.empty());
  EXPECT_EQ(changed.back().iItem, 1);
  EXPECT_TRUE(changed.back().uNewState & LVIS_SELECTED);
  EXPECT_EQ(CountNotify(NM_SETFOCUS), 1);
  EXPECT_EQ(CountNotify(NM_CLICK), 1);
  list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(list.GetItemState(1, LVIS_SELECTED), 0u) << "single selection";
  zrui::PressKey(VK_DOWN);
  EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 1);
}

// A parent that refuses every change, as the summary list of the screen does.
LRESULT CALLBACK RefusingProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(l)->code == LVN_ITEMCHANGING) return TRUE;
  return DefWindowProcW(h, msg, w, l);
}

TEST_F(ListView, AParentCanRefuseChanges) {
  list.InsertItem(0, u"a");
  SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RefusingProc));
  zrui::ClickAt(list.m_hWnd, CPoint(5, 15));
  EXPECT_EQ(list.GetSelectedCount(), 0);
}

TEST_F(ListView, RectanglesHitTestsAndScrolling) {
  CImageList images;
  images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 1);
  list.SetImageList(&images, LVSIL_SMALL);
  for (int i = 0; i < 20; ++i) list.InsertItem(i, u"item", 0);
  CRect label, sub;
  ASSERT_TRUE(list.GetItemRect(2, &label, LVIR_LABEL));
  EXPECT_EQ(label.left, 16) << "the label follows the small image";
  EXPECT_EQ(label.right, 85);
  EXPECT_EQ(label.Height(), 16) << "rows are as high as the small images";
  ASSERT_TRUE(list.GetSubItemRect(2, 1, LVIR_LABEL, sub));
  EXPECT_EQ(sub.left, 85);
  EXPECT_EQ(sub.right, 185);
  LVHITTESTINFO hit;
  hit.pt = CPoint(90, label.top + 1);
  EXPECT_EQ(list.SubItemHitTest(&hit), 2);
  EXPECT_EQ(hit.iSubItem, 1);
  hit.pt = CPoint(250, label.top + 1);
  EXPECT_EQ(list.SubItemHitTest(&hit), -1) << "right of the last column is no item";
  int per = list.GetCountPerPage();
  EXPECT_EQ(per, (13 * 6 - 13) / 16);
  list.EnsureVisible(10, FALSE);
  EXPECT_EQ(list.GetTopIndex(), 10 - per + 1);
  list.Scroll(CSize(0, -16 * 100));
  EXPECT_EQ(list.GetTopIndex(), 0);
  list.SetColumnWidth(1, 400);
  list.Scroll(CSize(50, 0));
  ASSERT_TRUE(list.GetSubItemRect(0, 1, LVIR_BOUNDS, sub));
  EXPECT_EQ(sub.left, 85 - 50);
  EXPECT_EQ(GetScrollPos(list.m_hWnd, SB_HORZ), 50);
  CRect head;
  ASSERT_TRUE(list.GetHeaderCtrl()->GetItemRect(1, &head));
  EXPECT_EQ(head.left, 85) << "header rectangles are not scrolled";
  EXPECT_EQ(list.GetHeaderCtrl()->GetItemCount(), 2);
  list.SetImageList(nullptr, LVSIL_SMALL);
}

TEST_F(ListView, HotTrackingReportsTheCellUnderTheMouse) {
  list.InsertItem(0, u"a");
  zrui::MouseMove(list.m_hWnd, CPoint(100, 15));
  auto hot = Notices(LVN_HOTTRACK);
  ASSERT_EQ(hot.size(), 1u);
  EXPECT_EQ(hot[0].iItem, 0);
  EXPECT_EQ(hot[0].iSubItem, 1);
  EXPECT_EQ(list.GetHotItem(), 0);
}

// Custom draw: the parent sets a colour for column 1 of every row.
LRESULT CALLBACK PaintingProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(l)->code == NM_CUSTOMDRAW) {
    auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(l);
    if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (cd->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) return CDRF_NOTIFYSUBITEMDRAW;
    if (cd->nmcd.dwDrawStage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM) && cd->iSubItem == 1) {
      cd->clrText = RGB(200, 0, 0);
      return CDRF_NEWFONT;
    }
    return CDRF_DODEFAULT;
  }
  return DefWindowProcW(h, msg, w, l);
}

TEST_F(ListView, CustomDrawSetsCellColours) {
  list.InsertItem(0, u"J1");
  list.SetItemText(0, 1, u"vermelho");
  SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PaintingProc));
  zrui::TextGrid grid = zrui::RenderWindow(parent);
  // Row 1 of the list (below the header); the second column starts at 85 px.
  int row = 1, col = (85 + 3) / 7;
  EXPECT_EQ(grid.line(row).substr(0, 2), u"J1");
  EXPECT_EQ(grid.at(col, row).ch, u'v');
  EXPECT_EQ(grid.at(col, row).fg, RGB(200, 0, 0));
  EXPECT_EQ(grid.at(0, row).fg, GetSysColor(COLOR_WINDOWTEXT));
}

// On the character grid a column shows from the cell its left edge is
// nearest to; a click comes at the middle of a cell (as the terminal sends
// it). The column's rectangle must cover every cell its text is painted in,
// so that a click on the first character of a value is a click in that
// value's column, also for owners that test the rectangle strictly (the
// property grid opens its editor only inside a cell's label).
TEST(ListViewOnCells, ClicksOnTheCellsAColumnIsPaintedInHitThatColumn) {
  zrui::ScopedMetricsProfile profile{zrui::MetricsProfile::Text};
  struct Case {
    int first, second;  // column widths in pixels
  };
  // Edges a cell apart, on a boundary, and 1 to 6 pixels past one (150: the
  // property grid's name column, 21 cells and 3 pixels).
  const Case cases[] = {{150, 150}, {147, 100}, {148, 101}, {149, 102}, {151, 103}, {152, 104}, {153, 85}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "widths " << c.first << ", " << c.second);
    HWND parent = CreateWindowExW(0, WC_STATICW, u"", WS_POPUP | WS_VISIBLE, 0, 0, 7 * 60, 13 * 5, nullptr, nullptr,
                                  nullptr, nullptr);
    HWND h = CreateWindowExW(0, WC_LISTVIEWW, u"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL, 0, 0, 7 * 60,
                             13 * 5, parent, nullptr, nullptr, nullptr);
    CListCtrl list;
    list.Attach(h);
    list.InsertColumn(0, u"", LVCFMT_LEFT, c.first);
    list.InsertColumn(1, u"", LVCFMT_LEFT, c.second);
    list.InsertColumn(2, u"", LVCFMT_LEFT, 70);
    list.InsertItem(0, u"A");
    list.SetItemText(0, 1, u"X2");
    list.SetItemText(0, 2, u"Z");
    const zrui::TextGrid grid = zrui::RenderWindow(parent);
    const int row = 1;  // below the header
    for (int col = 1; col <= 2; ++col) {
      SCOPED_TRACE(::testing::Message() << "column " << col);
      const std::u16string line = grid.line(row);
      const size_t at = line.find(col == 1 ? u"X2" : u"Z");
      ASSERT_NE(at, std::u16string::npos) << grid.utf8();
      const int cell = static_cast<int>(at);
      LVHITTESTINFO hit{};
      hit.pt = POINT{cell * 7 + 3, row * 13 + 6};
      EXPECT_EQ(list.SubItemHitTest(&hit), 0);
      EXPECT_EQ(hit.iSubItem, col);
      CRect r;
      ASSERT_TRUE(list.GetSubItemRect(0, col, LVIR_LABEL, r));
      EXPECT_EQ(r.left, cell * 7) << "the column's rectangle starts where the cell of its text does";
      // The cell before the text belongs to the column before.
      hit.pt.x -= 7;
      list.SubItemHitTest(&hit);
      EXPECT_EQ(hit.iSubItem, col - 1);
      CRect head;
      ASSERT_TRUE(list.GetHeaderCtrl()->GetItemRect(col, &head));
      EXPECT_EQ(head.left, r.left) << "the header shows the column where its cells are";
    }
    list.Detach();
    DestroyWindow(parent);
  }
}

}  // namespace
