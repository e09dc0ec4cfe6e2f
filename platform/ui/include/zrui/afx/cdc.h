// Device contexts of the MFC-shaped layer: CDC, CPaintDC, CClientDC.
#pragma once

#include "zrui/afx/cgdiobject.h"
#include "zrui/afx/cstring.h"
#include "zrui/afx/types.h"
#include "zrui/gdi.h"

class CWnd;

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
