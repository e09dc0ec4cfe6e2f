// CStatic, CButton, CBitmapButton, CEdit, CComboBox.
#include "zrui/afx/ccontrols.h"

// ---- CStatic ----
BOOL CStatic::Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create(WC_STATICW, text, style, rect, parent, id);
}
HBITMAP CStatic::SetBitmap(HBITMAP bitmap) {
  return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
}
HBITMAP CStatic::GetBitmap() const { return reinterpret_cast<HBITMAP>(SendMessage(STM_GETIMAGE, IMAGE_BITMAP, 0)); }

// ---- CButton ----
BOOL CButton::Create(LPCTSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create(WC_BUTTONW, caption, style, rect, parent, id);
}
int CButton::GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
void CButton::SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
UINT CButton::GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
void CButton::SetState(BOOL highlight) { SendMessage(BM_SETSTATE, highlight); }
UINT CButton::GetButtonStyle() const { return GetStyle() & 0xFF; }
void CButton::SetButtonStyle(UINT style, BOOL redraw) { SendMessage(BM_SETSTYLE, style, redraw); }
HBITMAP CButton::SetBitmap(HBITMAP bitmap) {
  return reinterpret_cast<HBITMAP>(SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
}
HBITMAP CButton::GetBitmap() const { return reinterpret_cast<HBITMAP>(SendMessage(BM_GETIMAGE, IMAGE_BITMAP, 0)); }
void CButton::DrawItem(LPDRAWITEMSTRUCT) {}
BOOL CButton::OnChildNotify(UINT msg, WPARAM w, LPARAM l, LRESULT* result) {
  if (msg == WM_DRAWITEM) {
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(l));
    *result = TRUE;
    return TRUE;
  }
  return CWnd::OnChildNotify(msg, w, l, result);
}

// ---- CBitmapButton ----
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

// ---- CEdit ----
BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create(WC_EDITW, u"", style, rect, parent, id);
}
void CEdit::LimitText(int maxChars) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(maxChars)); }
void CEdit::SetLimitText(UINT maxChars) { SendMessage(EM_SETLIMITTEXT, maxChars); }
UINT CEdit::GetLimitText() const { return static_cast<UINT>(SendMessage(EM_GETLIMITTEXT)); }
void CEdit::SetSel(int start, int end, BOOL) { SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end); }
void CEdit::SetSel(DWORD selection, BOOL noScroll) {
  SetSel(static_cast<SHORT>(LOWORD(selection)), static_cast<SHORT>(HIWORD(selection)), noScroll);
}
void CEdit::GetSel(int& start, int& end) const {
  DWORD a = 0, b = 0;
  SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
  start = static_cast<int>(a);
  end = static_cast<int>(b);
}
DWORD CEdit::GetSel() const { return static_cast<DWORD>(SendMessage(EM_GETSEL)); }
void CEdit::ReplaceSel(LPCTSTR text, BOOL canUndo) { SendMessage(EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(text)); }
BOOL CEdit::SetReadOnly(BOOL readOnly) { return static_cast<BOOL>(SendMessage(EM_SETREADONLY, readOnly)); }
BOOL CEdit::GetModify() const { return static_cast<BOOL>(SendMessage(EM_GETMODIFY)); }
void CEdit::SetModify(BOOL modified) { SendMessage(EM_SETMODIFY, modified); }
int CEdit::LineLength(int line) const { return static_cast<int>(SendMessage(EM_LINELENGTH, static_cast<WPARAM>(line))); }
void CEdit::Clear() { SendMessage(WM_CLEAR); }
void CEdit::Copy() { SendMessage(WM_COPY); }
void CEdit::Cut() { SendMessage(WM_CUT); }
void CEdit::Paste() { SendMessage(WM_PASTE); }

