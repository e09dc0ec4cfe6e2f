// CBitmapButton: an owner-drawn button showing bitmaps.
#pragma once

#include "zrui/afx/cbutton.h"
#include "zrui/afx/cgdi.h"

// An owner-drawn button showing one of up to four bitmaps: normal, selected
// (pressed), focused and disabled. Without bitmaps it shows its caption.
class CBitmapButton : public CButton {
 public:
  BOOL LoadBitmaps(UINT normal, UINT selected = 0, UINT focused = 0, UINT disabled = 0);
  BOOL AutoLoad(UINT id, CWnd* parent);
  void SizeToContent();
  void DrawItem(LPDRAWITEMSTRUCT dis) override;

  CBitmap m_bitmap;
  CBitmap m_bitmapSel;
  CBitmap m_bitmapFocus;
  CBitmap m_bitmapDisabled;
};
