// GDI objects of the MFC-shaped layer: CGdiObject, CFont, CBrush, CBitmap.
// Objects created through these classes are deleted with them; FromHandle
// wrappers never own.
#pragma once

#include "zrui/afx/cstring.h"
#include "zrui/afx/types.h"
#include "zrui/gdi.h"

class CDC;

class CGdiObject {
 public:
  CGdiObject() = default;
  virtual ~CGdiObject();
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;
  HGDIOBJ m_hObject = nullptr;
  HGDIOBJ GetSafeHandle() const { return m_hObject; }
  operator HGDIOBJ() const { return m_hObject; }
  BOOL Attach(HGDIOBJ h);
  HGDIOBJ Detach();
  BOOL DeleteObject();
  int GetObject(int size, LPVOID out) const { return ::GetObjectW(m_hObject, size, out); }

 protected:
  bool m_owned = true;
  friend CGdiObject* AfxGdiWrapper(HGDIOBJ h, int kind);
};

class CFont : public CGdiObject {
 public:
  operator HFONT() const { return static_cast<HFONT>(m_hObject); }
  static CFont* FromHandle(HFONT h);
  BOOL CreateFontIndirect(const LOGFONT* lf);
  BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                  BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                  BYTE pitchAndFamily, LPCTSTR face);
  BOOL CreatePointFont(int pointSizeTenths, LPCTSTR face, CDC* dc = nullptr);
  int GetLogFont(LOGFONT* lf) const { return GetObject(sizeof(LOGFONT), lf); }
};

class CBrush : public CGdiObject {
 public:
  CBrush() = default;
  explicit CBrush(COLORREF c) { CreateSolidBrush(c); }
  operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
  static CBrush* FromHandle(HBRUSH h);
  BOOL CreateSolidBrush(COLORREF c);
  BOOL CreateSysColorBrush(int index);
};

class CBitmap : public CGdiObject {
 public:
  operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
  static CBitmap* FromHandle(HBITMAP h);
  BOOL LoadBitmap(UINT id);
  BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
  BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
  int GetBitmap(BITMAP* bm) const { return GetObject(sizeof(BITMAP), bm); }
  CSize GetBitmapDimension() const;
};
