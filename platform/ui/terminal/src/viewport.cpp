#include "zrterm/viewport.h"

#include <algorithm>

namespace zrterm {

namespace {

// One axis: the box [low, high) in a screen of length `screen` shown through
// `view` cells from `offset`.
int panAxis(int low, int high, int screen, int view, int offset) {
  const int most = std::max(0, screen - view);
  if (high - low > view) {
    // Larger than the view: shown from its start, and left alone while
    // its start is in view.
    if (low < offset || low >= offset + view) offset = low;
  } else {
    if (high > offset + view) offset = high - view;
    if (low < offset) offset = low;
  }
  return std::clamp(offset, 0, most);
}

}  // namespace

Point panToShow(const Box& focus, Size screen, Size terminal, Point current) {
  return {panAxis(focus.left, focus.right, screen.width, terminal.width, current.x),
          panAxis(focus.top, focus.bottom, screen.height, terminal.height, current.y)};
}

std::optional<Point> View::screenCell(Point at) const {
  const Size body = shown();
  if (at.x < 0 || at.y < 0 || at.x >= body.width || at.y >= body.height) return std::nullopt;
  if (pinned && at.y == 0) return Point{at.x + pan.x, captionRow};
  return Point{at.x + pan.x, at.y + pan.y};
}

std::optional<Point> View::terminalCell(Point s) const {
  const Size body = shown();
  const int x = s.x - pan.x;
  if (x < 0 || x >= body.width) return std::nullopt;
  if (pinned && s.y == captionRow) return Point{x, 0};
  const int y = s.y - pan.y;
  if (y < (pinned ? 1 : 0) || y >= body.height) return std::nullopt;
  return Point{x, y};
}

View chooseView(const Box& dialog, const std::optional<Box>& focus, Size screen, Size terminal, const View& current,
                bool fresh) {
  View view;
  view.terminal = terminal;
  const int width = dialog.right - dialog.left, height = dialog.bottom - dialog.top;
  view.pinned = height > terminal.height && terminal.height >= kMinRowsToPin;
  view.captionRow = dialog.top;
  const int skip = view.pinned ? 1 : 0;
  // Each bar takes a row or a column from the other direction.
  view.vertical = height > terminal.height;
  view.horizontal = width > terminal.width - (view.vertical ? 1 : 0);
  if (!view.vertical && view.horizontal) view.vertical = height > terminal.height - 1;
  const Size shown = view.shown();
  // Below a pinned caption the rows from pan.y + 1 show through one row less.
  const Size body{shown.width, shown.height - skip};
  const bool samePin = !fresh && current.pinned == view.pinned && current.terminal == terminal;
  Point from = fresh ? Point{dialog.left, dialog.top + skip}
                     : Point{current.pan.x, current.pan.y + (current.pinned ? 1 : 0)};
  if (!samePin && !fresh) from.y = std::max(from.y, dialog.top + skip);
  // The dialog's top-left corner when nothing has the focus.
  const Box wanted = focus ? *focus : Box{dialog.left, dialog.top, dialog.left + 1, dialog.top + 1};
  // The extent the view may move over: the screen and the bars' cells.
  Point at = panToShow(wanted, screen, body, from);
  if (view.pinned) at.y = std::max(at.y, dialog.top + 1);
  view.pan = {at.x, at.y - skip};
  return view;
}

Hidden hiddenSides(const View& view, const Box& dialog) {
  const Size shown = view.shown();
  Hidden h;
  h.left = dialog.left < view.pan.x;
  h.right = dialog.right > view.pan.x + shown.width;
  h.top = view.pinned ? dialog.top + 1 < view.pan.y + 1 : dialog.top < view.pan.y;
  h.bottom = dialog.bottom > view.pan.y + shown.height;
  return h;
}

View scrolled(const View& view, const Box& dialog, int rows) {
  View v = view;
  const int top = view.pinned ? dialog.top : std::min(dialog.top, view.pan.y);
  const int most = std::max(top, dialog.bottom - view.shown().height);
  v.pan.y = std::clamp(view.pan.y + rows, top, most);
  return v;
}

View scrolledSideways(const View& view, const Box& dialog, int columns) {
  View v = view;
  const int left = std::min(dialog.left, view.pan.x);
  const int most = std::max(left, dialog.right - view.shown().width);
  v.pan.x = std::clamp(view.pan.x + columns, left, most);
  return v;
}

}  // namespace zrterm
