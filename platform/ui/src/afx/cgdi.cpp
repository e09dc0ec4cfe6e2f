// CGdiObject, CFont, CBrush, CBitmap and the device context classes.
#include "zrui/afx/cgdi.h"

#include <memory>
#include <unordered_map>

#include "zrui/afx/cwnd.h"

namespace {

// Temporary wrappers of handles, per thread; they never own the handle.
template <typename T>
T* Wrapper(const void* h) {
  if (!h) return nullptr;
  thread_local std::unordered_map<const void*, std::unique_ptr<T>> wrappers;
  auto& w = wrappers[h];
  if (!w) w = std::make_unique<T>();
  return w.get();
}

}  // namespace

CGdiObject* AfxGdiWrapper(HGDIOBJ h, int kind) {
  CGdiObject* o = nullptr;
  if (kind == 0) o = Wrapper<CFont>(h);
  else if (kind == 1) o = Wrapper<CBrush>(h);
  else o = Wrapper<CBitmap>(h);
  if (o) {
    o->m_hObject = h;
    o->m_owned = false;
  }
  return o;
}

CDC* AfxDcWrapper(HDC h) {
  CDC* dc = Wrapper<CDC>(h);
  if (dc) {
    dc->m_hDC = h;
    dc->m_owned = false;
  }
  return dc;
}

CGdiObject::~CGdiObject() {
  if (m_owned) DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ h) {
  if (!h || m_hObject) return FALSE;
  m_hObject = h;
  m_owned = true;
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  HGDIOBJ h = m_hObject;
  m_hObject = nullptr;
  return h;
}

BOOL CGdiObject::DeleteObject() {
  if (!m_hObject) return FALSE;
  BOOL ok = ::DeleteObject(Detach());
  return ok;
}

CFont* CFont::FromHandle(HFONT h) { return static_cast<CFont*>(AfxGdiWrapper(h, 0)); }
BOOL CFont::CreateFontIndirect(const LOGFONT* lf) { return Attach(::CreateFontIndirectW(lf)); }
BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                       BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                       BYTE quality, BYTE pitchAndFamily, LPCTSTR face) {
  return Attach(::CreateFontW(height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet,
                              outPrecision, clipPrecision, quality, pitchAndFamily, face));
}
BOOL CFont::CreatePointFont(int pointSizeTenths, LPCTSTR face, CDC*) {
  LOGFONT lf;
  lf.lfHeight = -MulDiv(pointSizeTenths, kCharHeight, 80);
  for (int i = 0; face && face[i] && i < 31; ++i) lf.lfFaceName[i] = face[i];
  return CreateFontIndirect(&lf);
}

CBrush* CBrush::FromHandle(HBRUSH h) { return static_cast<CBrush*>(AfxGdiWrapper(h, 1)); }
BOOL CBrush::CreateSolidBrush(COLORREF c) { return Attach(::CreateSolidBrush(c)); }
BOOL CBrush::CreateSysColorBrush(int index) { return Attach(::CreateSolidBrush(::GetSysColor(index))); }

CBitmap* CBitmap::FromHandle(HBITMAP h) { return static_cast<CBitmap*>(AfxGdiWrapper(h, 2)); }
BOOL CBitmap::LoadBitmap(UINT id) { return Attach(::LoadBitmapW(nullptr, MAKEINTRESOURCEW(id))); }
BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
}
BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
  return Attach(::CreateCompatibleBitmap(dc ? dc->m_hDC : nullptr, width, height));
}
CSize CBitmap::GetBitmapDimension() const {
  BITMAP bm;
  if (!GetBitmap(&bm)) return CSize();
  return CSize(bm.bmWidth, bm.bmHeight);
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
