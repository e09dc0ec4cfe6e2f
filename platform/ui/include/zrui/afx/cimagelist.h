// CImageList: an image list wrapper; lists made here are destroyed with the
// object, FromHandle wrappers never own.
#pragma once

#include "zrui/afx/cgdi.h"
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
