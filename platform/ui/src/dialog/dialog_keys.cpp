// The dialog manager's keyboard: Tab order, default button, cancel, arrows,
// mnemonics (Alt+letter).
#include <algorithm>
#include <vector>

#include "core/hooks.h"
#include "core/window_store.h"
#include "dialog/mnemonics.h"
#include "zrui/dialog.h"

using namespace zrui::detail;

namespace {

// The control's own state counts, not its parents': a dialog being
// initialised is not shown yet.
bool Usable(HWND c) { return (WindowStyle(c) & WS_VISIBLE) && IsWindowEnabled(c); }

// Controls in Tab order; child dialogs (WS_EX_CONTROLPARENT) are entered.
void CollectTabStops(HWND parent, std::vector<HWND>* out) {
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!Usable(c)) continue;
    if (GetWindowLongPtrW(c, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) CollectTabStops(c, out);
    else if (WindowStyle(c) & WS_TABSTOP) out->push_back(c);
  }
}

// The control itself, or the ancestor of it that is a direct Tab stop
// (the field of a combo box belongs to the combo box).
HWND TabOwner(HWND dlg, HWND ctl, const std::vector<HWND>& stops) {
  for (HWND c = ctl; c && c != dlg; c = GetParent(c))
    if (std::find(stops.begin(), stops.end(), c) != stops.end()) return c;
  return nullptr;
}

void PressDefault(HWND dlg, LRESULT code) {
  HWND focus = GetFocus();
  if (focus && (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
    SendMessageW(GetParent(focus), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(focus)), BN_CLICKED),
                 reinterpret_cast<LPARAM>(focus));
    return;
  }
  int id = IDOK;
  LRESULT def = SendMessageW(dlg, DM_GETDEFID, 0, 0);
  if (HIWORD(static_cast<DWORD_PTR>(def)) == DC_HASDEFID) id = LOWORD(static_cast<DWORD_PTR>(def));
  HWND button = GetDlgItem(dlg, id);
  if (button && !IsWindowEnabled(button)) {
    MessageBeep(0);
    return;
  }
  SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void PressCancel(HWND dlg) {
  HWND cancel = GetDlgItem(dlg, IDCANCEL);
  if (cancel && !IsWindowEnabled(cancel)) {
    MessageBeep(0);
    return;
  }
  SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
}

// Every Tab stop in Tab order, usable or not (to find where a control that
// can no longer take the focus stood).
void CollectAllTabStops(HWND parent, std::vector<HWND>* out) {
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (GetWindowLongPtrW(c, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) CollectAllTabStops(c, out);
    else if (WindowStyle(c) & WS_TABSTOP) out->push_back(c);
  }
}

// The control and every parent up to the dialog are visible and enabled.
bool UsableIn(HWND dlg, HWND c) {
  for (HWND a = c; a && a != dlg; a = GetParent(a))
    if (!Usable(a)) return false;
  return true;
}

// The focus was on `focus`, inside `gone`, which was just disabled or
// hidden: it moves to the next Tab stop after it that can take it, as the
// dialog manager of the platform mirrored moves it off a disabled control.
void MoveFocusOn(HWND gone, HWND focus) {
  HWND dlg = GetAncestor(gone, GA_ROOT);
  if (!dlg || GetClassNameString(dlg) != WC_DIALOGW) return;
  std::vector<HWND> all;
  CollectAllTabStops(dlg, &all);
  const size_t n = all.size();
  if (n == 0) return;
  HWND owner = TabOwner(dlg, focus, all);
  auto it = owner ? std::find(all.begin(), all.end(), owner) : all.end();
  size_t at = it == all.end() ? n - 1 : static_cast<size_t>(it - all.begin());
  for (size_t k = 1; k <= n; ++k) {
    HWND c = all[(at + k) % n];
    if (c == gone || IsChild(gone, c) || !UsableIn(dlg, c)) continue;
    SendMessageW(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(c), TRUE);
    return;
  }
}

struct FocusMoverInstaller {
  FocusMoverInstaller() { SetFocusLeavingHook(&MoveFocusOn); }
} g_focusMover;

bool IsMnemonicCharacter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

}  // namespace

