// Common controls of the MFC-shaped layer: CImageList, CHeaderCtrl,
// CListCtrl, CTreeCtrl and CTabCtrl.
#pragma once

#include "zrui/afx/cgdi.h"
#include "zrui/afx/cwnd.h"
#include "zrui/commctrl.h"

class CImageList {
 public:
  CImageList() = default;
  ~CImageList();
  CImageList(const CImageList&) = delete;
  CImageList& operator=(const CImageList&) = delete;
  HIMAGELIST m_hImageList = nullptr;
  operator HIMAGELIST() const { return m_hImageList; }
  HIMAGELIST GetSafeHandle() const { return m_hImageList; }
  static CImageList* FromHandle(HIMAGELIST h);
  BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
  // A strip of cx-wide images from a bitmap resource; `mask` is transparent.
  BOOL Create(UINT bitmapId, int cx, int grow, COLORREF mask);
  BOOL DeleteImageList();
  HIMAGELIST Detach();
  int Add(CBitmap* bitmap, COLORREF mask);
  int Add(CBitmap* bitmap, CBitmap* mask);
  int GetImageCount() const;
  BOOL Draw(CDC* dc, int image, POINT p, UINT style);
  BOOL Remove(int image);
  COLORREF SetBkColor(COLORREF c);

 private:
  bool m_owned = true;  // FromHandle wrappers do not own their list
};

class CHeaderCtrl : public CWnd {
 public:
  // A wrapper of a header window (the list view owns the window).
  static CHeaderCtrl* FromHandle(HWND h);
  int GetItemCount() const;
  BOOL GetItemRect(int index, LPRECT r) const;
};

class CListCtrl : public CWnd {
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int InsertColumn(int col, LPCTSTR heading, int format = LVCFMT_LEFT, int width = -1, int subItem = -1);
  int InsertColumn(int col, const LVCOLUMNW* column);
  BOOL DeleteColumn(int col);
  BOOL GetColumn(int col, LVCOLUMNW* column) const;
  int GetColumnWidth(int col) const;
  BOOL SetColumnWidth(int col, int width);
  CHeaderCtrl* GetHeaderCtrl() const;

  int InsertItem(int item, LPCTSTR text);
  int InsertItem(int item, LPCTSTR text, int image);
  int InsertItem(const LVITEMW* item);
  int InsertItem(UINT mask, int item, LPCTSTR text, UINT state, UINT stateMask, int image, LPARAM param);
  BOOL DeleteItem(int item);
  BOOL DeleteAllItems();
  int GetItemCount() const;
  BOOL SetItem(const LVITEMW* item);
  BOOL GetItem(LVITEMW* item) const;
  BOOL SetItemText(int item, int subItem, LPCTSTR text);
  CString GetItemText(int item, int subItem) const;
  BOOL SetItemData(int item, DWORD_PTR data);
  DWORD_PTR GetItemData(int item) const;
  BOOL SetItemState(int item, UINT state, UINT mask);
  UINT GetItemState(int item, UINT mask) const;
  int GetNextItem(int item, int flags) const;
  int GetSelectedCount() const;
  int GetSelectionMark() const;
  int SetSelectionMark(int item);
  int GetTopIndex() const;
  int GetCountPerPage() const;
  BOOL GetItemRect(int item, LPRECT r, UINT code) const;
  BOOL GetSubItemRect(int item, int subItem, int code, CRect& r) const;
  int HitTest(CPoint p, UINT* flags = nullptr) const;
  int HitTest(LVHITTESTINFO* info) const;
  int SubItemHitTest(LVHITTESTINFO* info) const;
  BOOL EnsureVisible(int item, BOOL partialOk);
  BOOL Scroll(CSize size);
  BOOL RedrawItems(int first, int last);
  CImageList* SetImageList(CImageList* list, int type);
  CImageList* GetImageList(int type) const;
  DWORD SetExtendedStyle(DWORD style);
  DWORD GetExtendedStyle() const;
  int FindItem(LVFINDINFOW* find, int start = -1) const;
  int GetHotItem() const;
};

class CTreeCtrl : public CWnd {
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  HTREEITEM InsertItem(const TVINSERTSTRUCTW* insert);
  HTREEITEM InsertItem(LPCTSTR text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
  HTREEITEM InsertItem(LPCTSTR text, int image, int selectedImage, HTREEITEM parent = TVI_ROOT,
                       HTREEITEM after = TVI_LAST);
  HTREEITEM InsertItem(UINT mask, LPCTSTR text, int image, int selectedImage, UINT state, UINT stateMask,
                       LPARAM param, HTREEITEM parent, HTREEITEM after);
  BOOL DeleteItem(HTREEITEM item);
  BOOL DeleteAllItems();
  BOOL Expand(HTREEITEM item, UINT code);
  HTREEITEM GetNextItem(HTREEITEM item, UINT code) const;
  HTREEITEM GetRootItem() const;
  HTREEITEM GetChildItem(HTREEITEM item) const;
  HTREEITEM GetNextSiblingItem(HTREEITEM item) const;
  HTREEITEM GetPrevSiblingItem(HTREEITEM item) const;
  HTREEITEM GetParentItem(HTREEITEM item) const;
  HTREEITEM GetSelectedItem() const;
  HTREEITEM GetFirstVisibleItem() const;
  HTREEITEM GetNextVisibleItem(HTREEITEM item) const;
  BOOL ItemHasChildren(HTREEITEM item) const;
  BOOL SelectItem(HTREEITEM item);
  BOOL Select(HTREEITEM item, UINT code);
  CString GetItemText(HTREEITEM item) const;
  BOOL SetItemText(HTREEITEM item, LPCTSTR text);
  DWORD_PTR GetItemData(HTREEITEM item) const;
  BOOL SetItemData(HTREEITEM item, DWORD_PTR data);
  BOOL GetItemImage(HTREEITEM item, int& image, int& selectedImage) const;
  BOOL SetItemImage(HTREEITEM item, int image, int selectedImage);
  UINT GetItemState(HTREEITEM item, UINT mask) const;
  BOOL SetItemState(HTREEITEM item, UINT state, UINT mask);
  BOOL GetItem(TVITEMW* item) const;
  BOOL SetItem(TVITEMW* item);
  UINT GetCount() const;
  BOOL GetItemRect(HTREEITEM item, LPRECT r, BOOL textOnly) const;
  HTREEITEM HitTest(CPoint p, UINT* flags = nullptr) const;
  BOOL EnsureVisible(HTREEITEM item);
  BOOL SortChildren(HTREEITEM item);
  CImageList* SetImageList(CImageList* list, int type);
  CImageList* GetImageList(int type) const;
};

class CTabCtrl : public CWnd {
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  LONG InsertItem(int item, LPCTSTR text);
  LONG InsertItem(int item, TCITEMW* tab);
  BOOL DeleteItem(int item);
  BOOL DeleteAllItems();
  int GetItemCount() const;
  int GetCurSel() const;
  int SetCurSel(int item);
  BOOL GetItem(int item, TCITEMW* tab) const;
  BOOL SetItem(int item, TCITEMW* tab);
  BOOL GetItemRect(int item, LPRECT r) const;
  void AdjustRect(BOOL larger, LPRECT r);
  int HitTest(TCHITTESTINFO* info) const;
};
