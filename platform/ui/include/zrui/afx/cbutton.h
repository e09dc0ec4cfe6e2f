// CButton: push buttons, check boxes, radio buttons and group boxes. Adds no
// data to CWnd, so a CWnd* of a button may be cast.
#pragma once

#include "zrui/afx/cgdi.h"
#include "zrui/afx/cwnd.h"

class CButton : public CWnd {
 public:
  BOOL Create(LPCTSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int GetCheck() const;
  void SetCheck(int check);
  UINT GetState() const;
  void SetState(BOOL highlight);
  UINT GetButtonStyle() const;
  void SetButtonStyle(UINT style, BOOL redraw = TRUE);
  HBITMAP SetBitmap(HBITMAP bitmap);
  HBITMAP GetBitmap() const;
  // Owner-drawn buttons (BS_OWNERDRAW) draw here.
  virtual void DrawItem(LPDRAWITEMSTRUCT dis);
  BOOL OnChildNotify(UINT msg, WPARAM w, LPARAM l, LRESULT* result) override;
};
