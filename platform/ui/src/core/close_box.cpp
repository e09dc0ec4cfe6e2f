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

bool CloseBoxPress(HWND h, LPARAM l) {
  RECT box{};
  if (!CloseBoxRect(h, &box)) return false;
  POINT p{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
  ClientToScreen(h, &p);
  if (!PtInRect(&box, p)) return false;
  // Posted, as the platform's title bar does: the press's own handling ends
  // before the window goes.
  PostMessageW(h, WM_SYSCOMMAND, SC_CLOSE, 0);
  return true;
}

}  // namespace zrui::detail
