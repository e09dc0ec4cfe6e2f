// CStatic: labels, frames and pictures. Adds no data to CWnd.
#pragma once

#include "zrui/afx/cgdi.h"
#include "zrui/afx/cwnd.h"

class CStatic : public CWnd {
 public:
  BOOL Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
  HBITMAP SetBitmap(HBITMAP bitmap);
  HBITMAP GetBitmap() const;
};
