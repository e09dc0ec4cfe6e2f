#include "zrterm/viewport.h"

#include <algorithm>

namespace zrterm {

namespace {

// One axis: the box [low, high) in a screen of length `screen` shown through
// `view` cells from `offset`.
int panAxis(int low, int high, int screen, int view, int offset) {
  const int most = std::max(0, screen - view);
  if (high > offset + view) offset = high - view;
  if (low < offset) offset = low;
  return std::clamp(offset, 0, most);
}

}  // namespace

Point panToShow(const Box& focus, Size screen, Size terminal, Point current) {
  return {panAxis(focus.left, focus.right, screen.width, terminal.width, current.x),
          panAxis(focus.top, focus.bottom, screen.height, terminal.height, current.y)};
}

}  // namespace zrterm