HWND GetNextDlgTabItem(HWND dlg, HWND ctl, BOOL previous) {
  std::vector<HWND> stops;
  CollectTabStops(dlg, &stops);
  if (stops.empty()) return nullptr;
  HWND owner = ctl ? TabOwner(dlg, ctl, stops) : nullptr;
  auto it = owner ? std::find(stops.begin(), stops.end(), owner) : stops.end();
  if (it == stops.end()) return previous ? stops.back() : stops.front();
  size_t i = static_cast<size_t>(it - stops.begin());
  size_t n = stops.size();
  return stops[previous ? (i + n - 1) % n : (i + 1) % n];
}

HWND GetNextDlgGroupItem(HWND dlg, HWND ctl, BOOL previous) {
  HWND parent = ctl ? GetParent(ctl) : dlg;
  std::vector<HWND> kids;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) kids.push_back(c);
  auto self = std::find(kids.begin(), kids.end(), ctl);
  if (self == kids.end()) return nullptr;
  auto first = self;
  while (first != kids.begin() && !(WindowStyle(*first) & WS_GROUP)) --first;
  auto last = self + 1;
  while (last != kids.end() && !(WindowStyle(*last) & WS_GROUP)) ++last;
  std::vector<HWND> group(first, last);
  size_t n = group.size();
  size_t i = static_cast<size_t>(std::find(group.begin(), group.end(), ctl) - group.begin());
  for (size_t k = 1; k < n; ++k) {
    HWND c = group[previous ? (i + n - k) % n : (i + k) % n];
    if (Usable(c)) return c;
  }
  return ctl;
}

BOOL IsDialogMessageW(HWND dlg, MSG* msg) {
  if (!msg || !dlg || !(msg->hwnd == dlg || IsChild(dlg, msg->hwnd))) return FALSE;
  if (msg->message == WM_KEYDOWN) {
    UINT vk = static_cast<UINT>(msg->wParam);
    // Alt+F4 is the window close command, whatever has the focus: the same
    // command as the title bar's close box.
    if (vk == VK_F4 && GetKeyState(VK_MENU) < 0 && GetKeyState(VK_CONTROL) >= 0) {
      PostMessageW(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
      return TRUE;
    }
    // Alt+letter is the dialog's (a mnemonic, as WM_SYSCHAR): the focused
    // control does not see it as a key of its own.
    const bool alnum = (vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9');
    if (alnum && GetKeyState(VK_MENU) < 0 && GetKeyState(VK_CONTROL) >= 0) {
      TranslateMessage(msg);
      return TRUE;
    }
    LRESULT code = SendMessageW(msg->hwnd, WM_GETDLGCODE, vk, reinterpret_cast<LPARAM>(msg));
    switch (vk) {
      case VK_TAB:
        if (code & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) break;
        if (HWND next = GetNextDlgTabItem(dlg, GetFocus(), GetKeyState(VK_SHIFT) < 0))
          SendMessageW(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
        return TRUE;
      case VK_RETURN:
        if (code & DLGC_WANTALLKEYS) break;
        PressDefault(dlg, code);
        return TRUE;
      case VK_ESCAPE:
        if (code & DLGC_WANTALLKEYS) break;
        PressCancel(dlg);
        return TRUE;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN: {
        if (code & (DLGC_WANTARROWS | DLGC_WANTALLKEYS)) break;
        HWND focus = GetFocus();
        if (!focus) break;
        HWND next = GetNextDlgGroupItem(dlg, focus, vk == VK_LEFT || vk == VK_UP);
        if (next && next != focus) {
          SetFocus(next);
          if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) SendMessageW(next, BM_CLICK, 0, 0);
        }
        return TRUE;
      }
    }
  }
  // A letter or digit typed where the focused control takes no characters (a
  // button, a tab strip) is a mnemonic, as Alt with it is.
  if (msg->message == WM_CHAR && IsMnemonicCharacter(static_cast<char16_t>(msg->wParam))) {
    LRESULT code = SendMessageW(msg->hwnd, WM_GETDLGCODE, 0, reinterpret_cast<LPARAM>(msg));
    if (!(code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS))) {
      if (!PressMnemonic(dlg, static_cast<char16_t>(msg->wParam))) MessageBeep(0);
      return TRUE;
    }
  }
  if (msg->message == WM_SYSCHAR) {
    if (!PressMnemonic(dlg, static_cast<char16_t>(msg->wParam))) MessageBeep(0);
    return TRUE;
  }
  TranslateMessage(msg);
  DispatchMessageW(msg);
  return TRUE;
}
