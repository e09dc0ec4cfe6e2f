#pragma once
// CMultiTree: the tree view with the module's own mouse and focus handling.
// Its multi-selection mode is switched on here and off again by CITreeCtrl,
// so every tree of the module runs with single selection: a left click takes
// the keyboard focus and then selects through the control's own button-down
// processing; the button-up that follows is consumed.

#include "zrui/afx.h"

class CMultiTree : public CTreeCtrl {
 public:
  CMultiTree();
  ~CMultiTree() override;

  // Makes item the selected (caret) item.
  BOOL SelectItem(HTREEITEM item) { return CTreeCtrl::SelectItem(item); }
  // 1 while the multi-selection mode is on (only between the two constructors).
  int GetMultiSelect() const { return m_bMulti; }

 protected:
  afx_msg void OnLButtonDown(UINT flags, CPoint p);
  afx_msg void OnRButtonDown(UINT flags, CPoint p);
  afx_msg void OnLButtonUp(UINT flags, CPoint p);
  afx_msg void OnKeyDown(UINT vk, UINT repeat, UINT flags);
  afx_msg void OnSetFocus(CWnd* oldWnd);
  afx_msg void OnKillFocus(CWnd* newWnd);
  afx_msg BOOL OnItemExpanding(NMHDR* hdr, LRESULT* result);

  int m_bMulti;

  DECLARE_MESSAGE_MAP()
};
