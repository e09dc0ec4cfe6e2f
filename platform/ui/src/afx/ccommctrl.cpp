// CImageList, CHeaderCtrl, CListCtrl, CTreeCtrl, CTabCtrl.
#include "zrui/afx/ccommctrl.h"

#include <memory>
#include <unordered_map>

// ---- CImageList ----
CImageList::~CImageList() {
  if (m_owned) DeleteImageList();
}
CImageList* CImageList::FromHandle(HIMAGELIST h) {
  if (!h) return nullptr;
  thread_local std::unordered_map<HIMAGELIST, std::unique_ptr<CImageList>> wrappers;
  auto& w = wrappers[h];
  if (!w) w = std::make_unique<CImageList>();
  w->m_hImageList = h;
  w->m_owned = false;
  return w.get();
}
BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow) {
  if (m_owned) DeleteImageList();
  m_owned = true;
  m_hImageList = ImageList_Create(cx, cy, flags, initial, grow);
  return m_hImageList != nullptr;
}
BOOL CImageList::Create(UINT bitmapId, int cx, int grow, COLORREF mask) {
  CBitmap strip;
  if (!strip.LoadBitmap(bitmapId)) return FALSE;
  BITMAP bm;
  strip.GetBitmap(&bm);
  if (!Create(cx, bm.bmHeight, ILC_COLOR32 | ILC_MASK, 0, grow)) return FALSE;
  return Add(&strip, mask) >= 0;
}
BOOL CImageList::DeleteImageList() {
  if (!m_hImageList) return FALSE;
  // Wrappers made by FromHandle never own their list.
  return ImageList_Destroy(Detach());
}
HIMAGELIST CImageList::Detach() { return std::exchange(m_hImageList, nullptr); }
int CImageList::Add(CBitmap* bitmap, COLORREF mask) { return bitmap ? ImageList_AddMasked(m_hImageList, *bitmap, mask) : -1; }
int CImageList::Add(CBitmap* bitmap, CBitmap* mask) {
  return bitmap ? ImageList_Add(m_hImageList, *bitmap, mask ? static_cast<HBITMAP>(*mask) : nullptr) : -1;
}
int CImageList::GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
BOOL CImageList::Draw(CDC* dc, int image, POINT p, UINT style) {
  return dc ? ImageList_Draw(m_hImageList, image, dc->m_hDC, p.x, p.y, style) : FALSE;
}
BOOL CImageList::Remove(int image) { return ImageList_Remove(m_hImageList, image); }
COLORREF CImageList::SetBkColor(COLORREF c) { return ImageList_SetBkColor(m_hImageList, c); }

// ---- CHeaderCtrl ----
CHeaderCtrl* CHeaderCtrl::FromHandle(HWND h) {
  if (!h) return nullptr;
  thread_local std::unordered_map<HWND, std::unique_ptr<CHeaderCtrl>> wrappers;
  auto& w = wrappers[h];
  if (!w) {
    w = std::make_unique<CHeaderCtrl>();
    w->m_hWnd = h;
    w->m_temporary = true;
  }
  return w.get();
}
int CHeaderCtrl::GetItemCount() const { return static_cast<int>(SendMessage(HDM_GETITEMCOUNT)); }
BOOL CHeaderCtrl::GetItemRect(int index, LPRECT r) const {
  return static_cast<BOOL>(SendMessage(HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(r)));
}

// ---- CListCtrl ----
namespace {
template <typename T>
LPARAM P(T* p) { return reinterpret_cast<LPARAM>(p); }
WPARAM W(int i) { return static_cast<WPARAM>(i); }
}  // namespace

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

// ---- CTreeCtrl ----
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

// ---- CTabCtrl ----
BOOL CTabCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create(WC_TABCONTROLW, u"", style, rect, parent, id);
}
LONG CTabCtrl::InsertItem(int item, LPCTSTR text) {
  TCITEMW t;
  t.mask = TCIF_TEXT;
  t.pszText = const_cast<LPWSTR>(text);
  return InsertItem(item, &t);
}
LONG CTabCtrl::InsertItem(int item, TCITEMW* tab) { return static_cast<LONG>(SendMessage(TCM_INSERTITEMW, W(item), P(tab))); }
BOOL CTabCtrl::DeleteItem(int item) { return static_cast<BOOL>(SendMessage(TCM_DELETEITEM, W(item))); }
BOOL CTabCtrl::DeleteAllItems() { return static_cast<BOOL>(SendMessage(TCM_DELETEALLITEMS)); }
int CTabCtrl::GetItemCount() const { return static_cast<int>(SendMessage(TCM_GETITEMCOUNT)); }
int CTabCtrl::GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }
int CTabCtrl::SetCurSel(int item) { return static_cast<int>(SendMessage(TCM_SETCURSEL, W(item))); }
BOOL CTabCtrl::GetItem(int item, TCITEMW* tab) const { return static_cast<BOOL>(SendMessage(TCM_GETITEMW, W(item), P(tab))); }
BOOL CTabCtrl::SetItem(int item, TCITEMW* tab) { return static_cast<BOOL>(SendMessage(TCM_SETITEMW, W(item), P(tab))); }
BOOL CTabCtrl::GetItemRect(int item, LPRECT r) const { return static_cast<BOOL>(SendMessage(TCM_GETITEMRECT, W(item), P(r))); }
void CTabCtrl::AdjustRect(BOOL larger, LPRECT r) { SendMessage(TCM_ADJUSTRECT, static_cast<WPARAM>(larger), P(r)); }
int CTabCtrl::HitTest(TCHITTESTINFO* info) const { return static_cast<int>(SendMessage(TCM_HITTEST, 0, P(info))); }
