// CTreeCtrl: the tree view control.
#pragma once

#include "zrui/afx/cimagelist.h"
#include "zrui/afx/cwnd.h"
#include "zrui/commctrl.h"

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
