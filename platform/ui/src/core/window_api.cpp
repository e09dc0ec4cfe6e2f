// Message delivery and the window data functions of the core.
#include <algorithm>

#include "core/class_registry.h"
#include "core/message_queue.h"
#include "core/window_store.h"

using namespace zrui::detail;

namespace zrui::detail {

void MoveFocusOffUnusable(HWND h);  // focus.cpp

LRESULT Deliver(HWND h, UINT msg, WPARAM w, LPARAM l) {
  WNDPROC proc = WindowProc(h);
  return proc ? proc(h, msg, w, l) : 0;
}

}  // namespace zrui::detail

LRESULT SendMessageW(HWND h, UINT msg, WPARAM w, LPARAM l) {
  bool ok = false;
  auto tid = WindowThread(h, &ok);
  if (!ok) return 0;
  if (tid == std::this_thread::get_id()) return Deliver(h, msg, w, l);
  return SendAcrossThreads(tid, h, msg, w, l);
}

LRESULT CallWindowProcW(WNDPROC proc, HWND h, UINT msg, WPARAM w, LPARAM l) {
  return proc ? proc(h, msg, w, l) : 0;
}

LONG_PTR GetWindowLongPtrW(HWND h, int index) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(h);
  if (!r) return 0;
  if (r->dialog && index >= 0) {
    switch (index) {
      case DWLP_MSGRESULT: return r->dialog->msgResult;
      case DWLP_DLGPROC: return reinterpret_cast<LONG_PTR>(r->dialog->proc);
      case DWLP_USER: return r->dialog->user;
    }
  }
  switch (index) {
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(r->proc);
    case GWLP_ID: return static_cast<LONG_PTR>(r->id);
    case GWL_STYLE: return static_cast<LONG_PTR>(r->style);
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(r->exStyle);
    case GWLP_USERDATA: return r->userData;
    case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>(r->parent ? r->parent : r->owner);
  }
  return 0;
}

LONG_PTR SetWindowLongPtrW(HWND h, int index, LONG_PTR value) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(h);
  if (!r) return 0;
  LONG_PTR old = 0;
  if (r->dialog && index >= 0) {
    switch (index) {
      case DWLP_MSGRESULT: old = r->dialog->msgResult; r->dialog->msgResult = value; return old;
      case DWLP_DLGPROC:
        old = reinterpret_cast<LONG_PTR>(r->dialog->proc);
        r->dialog->proc = reinterpret_cast<DLGPROC_T>(value);
        return old;
      case DWLP_USER: old = r->dialog->user; r->dialog->user = value; return old;
    }
  }
  switch (index) {
    case GWLP_WNDPROC:
      old = reinterpret_cast<LONG_PTR>(r->proc);
      r->proc = reinterpret_cast<WNDPROC>(value);
      break;
    case GWLP_ID: old = static_cast<LONG_PTR>(r->id); r->id = static_cast<UINT_PTR>(value); break;
    case GWL_STYLE: old = r->style; r->style = static_cast<DWORD>(value); break;
    case GWL_EXSTYLE: old = r->exStyle; r->exStyle = static_cast<DWORD>(value); break;
    case GWLP_USERDATA: old = r->userData; r->userData = value; break;
  }
  return old;
}

int GetDlgCtrlID(HWND h) { return static_cast<int>(GetWindowLongPtrW(h, GWLP_ID)); }

HWND GetDlgItem(HWND dialog, int id) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(dialog);
  if (!r) return nullptr;
  for (HWND c : r->children) {
    WindowRecord* cr = WindowStore::find(c);
    if (cr && static_cast<int>(cr->id) == id) return c;
  }
  return nullptr;
}

HWND GetParent(HWND h) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(h);
  if (!r) return nullptr;
  return (r->style & WS_CHILD) ? r->parent : r->owner;
}

HWND SetParent(HWND child, HWND newParent) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(child);
  if (!r) return nullptr;
  HWND old = r->parent;
  if (WindowRecord* p = WindowStore::find(old)) {
    auto& c = p->children;
    c.erase(std::remove(c.begin(), c.end(), child), c.end());
  }
  r->parent = newParent;
  if (WindowRecord* p = WindowStore::find(newParent)) p->children.push_back(child);
  return old;
}

HWND GetAncestor(HWND h, UINT flags) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(h);
  if (!r) return nullptr;
  if (flags == GA_PARENT) return r->parent;
  while ((r->style & WS_CHILD) && WindowStore::find(r->parent)) r = WindowStore::find(r->parent);
  if (flags == GA_ROOTOWNER)
    while (WindowStore::find(r->owner)) r = WindowStore::find(r->owner);
  return r->handle;
}

HWND GetWindow(HWND h, UINT cmd) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(h);
  if (!r) return nullptr;
  if (cmd == GW_CHILD) return r->children.empty() ? nullptr : r->children.front();
  if (cmd == GW_OWNER) return r->owner;
  WindowRecord* p = WindowStore::find(r->parent);
  if (!p) return nullptr;
  auto& c = p->children;
  auto it = std::find(c.begin(), c.end(), h);
  if (it == c.end()) return nullptr;
  switch (cmd) {
    case GW_HWNDFIRST: return c.front();
    case GW_HWNDLAST: return c.back();
    case GW_HWNDNEXT: return (it + 1 == c.end()) ? nullptr : *(it + 1);
    case GW_HWNDPREV: return (it == c.begin()) ? nullptr : *(it - 1);
  }
  return nullptr;
}

