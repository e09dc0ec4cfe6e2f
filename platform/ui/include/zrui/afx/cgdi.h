// GDI objects and device contexts of the MFC-shaped layer: CFont, CBrush,
// CBitmap, CDC (with CPaintDC and CClientDC). Objects created through these
// classes are deleted with them; FromHandle wrappers never own.
#pragma once

#include "zrui/afx/cstring.h"
#include "zrui/afx/types.h"
#include "zrui/gdi.h"

class CWnd;
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

class CDC {
 public:
  CDC() = default;
  virtual ~CDC();
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;
  HDC m_hDC = nullptr;
  HDC GetSafeHdc() const { return m_hDC; }
  operator HDC() const { return m_hDC; }
  static CDC* FromHandle(HDC h);
  BOOL Attach(HDC h);
  HDC Detach();
  BOOL CreateCompatibleDC(CDC* dc);
  BOOL DeleteDC();

  CFont* SelectObject(CFont* font);
  CBrush* SelectObject(CBrush* brush);
  CBitmap* SelectObject(CBitmap* bitmap);
  HGDIOBJ SelectObject(HGDIOBJ obj) { return ::SelectObject(m_hDC, obj); }
  CGdiObject* SelectStockObject(int index);
  CFont* GetCurrentFont() const;
  COLORREF SetTextColor(COLORREF c) { return ::SetTextColor(m_hDC, c); }
  COLORREF GetTextColor() const { return ::GetTextColor(m_hDC); }
  COLORREF SetBkColor(COLORREF c) { return ::SetBkColor(m_hDC, c); }
  COLORREF GetBkColor() const { return ::GetBkColor(m_hDC); }
  int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
  int GetBkMode() const { return ::GetBkMode(m_hDC); }
  int SaveDC() { return ::SaveDC(m_hDC); }
  BOOL RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }
  CPoint SetViewportOrg(int x, int y);
  CPoint GetViewportOrg() const;

  BOOL TextOut(int x, int y, LPCTSTR text, int count) { return ::TextOutW(m_hDC, x, y, text, count); }
  BOOL TextOut(int x, int y, const CString& text) { return ::TextOutW(m_hDC, x, y, text, text.GetLength()); }
  BOOL ExtTextOut(int x, int y, UINT options, LPCRECT r, const CString& text, const int* dx = nullptr) {
    return ::ExtTextOutW(m_hDC, x, y, options, r, text, static_cast<UINT>(text.GetLength()), dx);
  }
  int DrawText(const CString& text, LPRECT r, UINT format) { return ::DrawTextW(m_hDC, text, text.GetLength(), r, format); }
  int DrawText(LPCTSTR text, int count, LPRECT r, UINT format) { return ::DrawTextW(m_hDC, text, count, r, format); }
  CSize GetTextExtent(const CString& text) const;
  CSize GetTextExtent(LPCTSTR text, int count) const;
  BOOL GetTextMetrics(TEXTMETRICW* tm) const { return ::GetTextMetricsW(m_hDC, tm); }
  void FillRect(LPCRECT r, CBrush* brush) { ::FillRect(m_hDC, r, brush ? static_cast<HBRUSH>(*brush) : nullptr); }
  // Fills with a colour through the background colour, which it changes (as MFC does).
  void FillSolidRect(LPCRECT r, COLORREF c);
  void FillSolidRect(int x, int y, int cx, int cy, COLORREF c);
  void FrameRect(LPCRECT r, CBrush* brush) { ::FrameRect(m_hDC, r, brush ? static_cast<HBRUSH>(*brush) : nullptr); }
  void DrawFocusRect(LPCRECT r) { ::DrawFocusRect(m_hDC, r); }
  COLORREF SetPixel(int x, int y, COLORREF c) { return ::SetPixel(m_hDC, x, y, c); }
  COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
  BOOL BitBlt(int x, int y, int cx, int cy, CDC* src, int sx, int sy, DWORD rop) {
    return ::BitBlt(m_hDC, x, y, cx, cy, src ? src->m_hDC : nullptr, sx, sy, rop);
  }
  int IntersectClipRect(LPCRECT r) { return ::IntersectClipRect(m_hDC, r->left, r->top, r->right, r->bottom); }

 protected:
  bool m_owned = false;  // created here (CreateCompatibleDC): deleted with the object
  friend CDC* AfxDcWrapper(HDC h);
};

class CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* wnd);
  ~CPaintDC() override;
  PAINTSTRUCT m_ps;

 private:
  HWND m_hWnd;
};

class CClientDC : public CDC {
 public:
  explicit CClientDC(CWnd* wnd);
  ~CClientDC() override;

 private:
  HWND m_hWnd;
};
