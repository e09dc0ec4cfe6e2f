// Tree views (insert, walk, expand, select, data, images) and tab controls.
#include "ui_test_support.h"
#include "zrui/afx.h"
#include "zrui/testing.h"

using namespace zrui::test;

namespace {

class Tree : public ::testing::Test {
 protected:
  void SetUp() override {
    parent = CreateLogger(&log, nullptr, WS_POPUP | WS_VISIBLE);
    HWND h = CreateWindowExW(0, WC_TREEVIEWW, u"", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                             0, 0, 300, 200, parent, reinterpret_cast<HMENU>(50123), nullptr, nullptr);
    tree.Attach(h);
  }
  void TearDown() override {
    tree.Detach();
    DestroyWindow(parent);
  }
  std::vector<NMTREEVIEWW> Notices(UINT code) const { return log.notices<NMTREEVIEWW>(code); }
  MessageLog log;
  HWND parent = nullptr;
  CTreeCtrl tree;
};

TEST_F(Tree, ItemsAreWalkedByParentChildAndSibling) {
  HTREEITEM j1 = tree.InsertItem(u"J1", 0, 0);
  HTREEITEM j2 = tree.InsertItem(u"J2", 0, 0);
  HTREEITEM p1 = tree.InsertItem(u"1", 1, 1, j1);
  HTREEITEM p2 = tree.InsertItem(u"2", 1, 1, j1);
  HTREEITEM p0 = tree.InsertItem(u"0", 1, 1, j1, TVI_FIRST);
  tree.SetItemData(j1, 1234);
  EXPECT_EQ(tree.GetRootItem(), j1);
  EXPECT_EQ(tree.GetNextSiblingItem(j1), j2);
  EXPECT_EQ(tree.GetNextSiblingItem(j2), nullptr);
  EXPECT_EQ(tree.GetChildItem(j1), p0);
  EXPECT_EQ(tree.GetNextSiblingItem(p0), p1);
  EXPECT_EQ(tree.GetPrevSiblingItem(p2), p1);
  EXPECT_EQ(tree.GetParentItem(p2), j1);
  EXPECT_EQ(tree.GetParentItem(j1), nullptr);
  EXPECT_TRUE(tree.ItemHasChildren(j1));
  EXPECT_FALSE(tree.ItemHasChildren(j2));
  EXPECT_EQ(tree.GetItemText(p1), u"1");
  EXPECT_EQ(tree.GetItemData(j1), 1234u);
  int img = -1, sel = -1;
  tree.GetItemImage(p1, img, sel);
  EXPECT_EQ(img, 1);
  EXPECT_EQ(tree.GetCount(), 5u);
  tree.DeleteItem(j1);
  EXPECT_EQ(tree.GetCount(), 1u) << "children go with their parent";
  EXPECT_EQ(tree.GetRootItem(), j2);
  EXPECT_FALSE(tree.DeleteItem(p1)) << "a deleted item is no longer valid";
}

TEST_F(Tree, SortedInsertionOrdersByTextIgnoringCase) {
  tree.InsertItem(u"bravo", TVI_ROOT, TVI_SORT);
  tree.InsertItem(u"Alfa", TVI_ROOT, TVI_SORT);
  tree.InsertItem(u"charlie", TVI_ROOT, TVI_SORT);
  HTREEITEM first = tree.GetRootItem();
  EXPECT_EQ(tree.GetItemText(first), u"Alfa");
  EXPECT_EQ(tree.GetItemText(tree.GetNextSiblingItem(first)), u"bravo");
}

TEST_F(Tree, SelectionFromCodeAndByMouseNotifiesChangingAndChanged) {
  HTREEITEM j1 = tree.InsertItem(u"J1");
  HTREEITEM p1 = tree.InsertItem(u"1", j1);
  log.entries.clear();
  EXPECT_TRUE(tree.SelectItem(p1));
  EXPECT_EQ(tree.GetSelectedItem(), p1);
  EXPECT_TRUE(tree.GetItemState(j1, TVIS_EXPANDED)) << "selecting shows the item";
  auto changed = Notices(TVN_SELCHANGEDW);
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(changed[0].itemNew.hItem, p1);
  EXPECT_EQ(changed[0].itemOld.hItem, nullptr);
  EXPECT_EQ(Notices(TVN_SELCHANGINGW).size(), 1u);
  CRect r;
  ASSERT_TRUE(tree.GetItemRect(j1, &r, TRUE));
  log.entries.clear();
  zrui::ClickAt(tree.m_hWnd, CPoint(r.left + 1, r.top + 1));
  EXPECT_EQ(tree.GetSelectedItem(), j1);
  changed = Notices(TVN_SELCHANGEDW);
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(changed[0].action, TVC_BYMOUSE);
  EXPECT_EQ(changed[0].itemOld.hItem, p1);
  EXPECT_EQ(GetFocus(), tree.m_hWnd);
}

TEST_F(Tree, ExpansionNotifiesAndCanBeRefused) {
  HTREEITEM j1 = tree.InsertItem(u"J1");
  tree.InsertItem(u"1", j1);
  HTREEITEM leaf = tree.InsertItem(u"J2");
  EXPECT_FALSE(tree.Expand(leaf, TVE_EXPAND)) << "nothing to expand";
  log.entries.clear();
  EXPECT_TRUE(tree.Expand(j1, TVE_EXPAND));
  ASSERT_EQ(Notices(TVN_ITEMEXPANDINGW).size(), 1u);
  EXPECT_EQ(Notices(TVN_ITEMEXPANDINGW)[0].action, TVE_EXPAND);
  EXPECT_EQ(Notices(TVN_ITEMEXPANDEDW).size(), 1u);
  tree.Expand(j1, TVE_COLLAPSE);
  EXPECT_FALSE(tree.GetItemState(j1, TVIS_EXPANDED));
  log.entries.clear();
  // By code, only the first expansion notifies; by the user, every one.
  tree.Expand(j1, TVE_EXPAND);
  EXPECT_EQ(Notices(TVN_ITEMEXPANDINGW).size(), 0u);
  CRect r;
  tree.GetItemRect(j1, &r, FALSE);
  zrui::ClickAt(tree.m_hWnd, CPoint(2, r.top + 1));  // the button column
  EXPECT_FALSE(tree.GetItemState(j1, TVIS_EXPANDED));
  EXPECT_EQ(Notices(TVN_ITEMEXPANDINGW).size(), 1u);
}

TEST_F(Tree, KeyboardWalksTheVisibleItems) {
  HTREEITEM j1 = tree.InsertItem(u"J1");
  HTREEITEM p1 = tree.InsertItem(u"1", j1);
  HTREEITEM j2 = tree.InsertItem(u"J2");
  tree.SelectItem(j1);
  tree.SetFocus();
  zrui::PressKey(VK_RIGHT);
  EXPECT_TRUE(tree.GetItemState(j1, TVIS_EXPANDED));
  zrui::PressKey(VK_DOWN);
  EXPECT_EQ(tree.GetSelectedItem(), p1);
  zrui::PressKey(VK_DOWN);
  EXPECT_EQ(tree.GetSelectedItem(), j2);
  zrui::PressKey(VK_UP);
  zrui::PressKey(VK_LEFT);
  EXPECT_EQ(tree.GetSelectedItem(), j1);
}

TEST_F(Tree, PlusAndMinusOpenAndCloseTheSelectedFolderWithNotices) {
  HTREEITEM j1 = tree.InsertItem(u"J1");
  tree.InsertItem(u"1", j1);
  HTREEITEM j2 = tree.InsertItem(u"J2");
  tree.SelectItem(j1);
  tree.SetFocus();
  zrui::Type(u"+");
  EXPECT_TRUE(tree.GetItemState(j1, TVIS_EXPANDED));
  zrui::Type(u"+");
  EXPECT_EQ(Notices(TVN_ITEMEXPANDEDW).size(), 1u) << "an open folder stays open, unannounced";
  zrui::Type(u"-");
  EXPECT_FALSE(tree.GetItemState(j1, TVIS_EXPANDED));
  ASSERT_EQ(Notices(TVN_ITEMEXPANDEDW).size(), 2u);
  EXPECT_EQ(Notices(TVN_ITEMEXPANDEDW).back().action, TVE_COLLAPSE);
  // A leaf has nothing to open.
  tree.SelectItem(j2);
  zrui::Type(u"+");
  EXPECT_FALSE(tree.GetItemState(j2, TVIS_EXPANDED));
  EXPECT_EQ(Notices(TVN_ITEMEXPANDEDW).size(), 2u);
}

TEST(TabControl, ClicksChangeTheTabWithNoticesAndCodeDoesNot) {
  MessageLog log;
  HWND parent = CreateLogger(&log, nullptr, WS_POPUP | WS_VISIBLE);
  CTabCtrl tab;
  ASSERT_TRUE(tab.Create(WS_VISIBLE, CRect(0, 0, 300, 200), CWnd::FromHandle(parent), 50121));
  EXPECT_EQ(tab.InsertItem(0, u"Seleção"), 0);
  EXPECT_EQ(tab.InsertItem(1, u"Criar"), 1);
  EXPECT_EQ(tab.GetCurSel(), 0);
  CRect r1;
  ASSERT_TRUE(tab.GetItemRect(1, &r1));
  log.entries.clear();
  zrui::ClickAt(tab.m_hWnd, r1.CenterPoint());
  EXPECT_EQ(tab.GetCurSel(), 1);
  std::vector<UINT> codes;
  for (auto& e : log.entries)
    if (e.msg == WM_NOTIFY) codes.push_back(e.code);
  EXPECT_EQ(codes, (std::vector<UINT>{TCN_SELCHANGING, TCN_SELCHANGE}));
  log.entries.clear();
  tab.SetCurSel(0);
  EXPECT_EQ(tab.GetCurSel(), 0);
  EXPECT_EQ(log.count(WM_NOTIFY), 0);
  CRect area(0, 0, 300, 200);
  tab.AdjustRect(FALSE, &area);
  EXPECT_EQ(area.top, 14);
  CString text = u"";
  TCITEMW item;
  char16_t buf[32];
  item.mask = TCIF_TEXT;
  item.pszText = buf;
  item.cchTextMax = 32;
  ASSERT_TRUE(tab.GetItem(1, &item));
  EXPECT_EQ(std::u16string(buf), u"Criar");
  DestroyWindow(parent);
}

TEST(ImageLists, StripsAreCutIntoImagesWithTheMaskColourTransparent) {
  const COLORREF M = RGB(255, 0, 255), G = RGB(0, 200, 0), R = RGB(200, 0, 0);
  std::vector<COLORREF> px;
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) px.push_back(x < 2 ? (x == 0 ? M : G) : R);
  RegisterBitmapResource(50113, 4, 2, px, u"GR", 2);
  CImageList il;
  ASSERT_TRUE(il.Create(50113u, 2, 0, M));
  EXPECT_EQ(il.GetImageCount(), 2);
  EXPECT_EQ(ImageList_GetPixel(il, 0, 0, 0), CLR_NONE);
  EXPECT_EQ(ImageList_GetPixel(il, 0, 1, 0), G);
  EXPECT_EQ(ImageList_GetPixel(il, 1, 0, 1), R);
  EXPECT_EQ(ImageList_GetGlyph(il, 1), u'R');
  // Drawn onto a bitmap, masked pixels keep the background.
  CDC mem;
  mem.CreateCompatibleDC(nullptr);
  CBitmap target;
  target.CreateBitmap(2, 2, 1, 32, nullptr);
  CBitmap* old = mem.SelectObject(&target);
  mem.FillSolidRect(0, 0, 2, 2, RGB(240, 240, 240));
  il.Draw(&mem, 0, CPoint(0, 0), ILD_TRANSPARENT);
  mem.SelectObject(old);
  EXPECT_EQ(GetBitmapPixel(target, 0, 0), RGB(240, 240, 240));
  EXPECT_EQ(GetBitmapPixel(target, 1, 0), G);
  EXPECT_FALSE(il.Create(424242u, 2, 0, M)) << "unknown bitmap resource";
}

}  // namespace
