// CListCtrl: the list view control (report view).
#pragma once

#include "zrui/afx/cheaderctrl.h"
#include "zrui/afx/cimagelist.h"
#include "zrui/afx/cwnd.h"
#include "zrui/commctrl.h"

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
