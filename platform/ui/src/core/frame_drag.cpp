#include "core/frame_drag.h"

#include <algorithm>

#include "core/window_store.h"
#include "zrui/gdi.h"

namespace zrui::detail {

namespace {

struct Drag {
  HWND h = nullptr;
  UINT edge = 0;
  POINT anchor{};  // screen point of the press
  RECT start{};    // window rectangle at the press
};

// Windows belong to their thread, and so does a drag of one.
thread_local Drag tl_drag;

// The sizing edge (WMSZ_*) under a screen point on the frame, 0 elsewhere.
UINT EdgeAt(HWND h, POINT screen) {
  RECT window{};
  GetWindowRect(h, &window);
  RECT client{};
  GetClientRect(h, &client);
  POINT origin{0, 0};
  ClientToScreen(h, &origin);
  OffsetRect(&client, origin.x, origin.y);
  if (!PtInRect(&window, screen) || PtInRect(&client, screen)) return 0;
  const bool left = screen.x < client.left, right = screen.x >= client.right;
  const bool top = screen.y < client.top, bottom = screen.y >= client.bottom;
  if (top) return left ? WMSZ_TOPLEFT : right ? WMSZ_TOPRIGHT : 0;  // the caption between the corners
  if (bottom) return left ? WMSZ_BOTTOMLEFT : right ? WMSZ_BOTTOMRIGHT : WMSZ_BOTTOM;
  return left ? WMSZ_LEFT : WMSZ_RIGHT;
}

void Track(POINT screen) {
  const Drag& d = tl_drag;
  RECT r = d.start;
  const int dx = screen.x - d.anchor.x, dy = screen.y - d.anchor.y;
  const UINT e = d.edge;
  const bool left = e == WMSZ_LEFT || e == WMSZ_TOPLEFT || e == WMSZ_BOTTOMLEFT;
  const bool right = e == WMSZ_RIGHT || e == WMSZ_TOPRIGHT || e == WMSZ_BOTTOMRIGHT;
  const bool top = e == WMSZ_TOPLEFT || e == WMSZ_TOPRIGHT;
  const bool bottom = e == WMSZ_BOTTOM || e == WMSZ_BOTTOMLEFT || e == WMSZ_BOTTOMRIGHT;
  if (left) r.left += dx;
  if (right) r.right += dx;
  if (top) r.top += dy;
  if (bottom) r.bottom += dy;
  // The limits first (the frame and caption stay whole), then the window's
  // own say on the rectangle.
  MINMAXINFO mmi{};
  const RECT insets = FrameInsets(WindowStyle(d.h), false, 0, 0);
  mmi.ptMinTrackSize = POINT{insets.left + insets.right + 2 * kCharWidth, insets.top + insets.bottom + kCharHeight};
  mmi.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SendMessageW(d.h, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  const int width = std::clamp<int>(r.right - r.left, mmi.ptMinTrackSize.x, std::max(mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x));
  const int height = std::clamp<int>(r.bottom - r.top, mmi.ptMinTrackSize.y, std::max(mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y));
  if (left) r.left = r.right - width;
  else r.right = r.left + width;
  if (top) r.top = r.bottom - height;
  else r.bottom = r.top + height;
  SendMessageW(d.h, WM_SIZING, e, reinterpret_cast<LPARAM>(&r));
  RECT now{};
  GetWindowRect(d.h, &now);
  if (EqualRect(&now, &r)) return;
  SetWindowPos(d.h, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

bool FrameDragMessage(HWND h, UINT msg, LPARAM l) {
  const bool dragging = tl_drag.h == h;
  switch (msg) {
    case WM_LBUTTONDOWN: {
      if ((WindowStyle(h) & (WS_CHILD | WS_THICKFRAME)) != WS_THICKFRAME) return false;
      POINT p{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
      ClientToScreen(h, &p);
      const UINT edge = EdgeAt(h, p);
      if (!edge) return false;
      tl_drag = Drag{h, edge, p, {}};
      GetWindowRect(h, &tl_drag.start);
      SetCapture(h);
      return true;
    }
    case WM_MOUSEMOVE: {
      if (!dragging) return false;
      // Where the pointer is now: moves queued before an earlier one moved
      // the window carry points in its old client coordinates.
      POINT p{};
      GetCursorPos(&p);
      Track(p);
      return true;
    }
    case WM_LBUTTONUP:
      if (!dragging) return false;
      tl_drag = Drag{};
      if (GetCapture() == h) ReleaseCapture();
      return true;
    case WM_CAPTURECHANGED:
      if (dragging) tl_drag = Drag{};
      return dragging;
  }
  return false;
}

}  // namespace zrui::detail
