// CTabCtrl: the tab control.
#pragma once

#include "zrui/afx/cwnd.h"
#include "zrui/commctrl.h"

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
