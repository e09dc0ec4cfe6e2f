#include "zrui/afx/ctreectrl.h"

#include "afx/msg_args.h"

using afx_detail::P;
using afx_detail::W;

namespace {
LPARAM T(HTREEITEM h) { return reinterpret_cast<LPARAM>(h); }
HTREEITEM H(LRESULT r) { return reinterpret_cast<HTREEITEM>(r); }
}  // namespace

BOOL CTreeCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create(WC_TREEVIEWW, u"", style, rect, parent, id);
}
HTREEITEM CTreeCtrl::InsertItem(const TVINSERTSTRUCTW* insert) { return H(SendMessage(TVM_INSERTITEMW, 0, P(insert))); }
HTREEITEM CTreeCtrl::InsertItem(LPCTSTR text, HTREEITEM parent, HTREEITEM after) {
  return InsertItem(TVIF_TEXT, text, 0, 0, 0, 0, 0, parent, after);
}
HTREEITEM CTreeCtrl::InsertItem(LPCTSTR text, int image, int selectedImage, HTREEITEM parent, HTREEITEM after) {
  return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, text, image, selectedImage, 0, 0, 0, parent, after);
}
HTREEITEM CTreeCtrl::InsertItem(UINT mask, LPCTSTR text, int image, int selectedImage, UINT state, UINT stateMask,
                                LPARAM param, HTREEITEM parent, HTREEITEM after) {
  TVINSERTSTRUCTW ins;
  ins.hParent = parent;
  ins.hInsertAfter = after;
  ins.item.mask = mask;
  ins.item.pszText = const_cast<LPWSTR>(text);
  ins.item.iImage = image;
  ins.item.iSelectedImage = selectedImage;
  ins.item.state = state;
  ins.item.stateMask = stateMask;
  ins.item.lParam = param;
  return InsertItem(&ins);
}
BOOL CTreeCtrl::DeleteItem(HTREEITEM item) { return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, T(item))); }
BOOL CTreeCtrl::DeleteAllItems() { return DeleteItem(TVI_ROOT); }
BOOL CTreeCtrl::Expand(HTREEITEM item, UINT code) { return static_cast<BOOL>(SendMessage(TVM_EXPAND, code, T(item))); }
HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM item, UINT code) const { return H(SendMessage(TVM_GETNEXTITEM, code, T(item))); }
HTREEITEM CTreeCtrl::GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
HTREEITEM CTreeCtrl::GetPrevSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PREVIOUS); }
HTREEITEM CTreeCtrl::GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
HTREEITEM CTreeCtrl::GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
HTREEITEM CTreeCtrl::GetFirstVisibleItem() const { return GetNextItem(nullptr, TVGN_FIRSTVISIBLE); }
HTREEITEM CTreeCtrl::GetNextVisibleItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXTVISIBLE); }
BOOL CTreeCtrl::ItemHasChildren(HTREEITEM item) const {
  TVITEMW it;
  it.mask = TVIF_CHILDREN;
  it.hItem = item;
  return GetItem(&it) && it.cChildren != 0;
}
BOOL CTreeCtrl::SelectItem(HTREEITEM item) { return Select(item, TVGN_CARET); }
BOOL CTreeCtrl::Select(HTREEITEM item, UINT code) { return static_cast<BOOL>(SendMessage(TVM_SELECTITEM, code, T(item))); }
CString CTreeCtrl::GetItemText(HTREEITEM item) const {
  std::u16string buf(1024, u'\0');
  TVITEMW it;
  it.mask = TVIF_TEXT;
  it.hItem = item;
  it.pszText = buf.data();
  it.cchTextMax = static_cast<int>(buf.size());
  if (!GetItem(&it)) return CString();
  return CString(buf.c_str());
}
BOOL CTreeCtrl::SetItemText(HTREEITEM item, LPCTSTR text) {
  TVITEMW it;
  it.mask = TVIF_TEXT;
  it.hItem = item;
  it.pszText = const_cast<LPWSTR>(text);
  return SetItem(&it);
}
DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM item) const {
  TVITEMW it;
  it.mask = TVIF_PARAM;
  it.hItem = item;
  return GetItem(&it) ? static_cast<DWORD_PTR>(it.lParam) : 0;
}
BOOL CTreeCtrl::SetItemData(HTREEITEM item, DWORD_PTR data) {
  TVITEMW it;
  it.mask = TVIF_PARAM;
  it.hItem = item;
  it.lParam = static_cast<LPARAM>(data);
  return SetItem(&it);
}
BOOL CTreeCtrl::GetItemImage(HTREEITEM item, int& image, int& selectedImage) const {
  TVITEMW it;
  it.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  it.hItem = item;
  if (!GetItem(&it)) return FALSE;
  image = it.iImage;
  selectedImage = it.iSelectedImage;
  return TRUE;
}
BOOL CTreeCtrl::SetItemImage(HTREEITEM item, int image, int selectedImage) {
  TVITEMW it;
  it.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  it.hItem = item;
  it.iImage = image;
  it.iSelectedImage = selectedImage;
  return SetItem(&it);
}
UINT CTreeCtrl::GetItemState(HTREEITEM item, UINT mask) const {
  return static_cast<UINT>(SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), mask));
}
BOOL CTreeCtrl::SetItemState(HTREEITEM item, UINT state, UINT mask) {
  TVITEMW it;
  it.mask = TVIF_STATE;
  it.hItem = item;
  it.state = state;
  it.stateMask = mask;
  return SetItem(&it);
}
BOOL CTreeCtrl::GetItem(TVITEMW* item) const { return static_cast<BOOL>(SendMessage(TVM_GETITEMW, 0, P(item))); }
BOOL CTreeCtrl::SetItem(TVITEMW* item) { return static_cast<BOOL>(SendMessage(TVM_SETITEMW, 0, P(item))); }
UINT CTreeCtrl::GetCount() const { return static_cast<UINT>(SendMessage(TVM_GETCOUNT)); }
BOOL CTreeCtrl::GetItemRect(HTREEITEM item, LPRECT r, BOOL textOnly) const {
  if (!r) return FALSE;
  *reinterpret_cast<HTREEITEM*>(r) = item;
  return static_cast<BOOL>(SendMessage(TVM_GETITEMRECT, textOnly, P(r)));
}
HTREEITEM CTreeCtrl::HitTest(CPoint p, UINT* flags) const {
  TVHITTESTINFO info;
  info.pt = p;
  HTREEITEM r = H(SendMessage(TVM_HITTEST, 0, P(&info)));
  if (flags) *flags = info.flags;
  return r;
}
BOOL CTreeCtrl::EnsureVisible(HTREEITEM item) { return static_cast<BOOL>(SendMessage(TVM_ENSUREVISIBLE, 0, T(item))); }
BOOL CTreeCtrl::SortChildren(HTREEITEM item) { return static_cast<BOOL>(SendMessage(TVM_SORTCHILDREN, 0, T(item))); }
CImageList* CTreeCtrl::SetImageList(CImageList* list, int type) {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(
      SendMessage(TVM_SETIMAGELIST, W(type), reinterpret_cast<LPARAM>(list ? list->m_hImageList : nullptr))));
}
CImageList* CTreeCtrl::GetImageList(int type) const {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(TVM_GETIMAGELIST, W(type))));
}
