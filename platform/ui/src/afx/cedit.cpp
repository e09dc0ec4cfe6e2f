#include "zrui/afx/cedit.h"

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
