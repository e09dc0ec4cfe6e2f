// Window rectangles, coordinate conversion and rectangle helpers.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <mutex>

#include "core/window_store.h"
#include "zrui/metrics.h"

using namespace zrui::detail;

namespace {

std::atomic<int> g_screenWidth{1280};
std::atomic<int> g_screenHeight{1024};
// Asked for the screen's size each time when set (a front end whose screen
// is a terminal that may be resized at any moment).
std::mutex g_sourceMutex;
std::function<SIZE()> g_screenSource;

SIZE ScreenSize() {
  std::function<SIZE()> source;
  {
    std::lock_guard lock(g_sourceMutex);
    source = g_screenSource;
  }
  if (source) {
    const SIZE s = source();
    if (s.cx > 0 && s.cy > 0) return s;
  }
  return SIZE{g_screenWidth, g_screenHeight};
}

// Screen position of the window's top-left corner. REQUIRES: lock held.
POINT WindowOriginLocked(WindowRecord* r) {
  POINT p{r->rect.left, r->rect.top};
  if (!(r->style & WS_CHILD)) return p;
  WindowRecord* parent = WindowStore::find(r->parent);
  if (!parent) return p;
  POINT po = WindowOriginLocked(parent);
  RECT in = FrameInsetsOf(parent);
  return POINT{p.x + po.x + in.left, p.y + po.y + in.top};
}

// Screen position of the client area's top-left corner. REQUIRES: lock held.
POINT ClientOriginLocked(WindowRecord* r) {
  POINT o = WindowOriginLocked(r);
  RECT in = FrameInsetsOf(r);
  return POINT{o.x + in.left, o.y + in.top};
}

bool ClientOrigin(HWND h, POINT* out) {
  if (!h) {
    *out = POINT{};
    return true;
  }
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(h);
  if (!r) return false;
  *out = ClientOriginLocked(r);
  return true;
}

}  // namespace

BOOL GetWindowRect(HWND h, RECT* out) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(h);
  if (!r || !out) return FALSE;
  POINT o = WindowOriginLocked(r);
  *out = RECT{o.x, o.y, o.x + (r->rect.right - r->rect.left), o.y + (r->rect.bottom - r->rect.top)};
  return TRUE;
}

BOOL GetClientRect(HWND h, RECT* out) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(h);
  if (!r || !out) return FALSE;
  RECT in = FrameInsetsOf(r);
  int w = r->rect.right - r->rect.left - in.left - in.right;
  int hgt = r->rect.bottom - r->rect.top - in.top - in.bottom;
  *out = RECT{0, 0, std::max(w, 0), std::max(hgt, 0)};
  return TRUE;
}

BOOL ClientToScreen(HWND h, POINT* p) {
  POINT o;
  if (!p || !ClientOrigin(h, &o)) return FALSE;
  p->x += o.x;
  p->y += o.y;
  return TRUE;
}

