#include "zrterm/placement.h"

#include <algorithm>
#include <map>

#include "zrui/input.h"
#include "zrui/winapi.h"

namespace zrterm {

namespace {

bool isDialog(HWND h) {
  return (static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE)) & WS_CAPTION) == WS_CAPTION;
}

// Moves a window rectangle by as little as it takes to lie inside
// [0, limit) on one axis; one that is larger keeps its start at 0.
LONG keepInside(LONG start, LONG length, LONG limit) { return std::max<LONG>(0, std::min(start, limit - length)); }

}  // namespace

void placeWindows(Size terminal) {
  const int width = terminal.width * kCellWidth, height = terminal.height * kCellHeight;
  SetScreenSize(width, height);
  // How far each dialog moved: its popups follow.
  std::map<HWND, POINT> moved;
  for (HWND h : zrui::TopLevelWindows()) {
    RECT r{};
    GetWindowRect(h, &r);
    const LONG w = r.right - r.left, hgt = r.bottom - r.top;
    HWND owner = GetWindow(h, GW_OWNER);
    HWND ownerRoot = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    POINT to{r.left, r.top};
    if (isDialog(h)) {
      RECT around{0, 0, width, height};
      if (ownerRoot) GetWindowRect(ownerRoot, &around);
      to = {around.left + (around.right - around.left - w) / 2, around.top + (around.bottom - around.top - hgt) / 2};
      // On whole cells, as the toolkit places dialogs.
      to.x = to.x / kCellWidth * kCellWidth;
      to.y = to.y / kCellHeight * kCellHeight;
    } else if (auto m = moved.find(ownerRoot); m != moved.end()) {
      to = {r.left + m->second.x, r.top + m->second.y};
    }
    to = {keepInside(to.x, w, width), keepInside(to.y, hgt, height)};
    moved[h] = {to.x - r.left, to.y - r.top};
    if (to.x != r.left || to.y != r.top) SetWindowPos(h, nullptr, to.x, to.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

}  // namespace zrterm
