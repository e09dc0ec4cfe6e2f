#include "core/close_box.h"

#include "core/window_store.h"
#include "zrui/gdi.h"

namespace zrui::detail {

bool CloseBoxRect(HWND h, RECT* screen) {
  const DWORD style = WindowStyle(h);
  if ((style & WS_CHILD) || (style & WS_CAPTION) != WS_CAPTION) return false;
  RECT wr{};
  if (!GetWindowRect(h, &wr)) return false;
  const RECT in = FrameInsets(style, false);
  // Three cells, a cell of frame after them, and room for the caption's
  // start before them.
  if (wr.right - wr.left < 8 * kCharWidth || in.top <= 0) return false;
  *screen = RECT{wr.right - 4 * kCharWidth, wr.top, wr.right - kCharWidth, wr.top + in.top};
  return true;
}

namespace {

// The window whose close box the left button was pressed on; null when none.
thread_local HWND tl_pressed = nullptr;

bool InCloseBox(HWND h, LPARAM l) {
  RECT box{};
  if (!CloseBoxRect(h, &box)) return false;
  POINT p{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
  ClientToScreen(h, &p);
  return PtInRect(&box, p) != FALSE;
}

}  // namespace

bool CloseBoxPress(HWND h, LPARAM l) {
  if (!InCloseBox(h, l)) return false;
  // The close command comes with the release over the box, as on the
  // platform: a press taken off the box before its release closes nothing.
  tl_pressed = h;
  SetCapture(h);
  return true;
}

bool CloseBoxRelease(HWND h, LPARAM l) {
  if (tl_pressed != h) return false;
  tl_pressed = nullptr;
  if (GetCapture() == h) ReleaseCapture();
  // Posted, as the platform's title bar does: the release's own handling
  // ends before the window goes.
  if (InCloseBox(h, l)) PostMessageW(h, WM_SYSCOMMAND, SC_CLOSE, 0);
  return true;
}

void CloseBoxCaptureLost(HWND h) {
  if (tl_pressed == h) tl_pressed = nullptr;
}

}  // namespace zrui::detail
