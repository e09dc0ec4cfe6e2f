// Keyboard focus, activation, mouse capture, key state, cursors, clipboard.
// Focus, activation and capture belong to a thread, as on the original
// platform: each user-interface thread has its own.
#include <atomic>
#include <map>
#include <mutex>

#include "core/hooks.h"
#include "core/message_queue.h"
#include "core/window_store.h"

using namespace zrui::detail;

namespace {

thread_local HWND tl_focus = nullptr;
thread_local HWND tl_active = nullptr;
thread_local HWND tl_capture = nullptr;
thread_local POINT tl_cursorPos{};

bool OwnedByThisThread(HWND h) {
  bool ok = false;
  auto tid = WindowThread(h, &ok);
  return ok && tid == std::this_thread::get_id();
}

}  // namespace

namespace zrui::detail {

namespace {
std::atomic<FocusLeavingHook> g_focusLeaving{nullptr};
}  // namespace

void SetFocusLeavingHook(FocusLeavingHook hook) { g_focusLeaving = hook; }

void MoveFocusOffUnusable(HWND h) {
  HWND f = GetFocus();
  if (!f || !(f == h || IsChild(h, f))) return;
  if (FocusLeavingHook hook = g_focusLeaving.load(); hook && (WindowStyle(h) & WS_CHILD)) hook(h, f);
  f = GetFocus();
  if (f && (f == h || IsChild(h, f))) SetFocus(nullptr);
}

void RemoveFocusWithin(HWND h) {
  if (tl_focus && (tl_focus == h || IsChild(h, tl_focus))) {
    HWND old = tl_focus;
    tl_focus = nullptr;
    SendMessageW(old, WM_KILLFOCUS, 0, 0);
  }
  if (tl_active == h) tl_active = nullptr;
}

}  // namespace zrui::detail

HWND GetFocus() {
  if (tl_focus && !IsWindow(tl_focus)) tl_focus = nullptr;
  return tl_focus;
}

HWND SetFocus(HWND h) {
  HWND old = GetFocus();
  if (h && !OwnedByThisThread(h)) return nullptr;
  if (h == old) return old;
  if (h) {
    HWND top = GetAncestor(h, GA_ROOT);
    if (top != tl_active) {
      // Activation first, as a click on an inactive window does.
      HWND prev = tl_active;
      tl_active = top;
      BringWindowToTop(top);
      if (prev && IsWindow(prev)) SendMessageW(prev, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(top));
      SendMessageW(top, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 1), reinterpret_cast<LPARAM>(prev));
      old = GetFocus();
      if (old == h) return old;
    }
  }
  tl_focus = h;
  if (old && IsWindow(old)) SendMessageW(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(h), 0);
  if (h && tl_focus == h && IsWindow(h)) SendMessageW(h, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return old;
}

HWND GetActiveWindow() {
  if (tl_active && !IsWindow(tl_active)) tl_active = nullptr;
  return tl_active;
}

HWND SetActiveWindow(HWND h) {
  HWND old = GetActiveWindow();
  if (h && !OwnedByThisThread(h)) return nullptr;
  if (h == old) return old;
  tl_active = h;
  if (h) BringWindowToTop(h);
  if (old) SendMessageW(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(h));
  if (h) SendMessageW(h, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(old));
  return old;
}

HWND SetCapture(HWND h) {
  HWND old = tl_capture;
  tl_capture = h;
  if (old && old != h && IsWindow(old)) SendMessageW(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(h));
  return old;
}

BOOL ReleaseCapture() {
  HWND old = tl_capture;
  tl_capture = nullptr;
  if (old && IsWindow(old)) SendMessageW(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() {
  if (tl_capture && !IsWindow(tl_capture)) tl_capture = nullptr;
  return tl_capture;
}

SHORT GetKeyState(int vk) {
  BYTE mods = CurrentModifiers();
  const WPARAM buttons = CurrentMouseButtons();
  bool down = (vk == static_cast<int>(VK_SHIFT) && (mods & kModShift)) ||
              (vk == static_cast<int>(VK_CONTROL) && (mods & kModControl)) ||
              (vk == static_cast<int>(VK_MENU) && (mods & kModAlt)) ||
              (vk == static_cast<int>(VK_LBUTTON) && (buttons & MK_LBUTTON)) ||
              (vk == static_cast<int>(VK_RBUTTON) && (buttons & MK_RBUTTON)) ||
              (vk == static_cast<int>(VK_MBUTTON) && (buttons & MK_MBUTTON));
  return down ? static_cast<SHORT>(0x8000) : 0;
}

SHORT GetAsyncKeyState(int vk) { return GetKeyState(vk); }

BOOL GetCursorPos(POINT* p) {
  if (!p) return FALSE;
  *p = tl_cursorPos;
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  tl_cursorPos = POINT{x, y};
  return TRUE;
}

// ---- cursors ----
namespace {

std::map<int, HCURSOR>& cursors() {
  static auto* m = new std::map<int, HCURSOR>;
  return *m;
}
std::mutex g_cursorMutex;
std::atomic<HCURSOR> g_cursor{nullptr};

}  // namespace

HCURSOR LoadCursorW(HINSTANCE, LPCWSTR name) {
  if (!IS_INTRESOURCE(name)) return nullptr;
  int id = static_cast<int>(reinterpret_cast<ULONG_PTR>(name));
  std::lock_guard lock(g_cursorMutex);
  auto& m = cursors();
  auto it = m.find(id);
  if (it != m.end()) return it->second;
  // Each standard cursor is a distinct handle whose value encodes its id.
  HCURSOR c = reinterpret_cast<HCURSOR>(new int(id));
  m.emplace(id, c);
  return c;
}

int CursorId(HCURSOR c) { return c ? *reinterpret_cast<int*>(c) : 0; }

HCURSOR SetCursor(HCURSOR c) { return g_cursor.exchange(c); }
HCURSOR GetCursor() { return g_cursor.load(); }

// ---- clipboard and beeps ----
namespace {
std::mutex g_clipMutex;
std::u16string& clip() {
  static auto* s = new std::u16string;
  return *s;
}
std::atomic<int> g_beeps{0};
}  // namespace

void SetClipboardText(const std::u16string& text) {
  std::lock_guard lock(g_clipMutex);
  clip() = text;
}

std::u16string GetClipboardText() {
  std::lock_guard lock(g_clipMutex);
  return clip();
}

BOOL MessageBeep(UINT) {
  ++g_beeps;
  return TRUE;
}

int MessageBeepCount() { return g_beeps; }
