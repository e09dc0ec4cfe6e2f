// Raw input by screen point: hit-testing, capture, activation, and the keys
// and characters that go to the focus window (see zrui/input.h).
#include "core/input_routing.h"

#include "core/message_queue.h"
#include "core/window_store.h"
#include "zrui/input.h"

using namespace zrui::detail;

namespace zrui::detail {
namespace {

// Buttons held down by this thread's input, as MK_ flags.
thread_local WPARAM tl_buttons = 0;

LPARAM PackPoint(POINT p) { return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)); }

}  // namespace

bool CanTakeInput(HWND h) {
  if (!IsWindow(h) || !IsWindowVisible(h)) return false;
  for (HWND a = h; a; a = (WindowStyle(a) & WS_CHILD) ? GetParent(a) : nullptr)
    if (!IsWindowEnabled(a)) return false;
  return true;
}

WPARAM MouseKeyFlags(BYTE mods) {
  return tl_buttons | ((mods & kModShift) ? MK_SHIFT : 0) | ((mods & kModControl) ? MK_CONTROL : 0);
}

HWND PostMouseTo(HWND target, UINT msg, WPARAM flags, POINT client, BYTE mods) {
  HWND cap = GetCapture();
  if (cap && cap != target) {
    ClientToScreen(target, &client);
    ScreenToClient(cap, &client);
    target = cap;
  }
  POINT screen = client;
  ClientToScreen(target, &screen);
  SetCursorPos(screen.x, screen.y);
  return PostInput(target, msg, flags, PackPoint(client), mods) ? target : nullptr;
}

}  // namespace zrui::detail

namespace zrui {
namespace {

BYTE Mods(Keys k) {
  return static_cast<BYTE>((k.shift ? kModShift : 0) | (k.control ? kModControl : 0) | (k.alt ? kModAlt : 0));
}

WPARAM ButtonFlag(MouseButton b) {
  switch (b) {
    case MouseButton::Left: return MK_LBUTTON;
    case MouseButton::Right: return MK_RBUTTON;
    case MouseButton::Middle: return MK_MBUTTON;
  }
  return 0;
}

UINT PressMessage(MouseButton b, bool dbl) {
  switch (b) {
    case MouseButton::Left: return dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
    case MouseButton::Right: return dbl ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN;
    case MouseButton::Middle: return dbl ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN;
  }
  return 0;
}

UINT ReleaseMessage(MouseButton b) {
  switch (b) {
    case MouseButton::Left: return WM_LBUTTONUP;
    case MouseButton::Right: return WM_RBUTTONUP;
    case MouseButton::Middle: return WM_MBUTTONUP;
  }
  return 0;
}

POINT ToClient(HWND h, POINT screen) {
  ScreenToClient(h, &screen);
  return screen;
}

// The window under the point that may take the mouse: the capture aside,
// a press or move on a disabled window (or one inside a disabled window)
// goes nowhere. A press on a window disabled by a modal dialog beeps.
HWND MouseTarget(POINT screen, bool press) {
  HWND h = HitTest(screen);
  if (!h) return nullptr;
  if (CanTakeInput(h)) return h;
  if (press && !IsWindowEnabled(GetAncestor(h, GA_ROOT))) MessageBeep(0);
  return nullptr;
}

HWND KeyTarget() {
  HWND h = GetFocus();
  return h ? h : GetActiveWindow();
}

}  // namespace

HWND HitTest(POINT screen) { return WindowFromPoint(screen); }

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> all;
  {
    std::lock_guard lock(WindowStore::mutex());
    all = WindowStore::topLevelWindows();
  }
  std::erase_if(all, [](HWND h) { return !IsWindowVisible(h); });
  return all;
}

HWND InputMousePress(POINT screen, MouseButton button, Keys keys, bool doubleClick) {
  HWND target = GetCapture();
  if (!target) {
    target = MouseTarget(screen, true);
    if (!target) return nullptr;
    // A press on an inactive top-level window activates it first, and a
    // press on any top-level window brings it to the top; popups that take
    // no activation (a dropped list) stay as they are.
    HWND root = GetAncestor(target, GA_ROOT);
    bool activates = root && !(GetWindowLongPtrW(root, GWL_EXSTYLE) & WS_EX_NOACTIVATE);
    if (activates && root != GetActiveWindow()) SetActiveWindow(root);
    if (activates) BringWindowToTop(root);
  }
  BYTE mods = Mods(keys);
  detail::tl_buttons |= ButtonFlag(button);
  return PostMouseTo(target, PressMessage(button, doubleClick), MouseKeyFlags(mods), ToClient(target, screen), mods);
}

HWND InputMouseRelease(POINT screen, MouseButton button, Keys keys) {
  detail::tl_buttons &= ~ButtonFlag(button);
  HWND target = GetCapture();
  if (!target) target = MouseTarget(screen, false);
  if (!target) return nullptr;
  BYTE mods = Mods(keys);
  return PostMouseTo(target, ReleaseMessage(button), MouseKeyFlags(mods), ToClient(target, screen), mods);
}

HWND InputMouseMove(POINT screen, Keys keys) {
  SetCursorPos(screen.x, screen.y);
  HWND target = GetCapture();
  if (!target) target = MouseTarget(screen, false);
  if (!target) return nullptr;
  BYTE mods = Mods(keys);
  return PostMouseTo(target, WM_MOUSEMOVE, MouseKeyFlags(mods), ToClient(target, screen), mods);
}

HWND InputMouseWheel(POINT screen, int delta, Keys keys) {
  // A window tracking the mouse (an open drop-down list) takes the wheel too.
  HWND target = GetCapture();
  if (!target) target = MouseTarget(screen, false);
  if (!target) target = GetFocus();
  if (!target) return nullptr;
  BYTE mods = Mods(keys);
  SetCursorPos(screen.x, screen.y);
  // The wheel carries screen coordinates, as on the platform mirrored.
  WPARAM w = MAKEWPARAM(static_cast<WORD>(MouseKeyFlags(mods)), static_cast<WORD>(static_cast<short>(delta)));
  LPARAM l = MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y));
  return PostInput(target, WM_MOUSEWHEEL, w, l, mods) ? target : nullptr;
}

HWND InputKeyDown(UINT vk, Keys keys) {
  HWND target = KeyTarget();
  if (!target) return nullptr;
  return PostKeyboardInput(WM_KEYDOWN, vk, 1, Mods(keys)) ? target : nullptr;
}

HWND InputKeyUp(UINT vk, Keys keys) {
  HWND target = KeyTarget();
  if (!target) return nullptr;
  return PostKeyboardInput(WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u), Mods(keys)) ? target : nullptr;
}

HWND InputChar(char16_t ch, Keys keys) {
  HWND target = KeyTarget();
  if (!target) return nullptr;
  return PostKeyboardInput(WM_CHAR, ch, 1, Mods(keys)) ? target : nullptr;
}

}  // namespace zrui
