// Raw user input by screen point, as a front end (terminal, window system)
// delivers it. Each call queues the message(s) for the thread that owns the
// target window, exactly like real input: the loop that pumps that queue
// (modal loop, zrui::Pump, GetMessageW) processes them with the dialog keys,
// PreTranslateMessage and translation of keys into characters. Nothing is
// processed before the call returns.
//
// Routing, as on the platform this toolkit mirrors:
// - mouse messages go to the window holding the capture (this thread's), else
//   to the window under the point: top-level windows in z-order (a popup
//   such as a dropped list is hit like any window), then their visible
//   children, the last created on top;
// - a press on a window whose top-level window (or the window itself, or a
//   parent) is disabled is dropped, with a beep when a modal dialog disables
//   that window; a press on an inactive top-level window activates it first,
//   and a press on any top-level window brings it to the top of the z-order
//   with the windows it owns above it (a modal dialog stays over its owner);
//   windows with WS_EX_NOACTIVATE (dropped lists) are neither activated nor
//   raised;
// - keys and characters go to the window that has the focus (else the
//   active window) when the loop takes them from the queue, so a press
//   queued before them may move the focus first; the functions return the
//   focus at the time of the call;
// - the wheel goes to the window holding the capture (an open drop-down
//   list), else the enabled window under the pointer, else the focus;
//   windows that do not handle it pass it to their parent (DefWindowProcW).
//   Lists, trees and open combo lists scroll three rows a notch; a closed
//   combo passes it on (deviation: the platform mirrored sends the wheel to
//   the focus, where a closed combo changes its choice).
// Focus moves as the controls move it when they get the press (a control
// that takes the focus calls SetFocus: WM_KILLFOCUS to the old focus, then
// WM_SETFOCUS to the new one).
//
// REQUIRES: called on the thread that owns the windows (a front end reads its
// input in the loop's idle handler or in a watched-descriptor callback).
#pragma once

#include <vector>

#include "zrui/winapi.h"

namespace zrui {

// Modifier keys held during an input event.
struct Keys {
  bool shift = false;
  bool control = false;
  bool alt = false;
};

enum class MouseButton { Left, Right, Middle };

// The visible top-level windows, bottom to top: the z-order that hit-testing
// walks from the top and RenderScreen paints from the bottom. A new window
// starts on top; activation, a press, BringWindowToTop and SetWindowPos with
// HWND_TOP raise one; WS_EX_TOPMOST windows (tooltips) stay above the rest.
std::vector<HWND> TopLevelWindows();

// The window a mouse event at the screen point would reach (capture aside);
// nullptr over the bare screen. Hidden windows are never hit.
HWND HitTest(POINT screen);

// Each returns the window the message was queued for, nullptr when the event
// was dropped (nothing under the point, or a disabled window).
// A press; `doubleClick` makes it the second press of a double click
// (WM_xBUTTONDBLCLK), as the front end recognises them.
HWND InputMousePress(POINT screen, MouseButton button, Keys keys = {}, bool doubleClick = false);
HWND InputMouseRelease(POINT screen, MouseButton button, Keys keys = {});
HWND InputMouseMove(POINT screen, Keys keys = {});
// One notch is 120 (WHEEL_DELTA); positive turns away from the user (up).
HWND InputMouseWheel(POINT screen, int delta, Keys keys = {});
// A key going down (WM_KEYDOWN; translated to WM_CHAR when processed, for
// the keys that give one) and up.
HWND InputKeyDown(UINT vk, Keys keys = {});
HWND InputKeyUp(UINT vk, Keys keys = {});
// A character the front end decoded itself (any UTF-16 unit): WM_CHAR.
HWND InputChar(char16_t ch, Keys keys = {});

}  // namespace zrui
