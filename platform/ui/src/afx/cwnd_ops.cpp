// CWnd operations: thin wrappers over the core API.
#include "zrui/afx/cdialog.h"
#include "zrui/afx/cgdi.h"
#include "zrui/afx/cwnd.h"
#include "zrui/dialog.h"

LRESULT CWnd::SendMessage(UINT msg, WPARAM w, LPARAM l) const { return ::SendMessageW(m_hWnd, msg, w, l); }
BOOL CWnd::PostMessage(UINT msg, WPARAM w, LPARAM l) const { return ::PostMessageW(m_hWnd, msg, w, l); }
LRESULT CWnd::SendDlgItemMessage(int id, UINT msg, WPARAM w, LPARAM l) const {
  return ::SendDlgItemMessageW(m_hWnd, id, msg, w, l);
}
void CWnd::SendMessageToDescendants(UINT msg, WPARAM w, LPARAM l, BOOL deep) const {
  for (HWND c = ::GetWindow(m_hWnd, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
    ::SendMessageW(c, msg, w, l);
    if (deep) CWnd::FromHandle(c)->SendMessageToDescendants(msg, w, l, TRUE);
  }
}

void CWnd::SetWindowText(LPCTSTR text) { ::SetWindowTextW(m_hWnd, text); }
void CWnd::GetWindowText(CString& out) const { out = CString(::GetWindowTextString(m_hWnd)); }
int CWnd::GetWindowText(LPTSTR buf, int max) const { return ::GetWindowTextW(m_hWnd, buf, max); }
int CWnd::GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
BOOL CWnd::EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
BOOL CWnd::ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
CWnd* CWnd::GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
int CWnd::SetDlgCtrlID(int id) { return static_cast<int>(::SetWindowLongPtrW(m_hWnd, GWLP_ID, id)); }
void CWnd::SetDlgItemText(int id, LPCTSTR text) { ::SetDlgItemTextW(m_hWnd, id, text); }
int CWnd::GetDlgItemText(int id, CString& out) const {
  HWND c = ::GetDlgItem(m_hWnd, id);
  out = c ? CString(::GetWindowTextString(c)) : CString();
  return out.GetLength();
}
void CWnd::SetDlgItemInt(int id, UINT value, BOOL isSigned) { ::SetDlgItemInt(m_hWnd, id, value, isSigned); }
UINT CWnd::GetDlgItemInt(int id, BOOL* ok, BOOL isSigned) const { return ::GetDlgItemInt(m_hWnd, id, ok, isSigned); }
void CWnd::CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }
UINT CWnd::IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
CWnd* CWnd::GetOwner() const { return FromHandle(::GetWindow(m_hWnd, GW_OWNER)); }
CWnd* CWnd::GetTopLevelParent() const { return FromHandle(::GetAncestor(m_hWnd, GA_ROOT)); }
CWnd* CWnd::GetWindow(UINT cmd) const { return FromHandle(::GetWindow(m_hWnd, cmd)); }
CWnd* CWnd::GetNextDlgTabItem(CWnd* ctl, BOOL previous) const {
  return FromHandle(::GetNextDlgTabItem(m_hWnd, ctl ? ctl->m_hWnd : nullptr, previous));
}
BOOL CWnd::IsChild(const CWnd* w) const { return w && ::IsChild(m_hWnd, w->m_hWnd); }
CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }
CWnd* CWnd::GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
CWnd* CWnd::GetCapture() { return FromHandle(::GetCapture()); }
CFont* CWnd::GetFont() const {
  return CFont::FromHandle(reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)));
}
void CWnd::SetFont(CFont* font, BOOL redraw) {
  ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->m_hObject : nullptr), redraw);
}
DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)); }
BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT) {
  DWORD style = GetStyle();
  DWORD now = (style & ~remove) | add;
  if (now == style) return FALSE;
  ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(now));
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
  return TRUE;
}
BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT) {
  DWORD style = GetExStyle();
  DWORD now = (style & ~remove) | add;
  if (now == style) return FALSE;
  ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, static_cast<LONG_PTR>(now));
  return TRUE;
}

void CWnd::GetWindowRect(LPRECT r) const { ::GetWindowRect(m_hWnd, r); }
void CWnd::GetClientRect(LPRECT r) const { ::GetClientRect(m_hWnd, r); }
void CWnd::ClientToScreen(LPPOINT p) const { ::ClientToScreen(m_hWnd, p); }
void CWnd::ClientToScreen(LPRECT r) const {
  ::ClientToScreen(m_hWnd, reinterpret_cast<POINT*>(&r->left));
  ::ClientToScreen(m_hWnd, reinterpret_cast<POINT*>(&r->right));
}
void CWnd::ScreenToClient(LPPOINT p) const { ::ScreenToClient(m_hWnd, p); }
void CWnd::ScreenToClient(LPRECT r) const {
  ::ScreenToClient(m_hWnd, reinterpret_cast<POINT*>(&r->left));
  ::ScreenToClient(m_hWnd, reinterpret_cast<POINT*>(&r->right));
}
void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) { ::MoveWindow(m_hWnd, x, y, width, height, repaint); }
void CWnd::MoveWindow(LPCRECT r, BOOL repaint) { MoveWindow(r->left, r->top, r->right - r->left, r->bottom - r->top, repaint); }
BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
  return ::SetWindowPos(m_hWnd, insertAfter ? insertAfter->m_hWnd : nullptr, x, y, cx, cy, flags);
}
void CWnd::CenterWindow(CWnd* alternateOwner) {
  RECT me, around{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  GetWindowRect(&me);
  HWND o = alternateOwner ? alternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
  if (o) ::GetWindowRect(o, &around);
  int w = me.right - me.left, h = me.bottom - me.top;
  POINT p{around.left + (around.right - around.left - w) / 2, around.top + (around.bottom - around.top - h) / 2};
  if (GetStyle() & WS_CHILD) ::ScreenToClient(::GetParent(m_hWnd), &p);
  SetWindowPos(nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void CWnd::Invalidate(BOOL erase) { ::InvalidateRect(m_hWnd, nullptr, erase); }
void CWnd::InvalidateRect(LPCRECT r, BOOL erase) { ::InvalidateRect(m_hWnd, r, erase); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }
BOOL CWnd::RedrawWindow(LPCRECT r, HRGN rgn, UINT flags) { return ::RedrawWindow(m_hWnd, r, rgn, flags); }
void CWnd::SetRedraw(BOOL redraw) { ::SendMessageW(m_hWnd, WM_SETREDRAW, redraw, 0); }
CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
int CWnd::ReleaseDC(CDC* dc) { return dc ? ::ReleaseDC(m_hWnd, dc->m_hDC) : 0; }
UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs, void* proc) { return ::SetTimer(m_hWnd, id, elapseMs, proc); }
BOOL CWnd::KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
int CWnd::MessageBox(LPCTSTR text, LPCTSTR caption, UINT type) {
  std::u16string cap = caption ? std::u16string(caption) : zrui::AppName();
  return ::MessageBoxW(m_hWnd, text, cap.c_str(), type);
}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
  CDataExchange dx(this, saveAndValidate);
  DoDataExchange(&dx);
  return !dx.m_bFailed;
}
void CWnd::DoDataExchange(CDataExchange*) {}
