// CComboBox: the combo box, with owner drawing through reflected messages.
#pragma once

#include "zrui/afx/cgdi.h"
#include "zrui/afx/cwnd.h"

class CComboBox : public CWnd {
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int AddString(LPCTSTR text);
  int InsertString(int index, LPCTSTR text);
  int DeleteString(UINT index);
  void ResetContent();
  int GetCount() const;
  int GetCurSel() const;
  int SetCurSel(int index);
  int GetLBText(int index, LPTSTR buf) const;
  void GetLBText(int index, CString& out) const;
  int GetLBTextLen(int index) const;
  DWORD_PTR GetItemData(int index) const;
  int SetItemData(int index, DWORD_PTR data);
  void* GetItemDataPtr(int index) const;
  int SetItemDataPtr(int index, void* data);
  int FindString(int startAfter, LPCTSTR text) const;
  int FindStringExact(int startAfter, LPCTSTR text) const;
  int SelectString(int startAfter, LPCTSTR text);
  void ShowDropDown(BOOL show = TRUE);
  BOOL GetDroppedState() const;
  BOOL LimitText(int maxChars);
  BOOL SetEditSel(int start, int end);
  DWORD GetEditSel() const;
  int SetItemHeight(int index, UINT height);
  int GetItemHeight(int index) const;
  int GetTopIndex() const;
  void GetDroppedControlRect(LPRECT r) const;
  void Clear();
  void Copy();
  void Cut();
  void Paste();

  // Owner drawing, called through the parent's reflected messages.
  virtual void DrawItem(LPDRAWITEMSTRUCT dis);
  virtual void MeasureItem(LPMEASUREITEMSTRUCT mis);
  virtual int CompareItem(LPCOMPAREITEMSTRUCT cis);
  virtual void DeleteItem(LPDELETEITEMSTRUCT dis);
  BOOL OnChildNotify(UINT msg, WPARAM w, LPARAM l, LRESULT* result) override;
};
