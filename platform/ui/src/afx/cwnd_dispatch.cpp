// CWnd message dispatch: message maps, commands, notifications, reflection.
#include "zrui/afx/cgdi.h"
#include "zrui/afx/cwnd.h"

namespace {

bool IsCtlColor(UINT msg) { return msg >= WM_CTLCOLOREDIT - 1 && msg <= WM_CTLCOLORSTATIC; }

// Messages whose entries are told apart by a notification code.
bool HasCode(UINT msg) {
  return msg == WM_COMMAND || msg == WM_NOTIFY || msg == WM_REFLECT_BASE + WM_COMMAND ||
         msg == WM_REFLECT_BASE + WM_NOTIFY;
}

bool Matches(const AFX_MSGMAP_ENTRY& e, UINT msg, UINT code, UINT id) {
  if (e.nMessage == kRegisteredMarker) return e.pnMessage && *e.pnMessage == msg;
  if (e.nMessage != msg) return false;
  if (HasCode(msg)) {
    UINT want = e.pnMessage ? static_cast<UINT>(LOWORD(*e.pnMessage)) : e.nCode;
    if (msg == WM_COMMAND || msg == WM_REFLECT_BASE + WM_COMMAND) code = LOWORD(code);
    if (want != code) return false;
  }
  if (msg == WM_COMMAND || msg == WM_NOTIFY) return id >= e.nID && id <= e.nLastID;
  return true;
}

}  // namespace

const AFX_MSGMAP_ENTRY* CWnd::FindEntry(UINT msg, UINT code, UINT id) const {
  for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->thunk; ++e)
      if (Matches(*e, msg, code, id)) return e;
  }
  return nullptr;
}

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
  static const AFX_MSGMAP map = {&CCmdTarget::GetThisMessageMap, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

BOOL CWnd::OnWndMsg(UINT msg, WPARAM w, LPARAM l, LRESULT* result) {
  LRESULT r = 0;
  if (msg == WM_COMMAND) {
    if (!OnCommand(w, l)) return FALSE;
    *result = 1;
    return TRUE;
  }
  if (msg == WM_NOTIFY) {
    auto* hdr = reinterpret_cast<NMHDR*>(l);
    if (!hdr || !OnNotify(w, l, &r)) return FALSE;
    *result = r;
    return TRUE;
  }
  UINT key = IsCtlColor(msg) ? WM_CTLCOLOR : msg;
  if (const AFX_MSGMAP_ENTRY* e = FindEntry(key, 0, 0)) {
    AfxMsgCall c{msg, w, l, &r};
    if (!e->thunk(this, c)) return FALSE;
    *result = r;
    return TRUE;
  }
  // Without an entry, owner-draw and colour messages go back to the control
  // that asked (the default OnCtlColor / OnDrawItem ... of MFC).
  HWND child = nullptr;
  if (IsCtlColor(msg)) child = reinterpret_cast<HWND>(l);
  else if (msg == WM_DRAWITEM) child = reinterpret_cast<DRAWITEMSTRUCT*>(l)->CtlType == ODT_MENU ? nullptr : reinterpret_cast<DRAWITEMSTRUCT*>(l)->hwndItem;
  else if (msg == WM_DELETEITEM) child = reinterpret_cast<DELETEITEMSTRUCT*>(l)->hwndItem;
  else if (msg == WM_COMPAREITEM) child = reinterpret_cast<COMPAREITEMSTRUCT*>(l)->hwndItem;
  else if (msg == WM_MEASUREITEM) child = ::GetDlgItem(m_hWnd, static_cast<int>(w));
  if (child && child != m_hWnd && ReflectMessage(child, msg, w, l, &r)) {
    *result = r;
    return TRUE;
  }
  return FALSE;
}

BOOL CWnd::OnCommand(WPARAM w, LPARAM l) {
  auto ctl = reinterpret_cast<HWND>(l);
  if (ctl && ctl != m_hWnd && ReflectMessage(ctl, WM_COMMAND, w, l, nullptr)) return TRUE;
  const AFX_MSGMAP_ENTRY* e = FindEntry(WM_COMMAND, HIWORD(w), LOWORD(w));
  if (!e) return FALSE;
  LRESULT r = 0;
  AfxMsgCall c{WM_COMMAND, w, l, &r};
  return e->thunk(this, c);
}

BOOL CWnd::OnNotify(WPARAM w, LPARAM l, LRESULT* result) {
  auto* hdr = reinterpret_cast<NMHDR*>(l);
  if (hdr->hwndFrom && hdr->hwndFrom != m_hWnd && ReflectMessage(hdr->hwndFrom, WM_NOTIFY, w, l, result)) return TRUE;
  const AFX_MSGMAP_ENTRY* e = FindEntry(WM_NOTIFY, hdr->code, static_cast<UINT>(hdr->idFrom));
  if (!e) return FALSE;
  AfxMsgCall c{WM_NOTIFY, w, l, result};
  return e->thunk(this, c);
}

BOOL CWnd::ReflectMessage(HWND child, UINT msg, WPARAM w, LPARAM l, LRESULT* result) {
  CWnd* c = FromHandlePermanent(child);
  if (!c) return FALSE;
  LRESULT ignored = 0;
  return c->OnChildNotify(msg, w, l, result ? result : &ignored);
}

BOOL CWnd::OnChildNotify(UINT msg, WPARAM w, LPARAM l, LRESULT* result) {
  return ReflectChildNotify(msg, w, l, result);
}

BOOL CWnd::ReflectChildNotify(UINT msg, WPARAM w, LPARAM l, LRESULT* result) {
  const AFX_MSGMAP_ENTRY* e = nullptr;
  if (msg == WM_COMMAND) e = FindEntry(WM_REFLECT_BASE + WM_COMMAND, HIWORD(w), 0);
  else if (msg == WM_NOTIFY) e = FindEntry(WM_REFLECT_BASE + WM_NOTIFY, reinterpret_cast<NMHDR*>(l)->code, 0);
  else if (IsCtlColor(msg)) e = FindEntry(WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0);
  else e = FindEntry(WM_REFLECT_BASE + msg, 0, 0);
  if (!e) return FALSE;
  AfxMsgCall c{msg, w, l, result};
  return e->thunk(this, c);
}

// ---- default handlers ----
int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnNcDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnSizing(UINT, LPRECT) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
HBRUSH CWnd::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) {
  LRESULT r = 0;
  UINT msg = WM_CTLCOLOREDIT - 1 + ctlColor;
  if (wnd && wnd->m_hWnd != m_hWnd &&
      ReflectMessage(wnd->m_hWnd, msg, reinterpret_cast<WPARAM>(dc->GetSafeHdc()), reinterpret_cast<LPARAM>(wnd->m_hWnd), &r))
    return reinterpret_cast<HBRUSH>(r);
  return reinterpret_cast<HBRUSH>(Default());
}
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT dis) {
  LRESULT r = 0;
  if (dis && dis->CtlType != ODT_MENU && ReflectMessage(dis->hwndItem, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(dis), &r)) return;
  Default();
}
void CWnd::OnMeasureItem(int id, LPMEASUREITEMSTRUCT mis) {
  LRESULT r = 0;
  if (ReflectMessage(::GetDlgItem(m_hWnd, id), WM_MEASUREITEM, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(mis), &r)) return;
  Default();
}
UINT CWnd::OnGetDlgCode() { return static_cast<UINT>(Default()); }
void CWnd::OnEnable(BOOL) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
