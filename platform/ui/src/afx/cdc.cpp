#include "zrui/afx/cdc.h"

#include "afx/handle_wrappers.h"
#include "zrui/afx/cwnd.h"

CDC* AfxDcWrapper(HDC h) {
  CDC* dc = Wrapper<CDC>(h);
  if (dc) {
    dc->m_hDC = h;
    dc->m_owned = false;
  }
  return dc;
}

CDC::~CDC() {
  if (m_owned) DeleteDC();
}
CDC* CDC::FromHandle(HDC h) { return AfxDcWrapper(h); }
BOOL CDC::Attach(HDC h) {
  if (!h || m_hDC) return FALSE;
  m_hDC = h;
  return TRUE;
}
HDC CDC::Detach() {
  HDC h = m_hDC;
  m_hDC = nullptr;
  m_owned = false;
  return h;
}
BOOL CDC::CreateCompatibleDC(CDC* dc) {
  if (m_hDC) return FALSE;
  m_hDC = ::CreateCompatibleDC(dc ? dc->m_hDC : nullptr);
  m_owned = m_hDC != nullptr;
  return m_owned;
}
BOOL CDC::DeleteDC() {
  if (!m_hDC) return FALSE;
  return ::DeleteDC(Detach());
}
CFont* CDC::SelectObject(CFont* font) {
  HGDIOBJ old = ::SelectObject(m_hDC, font ? font->m_hObject : nullptr);
  return CFont::FromHandle(static_cast<HFONT>(old));
}
CBrush* CDC::SelectObject(CBrush* brush) {
  HGDIOBJ old = ::SelectObject(m_hDC, brush ? brush->m_hObject : nullptr);
  return CBrush::FromHandle(static_cast<HBRUSH>(old));
}
CBitmap* CDC::SelectObject(CBitmap* bitmap) {
  HGDIOBJ old = ::SelectObject(m_hDC, bitmap ? bitmap->m_hObject : nullptr);
  return CBitmap::FromHandle(static_cast<HBITMAP>(old));
}
CGdiObject* CDC::SelectStockObject(int index) {
  HGDIOBJ obj = ::GetStockObject(index);
  HGDIOBJ old = ::SelectObject(m_hDC, obj);
  int kind = (index == SYSTEM_FONT || index == DEFAULT_GUI_FONT) ? 0 : 1;
  return AfxGdiWrapper(old, kind);
}
CFont* CDC::GetCurrentFont() const { return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT))); }
CPoint CDC::SetViewportOrg(int x, int y) {
  POINT old{};
  ::SetViewportOrgEx(m_hDC, x, y, &old);
  return CPoint(old);
}
CPoint CDC::GetViewportOrg() const {
  POINT p{};
  ::GetViewportOrgEx(m_hDC, &p);
  return CPoint(p);
}
CSize CDC::GetTextExtent(const CString& text) const { return GetTextExtent(text, text.GetLength()); }
CSize CDC::GetTextExtent(LPCTSTR text, int count) const {
  SIZE s{};
  ::GetTextExtentPoint32W(m_hDC, text, count, &s);
  return CSize(s);
}
void CDC::FillSolidRect(LPCRECT r, COLORREF c) {
  ::SetBkColor(m_hDC, c);
  ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, r, nullptr, 0, nullptr);
}
void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF c) {
  RECT r{x, y, x + cx, y + cy};
  FillSolidRect(&r, c);
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd->m_hWnd) { Attach(::BeginPaint(m_hWnd, &m_ps)); }
CPaintDC::~CPaintDC() {
  ::EndPaint(m_hWnd, &m_ps);
  Detach();
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) { Attach(::GetDC(m_hWnd)); }
CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }
