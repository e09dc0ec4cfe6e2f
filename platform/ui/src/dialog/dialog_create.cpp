// Dialog creation from templates, default dialog processing, EndDialog.
#include <algorithm>

#include "core/class_registry.h"
#include "controls/builtin.h"
#include "core/window_store.h"
#include "dialog/dialog_layout.h"
#include "zrui/commctrl.h"
#include "zrui/dialog.h"
#include "zrui/gdi.h"
#include "zrui/metrics.h"

using namespace zrui::detail;

namespace {

DialogData* Data(HWND h) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(h);
  return r ? r->dialog.get() : nullptr;
}

bool IsDefaultPushButton(HWND c) {
  return GetClassNameString(c) == WC_BUTTONW && (WindowStyle(c) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

// The default button id: DM_SETDEFID's, or the first BS_DEFPUSHBUTTON.
UINT DefaultId(HWND h, DialogData* d) {
  if (d->defId) return d->defId;
  for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (IsDefaultPushButton(c)) return static_cast<UINT>(GetDlgCtrlID(c));
  return 0;
}

void SetDefaultId(HWND h, DialogData* d, UINT id) {
  d->defId = id;
  for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (GetClassNameString(c) != WC_BUTTONW) continue;
    DWORD type = WindowStyle(c) & BS_TYPEMASK;
    if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON) continue;
    bool def = static_cast<UINT>(GetDlgCtrlID(c)) == id;
    SendMessageW(c, BM_SETSTYLE, def ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  }
}

void FocusControl(HWND c) {
  if (!c) return;
  SetFocus(c);
  if (SendMessageW(c, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(c, EM_SETSEL, 0, -1);
}

void RestoreFocus(HWND h, DialogData* d) {
  HWND f = GetFocus();
  if (f && IsChild(h, f)) return;
  HWND target = (d->lastFocus && IsWindow(d->lastFocus) && IsChild(h, d->lastFocus)) ? d->lastFocus
                                                                                      : GetNextDlgTabItem(h, nullptr, FALSE);
  if (target) SetFocus(target);
}

bool ReturnsValueDirectly(UINT msg) {
  return msg == WM_INITDIALOG || (msg >= WM_CTLCOLOREDIT && msg <= WM_CTLCOLORSTATIC) || msg == WM_COMPAREITEM;
}

}  // namespace

LRESULT DefDlgProcW(HWND h, UINT msg, WPARAM w, LPARAM l) {
  DialogData* d = Data(h);
  if (!d) return DefWindowProcW(h, msg, w, l);
  if (d->proc && msg != WM_NCCREATE && msg != WM_CREATE) {
    SetWindowLongPtrW(h, DWLP_MSGRESULT, 0);
    INT_PTR r = d->proc(h, msg, w, l);
    if (r) return ReturnsValueDirectly(msg) ? r : GetWindowLongPtrW(h, DWLP_MSGRESULT);
    if (!IsWindow(h)) return 0;
  }
  switch (msg) {
    case WM_INITDIALOG: return TRUE;
    case WM_CLOSE: {
      HWND cancel = GetDlgItem(h, IDCANCEL);
      if (cancel && !IsWindowEnabled(cancel)) {
        MessageBeep(0);
        return 0;
      }
      SendMessageW(h, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
      return 0;
    }
    case DM_GETDEFID: {
      UINT id = DefaultId(h, d);
      return id ? MAKELRESULT(static_cast<WORD>(id), DC_HASDEFID) : 0;
    }
    case DM_SETDEFID: SetDefaultId(h, d, static_cast<UINT>(w)); return TRUE;
    case WM_SETFONT: d->font = reinterpret_cast<HFONT>(w); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(d->font);
    case WM_SETFOCUS: RestoreFocus(h, d); return 0;
    case WM_ACTIVATE:
      if (LOWORD(w) == WA_INACTIVE) {
        HWND f = GetFocus();
        if (f && IsChild(h, f)) d->lastFocus = f;
      } else if (HIWORD(w) == 0) {
        // Activation that does not come from a click restores the focus.
        RestoreFocus(h, d);
      }
      return 0;
    case WM_NEXTDLGCTL: {
      HWND target = l ? reinterpret_cast<HWND>(w) : GetNextDlgTabItem(h, GetFocus(), w != 0);
      FocusControl(target);
      return 0;
    }
    case WM_KILLFOCUS: return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      RECT rc;
      GetClientRect(h, &rc);
      auto* brush = reinterpret_cast<HBRUSH>(SendMessageW(h, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(h)));
      FillRect(dc, &rc, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
      EndPaint(h, &ps);
      return 0;
    }
  }
  return DefWindowProcW(h, msg, w, l);
}

namespace zrui::detail {
LRESULT CALLBACK DialogClassProc(HWND h, UINT msg, WPARAM w, LPARAM l) { return DefDlgProcW(h, msg, w, l); }
}  // namespace zrui::detail

BOOL MapDialogRect(HWND, RECT* r) {
  if (!r) return FALSE;
  // Each coordinate converts on its own; in the text profile each lands on
  // the nearest cell boundary.
  const zrui::Metrics& m = zrui::GetMetrics();
  RECT p = m.DialogRectToPixels(r->left, r->top, r->right - r->left, r->bottom - r->top);
  if (!m.snapToCells) {
    p = RECT{MulDiv(r->left, m.cellWidth, m.dluPerCellX), MulDiv(r->top, m.cellHeight, m.dluPerCellY),
             MulDiv(r->right, m.cellWidth, m.dluPerCellX), MulDiv(r->bottom, m.cellHeight, m.dluPerCellY)};
  }
  *r = p;
  return TRUE;
}

LONG GetDialogBaseUnits() { return static_cast<LONG>(MAKELONG(kCharWidth, kCharHeight)); }

HWND CreateDialogIndirectParamW(HINSTANCE inst, const DialogTemplate* t, HWND parent, DLGPROC proc, LPARAM param) {
  if (!t) return nullptr;
  bool child = (t->style & WS_CHILD) != 0;
  if (child && !IsWindow(parent)) return nullptr;
  const zrui::Metrics& metrics = zrui::GetMetrics();
  // The dialog holds its controls as a container does: in the text profile
  // its client area rounds outward.
  RECT client = metrics.DialogRectToPixels(t->x, t->y, t->cx, t->cy, true);
  RECT in = FrameInsets(t->style, child);
  int width = (client.right - client.left) + in.left + in.right;
  int height = (client.bottom - client.top) + in.top + in.bottom;
  int x = client.left, y = client.top;
  if (!child) {
    // Top-level dialogs are centred over their owner, or on the screen.
    RECT around{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (parent) GetWindowRect(GetAncestor(parent, GA_ROOT), &around);
    x = around.left + (around.right - around.left - width) / 2;
    y = around.top + (around.bottom - around.top - height) / 2;
    // Inside the screen as far as its size allows; one larger than the
    // screen starts at its top-left corner (a front end then scrolls it).
    x = std::max(0, std::min(x, GetSystemMetrics(SM_CXSCREEN) - width));
    y = std::max(0, std::min(y, GetSystemMetrics(SM_CYSCREEN) - height));
    x = metrics.SnapX(x);
    y = metrics.SnapY(y);
  }
  DWORD exStyle = t->exStyle | ((t->style & DS_CONTROL) ? WS_EX_CONTROLPARENT : 0);
  HWND h = CreateWindowExW(exStyle, WC_DIALOGW, t->caption.c_str(), t->style & ~WS_VISIBLE, x, y, width, height,
                           parent, nullptr, inst, reinterpret_cast<LPVOID>(param));
  if (!h) return nullptr;
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SetWindowLongPtrW(h, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
  std::vector<RECT> rects = LayOutDialogItems(*t, metrics);
  for (size_t i = 0; i < t->items.size(); ++i) {
    const DialogItem& it = t->items[i];
    const RECT& r = rects[i];
    HWND c = CreateWindowExW(it.exStyle, it.className.c_str(), it.text.c_str(), it.style | WS_CHILD, r.left, r.top,
                             r.right - r.left, r.bottom - r.top, h,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(static_cast<WORD>(it.id))), inst, nullptr);
    if (!c) {
      DestroyWindow(h);
      return nullptr;
    }
    SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  // Labels fit their text once their neighbours are known.
  for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (GetClassNameString(c) == WC_STATICW) FitStaticText(c);
  HWND first = GetNextDlgTabItem(h, nullptr, FALSE);
  LRESULT setFocus = SendMessageW(h, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
  if (!IsWindow(h)) return nullptr;
  if (setFocus && !child) {
    first = GetNextDlgTabItem(h, nullptr, FALSE);
    if (first) FocusControl(first);
  }
  if (t->style & WS_VISIBLE) ShowWindow(h, SW_SHOW);
  return h;
}

HWND CreateDialogParamW(HINSTANCE inst, LPCWSTR name, HWND parent, DLGPROC proc, LPARAM param) {
  if (!IS_INTRESOURCE(name)) return nullptr;
  return CreateDialogIndirectParamW(inst, FindDialogResource(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name))),
                                    parent, proc, param);
}

INT_PTR DialogBoxIndirectParamW(HINSTANCE inst, const DialogTemplate* t, HWND parent, DLGPROC proc, LPARAM param) {
  if (!t) return -1;
  DialogTemplate hidden = *t;
  hidden.style &= ~WS_VISIBLE;
  HWND h = CreateDialogIndirectParamW(inst, &hidden, parent, proc, param);
  if (!h) return -1;
  INT_PTR r = zrui::RunModalLoop(h);
  DestroyWindow(h);
  return r;
}

INT_PTR DialogBoxParamW(HINSTANCE inst, LPCWSTR name, HWND parent, DLGPROC proc, LPARAM param) {
  if (!IS_INTRESOURCE(name)) return -1;
  return DialogBoxIndirectParamW(inst, FindDialogResource(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name))),
                                 parent, proc, param);
}

BOOL EndDialog(HWND dlg, INT_PTR result) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(dlg);
  if (!r || !r->dialog) return FALSE;
  r->dialog->ended = true;
  r->dialog->result = result;
  return TRUE;
}

namespace zrui {
bool IsDialogEnded(HWND dlg) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(dlg);
  return !r || !r->dialog || r->dialog->ended;
}
}  // namespace zrui

LRESULT SendDlgItemMessageW(HWND dlg, int id, UINT msg, WPARAM w, LPARAM l) {
  HWND c = GetDlgItem(dlg, id);
  return c ? SendMessageW(c, msg, w, l) : 0;
}
BOOL SetDlgItemTextW(HWND dlg, int id, LPCWSTR text) {
  HWND c = GetDlgItem(dlg, id);
  return c ? SetWindowTextW(c, text) : FALSE;
}
UINT GetDlgItemTextW(HWND dlg, int id, LPWSTR buf, int max) {
  HWND c = GetDlgItem(dlg, id);
  if (!c) {
    if (buf && max > 0) buf[0] = 0;
    return 0;
  }
  return static_cast<UINT>(GetWindowTextW(c, buf, max));
}
BOOL SetDlgItemInt(HWND dlg, int id, UINT value, BOOL isSigned) {
  std::string s = isSigned ? std::to_string(static_cast<int>(value)) : std::to_string(value);
  return SetDlgItemTextW(dlg, id, std::u16string(s.begin(), s.end()).c_str());
}
UINT GetDlgItemInt(HWND dlg, int id, BOOL* ok, BOOL isSigned) {
  HWND c = GetDlgItem(dlg, id);
  std::u16string t = c ? GetWindowTextString(c) : u"";
  if (ok) *ok = FALSE;
  size_t i = 0;
  while (i < t.size() && t[i] == u' ') ++i;
  bool neg = false;
  if (isSigned && i < t.size() && t[i] == u'-') neg = true, ++i;
  if (i >= t.size()) return 0;
  long long v = 0;
  for (; i < t.size(); ++i) {
    if (t[i] < u'0' || t[i] > u'9') return 0;
    v = v * 10 + (t[i] - u'0');
    if (v > 0xFFFFFFFFLL) return 0;
  }
  if (ok) *ok = TRUE;
  return static_cast<UINT>(neg ? -v : v);
}
BOOL CheckDlgButton(HWND dlg, int id, UINT check) {
  return SendDlgItemMessageW(dlg, id, BM_SETCHECK, check, 0) == 0 && GetDlgItem(dlg, id);
}
UINT IsDlgButtonChecked(HWND dlg, int id) { return static_cast<UINT>(SendDlgItemMessageW(dlg, id, BM_GETCHECK, 0, 0)); }
