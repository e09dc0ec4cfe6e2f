#include "zrui/afx/clistctrl.h"

#include "afx/msg_args.h"

using afx_detail::P;
using afx_detail::W;

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create(WC_LISTVIEWW, u"", style, rect, parent, id);
}
int CListCtrl::InsertColumn(int col, LPCTSTR heading, int format, int width, int subItem) {
  LVCOLUMNW c;
  c.mask = LVCF_TEXT | LVCF_FMT;
  c.pszText = const_cast<LPWSTR>(heading);
  c.fmt = format;
  if (width >= 0) c.mask |= LVCF_WIDTH, c.cx = width;
  if (subItem >= 0) c.mask |= LVCF_SUBITEM, c.iSubItem = subItem;
  return InsertColumn(col, &c);
}
int CListCtrl::InsertColumn(int col, const LVCOLUMNW* column) { return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, W(col), P(column))); }
BOOL CListCtrl::DeleteColumn(int col) { return static_cast<BOOL>(SendMessage(LVM_DELETECOLUMN, W(col))); }
BOOL CListCtrl::GetColumn(int col, LVCOLUMNW* column) const { return static_cast<BOOL>(SendMessage(LVM_GETCOLUMNW, W(col), P(column))); }
int CListCtrl::GetColumnWidth(int col) const { return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, W(col))); }
BOOL CListCtrl::SetColumnWidth(int col, int width) {
  return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNWIDTH, W(col), MAKELPARAM(static_cast<WORD>(width), 0)));
}
CHeaderCtrl* CListCtrl::GetHeaderCtrl() const {
  return CHeaderCtrl::FromHandle(reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER)));
}
int CListCtrl::InsertItem(int item, LPCTSTR text) { return InsertItem(LVIF_TEXT, item, text, 0, 0, 0, 0); }
int CListCtrl::InsertItem(int item, LPCTSTR text, int image) { return InsertItem(LVIF_TEXT | LVIF_IMAGE, item, text, 0, 0, image, 0); }
int CListCtrl::InsertItem(const LVITEMW* item) { return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, P(item))); }
int CListCtrl::InsertItem(UINT mask, int item, LPCTSTR text, UINT state, UINT stateMask, int image, LPARAM param) {
  LVITEMW it;
  it.mask = mask;
  it.iItem = item;
  it.pszText = const_cast<LPWSTR>(text);
  it.state = state;
  it.stateMask = stateMask;
  it.iImage = image;
  it.lParam = param;
  return InsertItem(&it);
}
BOOL CListCtrl::DeleteItem(int item) { return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, W(item))); }
BOOL CListCtrl::DeleteAllItems() { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
int CListCtrl::GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
BOOL CListCtrl::SetItem(const LVITEMW* item) { return static_cast<BOOL>(SendMessage(LVM_SETITEMW, 0, P(item))); }
BOOL CListCtrl::GetItem(LVITEMW* item) const { return static_cast<BOOL>(SendMessage(LVM_GETITEMW, 0, P(item))); }
BOOL CListCtrl::SetItemText(int item, int subItem, LPCTSTR text) {
  LVITEMW it;
  it.iSubItem = subItem;
  it.pszText = const_cast<LPWSTR>(text);
  return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTW, W(item), P(&it)));
}
CString CListCtrl::GetItemText(int item, int subItem) const {
  std::u16string buf(1024, u'\0');
  LVITEMW it;
  it.iSubItem = subItem;
  it.pszText = buf.data();
  it.cchTextMax = static_cast<int>(buf.size());
  LRESULT n = SendMessage(LVM_GETITEMTEXTW, W(item), P(&it));
  buf.resize(static_cast<size_t>(std::max<LRESULT>(n, 0)));
  return CString(buf);
}
BOOL CListCtrl::SetItemData(int item, DWORD_PTR data) {
  LVITEMW it;
  it.mask = LVIF_PARAM;
  it.iItem = item;
  it.lParam = static_cast<LPARAM>(data);
  return SetItem(&it);
}
DWORD_PTR CListCtrl::GetItemData(int item) const {
  LVITEMW it;
  it.mask = LVIF_PARAM;
  it.iItem = item;
  return GetItem(&it) ? static_cast<DWORD_PTR>(it.lParam) : 0;
}
BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask) {
  LVITEMW it;
  it.state = state;
  it.stateMask = mask;
  return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, W(item), P(&it)));
}
UINT CListCtrl::GetItemState(int item, UINT mask) const { return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, W(item), mask)); }
int CListCtrl::GetNextItem(int item, int flags) const { return static_cast<int>(SendMessage(LVM_GETNEXTITEM, W(item), flags)); }
int CListCtrl::GetSelectedCount() const { return static_cast<int>(SendMessage(LVM_GETSELECTEDCOUNT)); }
int CListCtrl::GetSelectionMark() const { return static_cast<int>(SendMessage(LVM_GETSELECTIONMARK)); }
int CListCtrl::SetSelectionMark(int item) { return static_cast<int>(SendMessage(LVM_SETSELECTIONMARK, 0, item)); }
int CListCtrl::GetTopIndex() const { return static_cast<int>(SendMessage(LVM_GETTOPINDEX)); }
int CListCtrl::GetCountPerPage() const { return static_cast<int>(SendMessage(LVM_GETCOUNTPERPAGE)); }
BOOL CListCtrl::GetItemRect(int item, LPRECT r, UINT code) const {
  if (!r) return FALSE;
  r->left = static_cast<LONG>(code);
  return static_cast<BOOL>(SendMessage(LVM_GETITEMRECT, W(item), P(r)));
}
BOOL CListCtrl::GetSubItemRect(int item, int subItem, int code, CRect& r) const {
  r.top = subItem;
  r.left = code;
  return static_cast<BOOL>(SendMessage(LVM_GETSUBITEMRECT, W(item), P(static_cast<RECT*>(&r))));
}
int CListCtrl::HitTest(CPoint p, UINT* flags) const {
  LVHITTESTINFO info;
  info.pt = p;
  int r = HitTest(&info);
  if (flags) *flags = info.flags;
  return r;
}
int CListCtrl::HitTest(LVHITTESTINFO* info) const { return static_cast<int>(SendMessage(LVM_HITTEST, 0, P(info))); }
int CListCtrl::SubItemHitTest(LVHITTESTINFO* info) const { return static_cast<int>(SendMessage(LVM_SUBITEMHITTEST, 0, P(info))); }
BOOL CListCtrl::EnsureVisible(int item, BOOL partialOk) { return static_cast<BOOL>(SendMessage(LVM_ENSUREVISIBLE, W(item), partialOk)); }
BOOL CListCtrl::Scroll(CSize size) { return static_cast<BOOL>(SendMessage(LVM_SCROLL, W(size.cx), size.cy)); }
BOOL CListCtrl::RedrawItems(int first, int last) { return static_cast<BOOL>(SendMessage(LVM_REDRAWITEMS, W(first), last)); }
CImageList* CListCtrl::SetImageList(CImageList* list, int type) {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(
      SendMessage(LVM_SETIMAGELIST, W(type), reinterpret_cast<LPARAM>(list ? list->m_hImageList : nullptr))));
}
CImageList* CListCtrl::GetImageList(int type) const {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, W(type))));
}
DWORD CListCtrl::SetExtendedStyle(DWORD style) { return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style)); }
DWORD CListCtrl::GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
int CListCtrl::FindItem(LVFINDINFOW* find, int start) const { return static_cast<int>(SendMessage(LVM_FINDITEMW, W(start), P(find))); }
int CListCtrl::GetHotItem() const { return static_cast<int>(SendMessage(LVM_GETHOTITEM)); }
