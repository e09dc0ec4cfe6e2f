// CHeaderCtrl: a wrapper of a list view's header window.
#pragma once

#include "zrui/afx/cwnd.h"
#include "zrui/commctrl.h"

class CHeaderCtrl : public CWnd {
 public:
  // A wrapper of a header window (the list view owns the window).
  static CHeaderCtrl* FromHandle(HWND h);
  int GetItemCount() const;
  BOOL GetItemRect(int index, LPRECT r) const;
};