// ---- CComboBox ----
BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create(WC_COMBOBOXW, u"", style, rect, parent, id);
}
int CComboBox::AddString(LPCTSTR text) { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text))); }
int CComboBox::InsertString(int index, LPCTSTR text) {
  return static_cast<int>(SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)));
}
int CComboBox::DeleteString(UINT index) { return static_cast<int>(SendMessage(CB_DELETESTRING, index)); }
void CComboBox::ResetContent() { SendMessage(CB_RESETCONTENT); }
int CComboBox::GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
int CComboBox::GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
int CComboBox::SetCurSel(int index) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }
int CComboBox::GetLBText(int index, LPTSTR buf) const {
  return static_cast<int>(SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buf)));
}
void CComboBox::GetLBText(int index, CString& out) const {
  int len = GetLBTextLen(index);
  if (len < 0) {
    out.Empty();
    return;
  }
  std::u16string buf(static_cast<size_t>(len) + 1, u'\0');
  GetLBText(index, buf.data());
  buf.resize(static_cast<size_t>(len));
  out = CString(buf);
}
int CComboBox::GetLBTextLen(int index) const { return static_cast<int>(SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index))); }
DWORD_PTR CComboBox::GetItemData(int index) const { return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(index))); }
int CComboBox::SetItemData(int index, DWORD_PTR data) {
  return static_cast<int>(SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data)));
}
void* CComboBox::GetItemDataPtr(int index) const {
  LRESULT r = SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(index));
  return r == CB_ERR ? reinterpret_cast<void*>(-1) : reinterpret_cast<void*>(r);
}
int CComboBox::SetItemDataPtr(int index, void* data) { return SetItemData(index, reinterpret_cast<DWORD_PTR>(data)); }
int CComboBox::FindString(int startAfter, LPCTSTR text) const {
  return static_cast<int>(SendMessage(CB_FINDSTRING, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text)));
}
int CComboBox::FindStringExact(int startAfter, LPCTSTR text) const {
  return static_cast<int>(SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text)));
}
int CComboBox::SelectString(int startAfter, LPCTSTR text) {
  return static_cast<int>(SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text)));
}
void CComboBox::ShowDropDown(BOOL show) { SendMessage(CB_SHOWDROPDOWN, show); }
BOOL CComboBox::GetDroppedState() const { return static_cast<BOOL>(SendMessage(CB_GETDROPPEDSTATE)); }
BOOL CComboBox::LimitText(int maxChars) { return static_cast<BOOL>(SendMessage(CB_LIMITTEXT, static_cast<WPARAM>(maxChars))); }
BOOL CComboBox::SetEditSel(int start, int end) {
  return static_cast<BOOL>(SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(static_cast<WORD>(start), static_cast<WORD>(end))));
}
DWORD CComboBox::GetEditSel() const { return static_cast<DWORD>(SendMessage(CB_GETEDITSEL)); }
int CComboBox::SetItemHeight(int index, UINT height) {
  return static_cast<int>(SendMessage(CB_SETITEMHEIGHT, static_cast<WPARAM>(index), height));
}
int CComboBox::GetItemHeight(int index) const { return static_cast<int>(SendMessage(CB_GETITEMHEIGHT, static_cast<WPARAM>(index))); }
int CComboBox::GetTopIndex() const { return static_cast<int>(SendMessage(CB_GETTOPINDEX)); }
void CComboBox::GetDroppedControlRect(LPRECT r) const { SendMessage(CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(r)); }
void CComboBox::Clear() { SendMessage(WM_CLEAR); }
void CComboBox::Copy() { SendMessage(WM_COPY); }
void CComboBox::Cut() { SendMessage(WM_CUT); }
void CComboBox::Paste() { SendMessage(WM_PASTE); }
void CComboBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
int CComboBox::CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
void CComboBox::DeleteItem(LPDELETEITEMSTRUCT) {}
BOOL CComboBox::OnChildNotify(UINT msg, WPARAM w, LPARAM l, LRESULT* result) {
  switch (msg) {
    case WM_DRAWITEM: DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(l)); break;
    case WM_MEASUREITEM: MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(l)); break;
    case WM_COMPAREITEM: *result = CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(l)); return TRUE;
    case WM_DELETEITEM: DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(l)); break;
    default: return CWnd::OnChildNotify(msg, w, l, result);
  }
  *result = TRUE;
  return TRUE;
}