HWND GetTopWindow(HWND h) { return GetWindow(h, GW_CHILD); }
HWND GetNextWindow(HWND h, UINT cmd) { return GetWindow(h, cmd); }

BOOL IsChild(HWND parent, HWND h) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(h);
  while (r && (r->style & WS_CHILD)) {
    if (r->parent == parent) return TRUE;
    r = WindowStore::find(r->parent);
  }
  return FALSE;
}

int GetClassNameW(HWND h, LPWSTR buf, int max) {
  std::u16string n = GetClassNameString(h);
  if (!buf || max <= 0) return 0;
  int len = std::min<int>(static_cast<int>(n.size()), max - 1);
  std::copy_n(n.data(), len, buf);
  buf[len] = 0;
  return len;
}

std::u16string GetClassNameString(HWND h) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(h);
  return r ? r->className : std::u16string();
}

// ---- text ----
BOOL SetWindowTextW(HWND h, LPCWSTR text) {
  return static_cast<BOOL>(SendMessageW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : u"")));
}

int GetWindowTextLengthW(HWND h) { return static_cast<int>(SendMessageW(h, WM_GETTEXTLENGTH, 0, 0)); }

int GetWindowTextW(HWND h, LPWSTR buf, int max) {
  if (!buf || max <= 0) return 0;
  bool ok = false;
  auto tid = WindowThread(h, &ok);
  if (!ok) {
    buf[0] = 0;
    return 0;
  }
  if (tid != std::this_thread::get_id()) {
    // As on the original platform, another thread reads the stored text
    // without sending a message.
    std::lock_guard lock(WindowStore::mutex());
    WindowRecord* r = WindowStore::find(h);
    std::u16string t = r ? r->text : std::u16string();
    int len = std::min<int>(static_cast<int>(t.size()), max - 1);
    std::copy_n(t.data(), len, buf);
    buf[len] = 0;
    return len;
  }
  return static_cast<int>(SendMessageW(h, WM_GETTEXT, static_cast<WPARAM>(max), reinterpret_cast<LPARAM>(buf)));
}

std::u16string GetWindowTextString(HWND h) {
  bool ok = false;
  auto tid = WindowThread(h, &ok);
  if (!ok) return {};
  if (tid != std::this_thread::get_id()) {
    std::lock_guard lock(WindowStore::mutex());
    WindowRecord* r = WindowStore::find(h);
    return r ? r->text : std::u16string();
  }
  int len = GetWindowTextLengthW(h);
  std::u16string s(static_cast<size_t>(std::max(len, 0)) + 1, u'\0');
  int got = GetWindowTextW(h, s.data(), static_cast<int>(s.size()));
  s.resize(static_cast<size_t>(std::max(got, 0)));
  return s;
}

// ---- state ----
BOOL EnableWindow(HWND h, BOOL enable) {
  bool wasDisabled;
  {
    std::lock_guard lock(WindowStore::mutex());
    WindowRecord* r = WindowStore::find(h);
    if (!r) return FALSE;
    wasDisabled = (r->style & WS_DISABLED) != 0;
    if (enable) r->style &= ~WS_DISABLED;
    else r->style |= WS_DISABLED;
    MarkDirty(r);
  }
  if (wasDisabled == !enable) return wasDisabled;
  if (!enable) MoveFocusOffUnusable(h);
  SendMessageW(h, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND h) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(h);
  return r && !(r->style & WS_DISABLED);
}

BOOL ShowWindow(HWND h, int cmd) {
  bool wasVisible;
  bool show = cmd != SW_HIDE;
  {
    std::lock_guard lock(WindowStore::mutex());
    WindowRecord* r = WindowStore::find(h);
    if (!r) return FALSE;
    wasVisible = (r->style & WS_VISIBLE) != 0;
    if (wasVisible == show) return wasVisible;
  }
  SendMessageW(h, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
  {
    std::lock_guard lock(WindowStore::mutex());
    WindowRecord* r = WindowStore::find(h);
    if (!r) return wasVisible;
    if (show) r->style |= WS_VISIBLE;
    else r->style &= ~WS_VISIBLE;
    MarkDirty(r);
  }
  // The focus does not stay on a hidden control (nor the caret with it).
  if (!show && (WindowStyle(h) & WS_CHILD)) MoveFocusOffUnusable(h);
  return wasVisible;
}

BOOL IsWindowVisible(HWND h) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(h);
  if (!r) return FALSE;
  for (;;) {
    if (!(r->style & WS_VISIBLE)) return FALSE;
    if (!(r->style & WS_CHILD)) return TRUE;
    r = WindowStore::find(r->parent);
    if (!r) return FALSE;
  }
}

// ---- painting requests ----
BOOL InvalidateRect(HWND h, const RECT*, BOOL) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(h);
  if (!r) return FALSE;
  MarkDirty(r);
  return TRUE;
}

BOOL UpdateWindow(HWND h) { return IsWindow(h); }

BOOL RedrawWindow(HWND h, const RECT* r, HRGN, UINT) { return InvalidateRect(h, r, TRUE); }
