#include "zrui/afx/cgdiobject.h"

#include "afx/handle_wrappers.h"
#include "zrui/afx/cdc.h"

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
