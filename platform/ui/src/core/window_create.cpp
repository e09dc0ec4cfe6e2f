// CreateWindowExW and DestroyWindow.
#include <algorithm>

#include "core/class_registry.h"
#include "core/hooks.h"
#include "core/message_queue.h"
#include "core/window_store.h"
#include "zrui/gdi.h"

using namespace zrui::detail;

namespace zrui::detail {
namespace {
thread_local CreationHook tl_hook = nullptr;
thread_local void* tl_hookContext = nullptr;
}  // namespace

void SetCreationHook(CreationHook hook, void* context) {
  tl_hook = hook;
  tl_hookContext = context;
}

void RemoveFocusWithin(HWND h);  // focus.cpp

}  // namespace zrui::detail

namespace {

std::u16string ClassNameFrom(LPCWSTR className) {
  if (!className) return {};
  if (IS_INTRESOURCE(className)) {
    // Atom 0x8002 is the dialog class, as on the original platform.
    if (reinterpret_cast<ULONG_PTR>(className) == 0x8002) return WC_DIALOGW;
    return {};
  }
  return className;
}

void Unlink(HWND h) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(h);
  if (!r) return;
  if (WindowRecord* p = WindowStore::find(r->parent)) {
    auto& c = p->children;
    c.erase(std::remove(c.begin(), c.end(), h), c.end());
  }
}

}  // namespace

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menuOrId,
                     HINSTANCE instance, LPVOID param) {
  auto ci = FindClass(ClassNameFrom(className));
  if (!ci) return nullptr;
  bool child = (style & WS_CHILD) != 0;
  if (child && !IsWindow(parent)) return nullptr;
  if (x == CW_USEDEFAULT) x = 0, y = 0;
  if (width == CW_USEDEFAULT) width = 400, height = 300;

  auto rec = std::make_unique<WindowRecord>();
  rec->className = ci->name;
  rec->proc = ci->proc;
  rec->style = style;
  rec->exStyle = exStyle;
  rec->id = child ? reinterpret_cast<UINT_PTR>(menuOrId) : 0;
  rec->rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
  rec->thread = std::this_thread::get_id();
  if (ci->name == WC_DIALOGW) rec->dialog = std::make_unique<DialogData>();
  HWND h;
  {
    std::lock_guard lock(WindowStore::mutex());
    if (child) {
      rec->parent = parent;
    } else if (parent) {
      // A top-level window's owner is the top-level ancestor of the parent.
      HWND o = parent;
      for (WindowRecord* p = WindowStore::find(o); p && (p->style & WS_CHILD);
           p = WindowStore::find(o))
        o = p->parent;
      rec->owner = o;
    }
    h = WindowStore::add(std::move(rec));
    if (child)
      if (WindowRecord* p = WindowStore::find(parent)) p->children.push_back(h);
  }
  if (tl_hook) {
    CreationHook hook = tl_hook;
    tl_hook = nullptr;
    hook(h, tl_hookContext);
  }

  CREATESTRUCTW cs;
  cs.lpCreateParams = param;
  cs.hInstance = instance;
  cs.hMenu = menuOrId;
  cs.hwndParent = parent;
  cs.x = x;
  cs.y = y;
  cs.cx = width;
  cs.cy = height;
  cs.style = static_cast<LONG>(style);
  cs.lpszName = windowName;
  cs.lpszClass = className;
  cs.dwExStyle = exStyle;
  if (!SendMessageW(h, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) ||
      SendMessageW(h, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(h);
    return nullptr;
  }
  if (!IsWindow(h)) return nullptr;
  RECT cr;
  GetClientRect(h, &cr);
  SendMessageW(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(static_cast<WORD>(cr.right), static_cast<WORD>(cr.bottom)));
  SendMessageW(h, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
  if (style & WS_VISIBLE) SendMessageW(h, WM_SHOWWINDOW, TRUE, 0);
  return h;
}

BOOL DestroyWindow(HWND h) {
  std::vector<HWND> children;
  std::vector<HWND> owned;
  {
    std::lock_guard lock(WindowStore::mutex());
    WindowRecord* r = WindowStore::find(h);
    if (!r || r->destroying || r->thread != std::this_thread::get_id()) return FALSE;
    r->destroying = true;
    children = r->children;
    for (HWND t : WindowStore::topLevelWindows())
      if (WindowRecord* o = WindowStore::find(t); o && o->owner == h) owned.push_back(t);
  }
  for (HWND o : owned) DestroyWindow(o);
  RemoveFocusWithin(h);
  if (GetCapture() == h) ReleaseCapture();
  SendMessageW(h, WM_DESTROY, 0, 0);
  for (HWND c : children) DestroyWindow(c);
  SendMessageW(h, WM_NCDESTROY, 0, 0);
  Unlink(h);
  KillTimersOf(h);
  std::unique_ptr<WindowRecord> gone;
  {
    std::lock_guard lock(WindowStore::mutex());
    gone = WindowStore::remove(h);
  }
  // The record (and the control state it owns) is freed outside the lock.
  gone.reset();
  return TRUE;
}

BOOL IsWindow(HWND h) {
  std::lock_guard lock(WindowStore::mutex());
  return WindowStore::find(h) != nullptr;
}
