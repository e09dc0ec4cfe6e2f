#include "zrui/afx/cbitmapbutton.h"

BOOL CBitmapButton::LoadBitmaps(UINT normal, UINT selected, UINT focused, UINT disabled) {
  m_bitmap.DeleteObject();
  m_bitmapSel.DeleteObject();
  m_bitmapFocus.DeleteObject();
  m_bitmapDisabled.DeleteObject();
  if (!m_bitmap.LoadBitmap(normal)) return FALSE;
  if (selected) m_bitmapSel.LoadBitmap(selected);
  if (focused) m_bitmapFocus.LoadBitmap(focused);
  if (disabled) m_bitmapDisabled.LoadBitmap(disabled);
  return TRUE;
}
BOOL CBitmapButton::AutoLoad(UINT id, CWnd* parent) {
  if (!SubclassDlgItem(id, parent)) return FALSE;
  ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
  SizeToContent();
  return TRUE;
}
void CBitmapButton::SizeToContent() {
  BITMAP bm;
  if (m_bitmap.m_hObject && m_bitmap.GetBitmap(&bm))
    SetWindowPos(nullptr, 0, 0, bm.bmWidth, bm.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
void CBitmapButton::DrawItem(LPDRAWITEMSTRUCT dis) {
  CDC* dc = CDC::FromHandle(dis->hDC);
  CRect rc(dis->rcItem);
  CBitmap* bmp = &m_bitmap;
  if ((dis->itemState & ODS_SELECTED) && m_bitmapSel.m_hObject) bmp = &m_bitmapSel;
  else if ((dis->itemState & ODS_FOCUS) && m_bitmapFocus.m_hObject) bmp = &m_bitmapFocus;
  else if ((dis->itemState & ODS_DISABLED) && m_bitmapDisabled.m_hObject) bmp = &m_bitmapDisabled;
  dc->FillSolidRect(&rc, GetSysColor(COLOR_BTNFACE));
  if (bmp->m_hObject) {
    BITMAP bm;
    bmp->GetBitmap(&bm);
    DrawBitmap(dis->hDC, 0, 0, *bmp, 0, 0, bm.bmWidth, bm.bmHeight, CLR_NONE);
    return;
  }
  CString text;
  GetWindowText(text);
  dc->SetBkMode(TRANSPARENT);
  dc->SetTextColor(GetSysColor((dis->itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  dc->DrawText(text, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