BOOL ScreenToClient(HWND h, POINT* p) {
  POINT o;
  if (!p || !ClientOrigin(h, &o)) return FALSE;
  p->x -= o.x;
  p->y -= o.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* pts, UINT count) {
  POINT a, b;
  if (!ClientOrigin(from, &a) || !ClientOrigin(to, &b)) return 0;
  int dx = a.x - b.x, dy = a.y - b.y;
  for (UINT i = 0; i < count; ++i) {
    pts[i].x += dx;
    pts[i].y += dy;
  }
  return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

BOOL SetWindowPos(HWND h, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  WINDOWPOS wp;
  RECT old;
  {
    std::lock_guard lock(WindowStore::mutex());
    WindowRecord* r = WindowStore::find(h);
    if (!r) return FALSE;
    old = r->rect;
  }
  wp.hwnd = h;
  wp.x = (flags & SWP_NOMOVE) ? old.left : x;
  wp.y = (flags & SWP_NOMOVE) ? old.top : y;
  wp.cx = (flags & SWP_NOSIZE) ? old.right - old.left : std::max(cx, 0);
  wp.cy = (flags & SWP_NOSIZE) ? old.bottom - old.top : std::max(cy, 0);
  wp.flags = flags;
  SendMessageW(h, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
  {
    std::lock_guard lock(WindowStore::mutex());
    WindowRecord* r = WindowStore::find(h);
    if (!r) return FALSE;
    r->rect = RECT{wp.x, wp.y, wp.x + wp.cx, wp.y + wp.cy};
    MarkDirty(r);
    // Only the top of the z-order is placed on request (HWND_TOP).
    if (!(flags & SWP_NOZORDER) && !insertAfter) WindowStore::raise(h);
  }
  if (flags & SWP_SHOWWINDOW) ShowWindow(h, SW_SHOWNA);
  if (flags & SWP_HIDEWINDOW) ShowWindow(h, SW_HIDE);
  bool moved = wp.x != old.left || wp.y != old.top;
  bool sized = wp.cx != old.right - old.left || wp.cy != old.bottom - old.top;
  if (!moved) wp.flags |= SWP_NOMOVE;
  if (!sized) wp.flags |= SWP_NOSIZE;
  SendMessageW(h, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
  return TRUE;
}

BOOL BringWindowToTop(HWND h) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(h);
  if (!r) return FALSE;
  // A child raises its top-level window, as on the original platform.
  while ((r->style & WS_CHILD) && WindowStore::find(r->parent)) r = WindowStore::find(r->parent);
  WindowStore::raise(r->handle);
  return TRUE;
}

BOOL MoveWindow(HWND h, int x, int y, int width, int height, BOOL) {
  return SetWindowPos(h, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND ChildWindowFromPoint(HWND parent, POINT client) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* p = WindowStore::find(parent);
  if (!p) return nullptr;
  // Later children are drawn over earlier ones (group boxes come first).
  for (auto it = p->children.rbegin(); it != p->children.rend(); ++it) {
    WindowRecord* c = WindowStore::find(*it);
    if (!c || !(c->style & WS_VISIBLE)) continue;
    const RECT& rc = c->rect;
    if (client.x >= rc.left && client.x < rc.right && client.y >= rc.top && client.y < rc.bottom)
      return *it;
  }
  return parent;
}

HWND WindowFromPoint(POINT screen) {
  std::vector<HWND> tops;
  {
    std::lock_guard lock(WindowStore::mutex());
    tops = WindowStore::topLevelWindows();
  }
  // The top of the z-order first.
  for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
    RECT r;
    if (!IsWindowVisible(*it) || !GetWindowRect(*it, &r) || !PtInRect(&r, screen)) continue;
    HWND h = *it;
    for (;;) {
      POINT c = screen;
      ScreenToClient(h, &c);
      HWND child = ChildWindowFromPoint(h, c);
      if (!child || child == h) return h;
      h = child;
    }
  }
  return nullptr;
}

void SetScreenSize(int width, int height) {
  g_screenWidth = width;
  g_screenHeight = height;
}

void SetScreenSizeSource(std::function<SIZE()> source) {
  std::lock_guard lock(g_sourceMutex);
  g_screenSource = std::move(source);
}

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN: return ScreenSize().cx;
    case SM_CYSCREEN: return ScreenSize().cy;
    case SM_CXVSCROLL: return zrui::GetMetrics().scrollBarWidth;
    case SM_CYHSCROLL: return zrui::GetMetrics().scrollBarHeight;
  }
  return 0;
}

// ---- rectangle helpers ----
BOOL SetRect(RECT* r, int l, int t, int rt, int b) {
  if (!r) return FALSE;
  *r = RECT{l, t, rt, b};
  return TRUE;
}
BOOL SetRectEmpty(RECT* r) { return SetRect(r, 0, 0, 0, 0); }
BOOL IsRectEmpty(const RECT* r) { return !r || r->right <= r->left || r->bottom <= r->top; }
BOOL PtInRect(const RECT* r, POINT p) {
  return r && p.x >= r->left && p.x < r->right && p.y >= r->top && p.y < r->bottom;
}
BOOL OffsetRect(RECT* r, int dx, int dy) {
  if (!r) return FALSE;
  r->left += dx;
  r->right += dx;
  r->top += dy;
  r->bottom += dy;
  return TRUE;
}
BOOL InflateRect(RECT* r, int dx, int dy) {
  if (!r) return FALSE;
  r->left -= dx;
  r->right += dx;
  r->top -= dy;
  r->bottom += dy;
  return TRUE;
}
BOOL IntersectRect(RECT* out, const RECT* a, const RECT* b) {
  RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
         std::min(a->bottom, b->bottom)};
  if (IsRectEmpty(&r)) {
    *out = RECT{};
    return FALSE;
  }
  *out = r;
  return TRUE;
}
BOOL UnionRect(RECT* out, const RECT* a, const RECT* b) {
  if (IsRectEmpty(a)) *out = *b;
  else if (IsRectEmpty(b)) *out = *a;
  else
    *out = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                std::max(a->bottom, b->bottom)};
  return !IsRectEmpty(out);
}
BOOL EqualRect(const RECT* a, const RECT* b) {
  return a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}
BOOL CopyRect(RECT* out, const RECT* in) {
  if (!out || !in) return FALSE;
  *out = *in;
  return TRUE;
}
int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  long long p = static_cast<long long>(number) * numerator;
  // Rounds half away from zero, as the original does.
  long long q = (std::llabs(p) + std::llabs(static_cast<long long>(denominator)) / 2) /
                std::llabs(static_cast<long long>(denominator));
  bool negative = (p < 0) != (denominator < 0);
  return static_cast<int>(negative ? -q : q);
}
