#include "zrterm/screen_painter.h"

#include <ncursesw/curses.h>
#include <wchar.h>

namespace zrterm {

namespace {

attr_t cursesAttributes(unsigned a) {
  attr_t c = A_NORMAL;
  if (a & kBold) c |= A_BOLD;
  if (a & kUnderline) c |= A_UNDERLINE;
  if (a & kDim) c |= A_DIM;
  if (a & kReverse) c |= A_REVERSE;
  return c;
}

}  // namespace

std::pair<int, unsigned> ScreenPainter::style(const Cell& cell) {
  if (depth_ == ColourDepth::kMonochrome)
    return {0, cell.attributes | monochromeAttributes(cell.fg, cell.bg)};
  const TermColour fg = mapColour(cell.fg, depth_);
  TermColour bg = mapColour(cell.bg, depth_);
  unsigned attributes = cell.attributes;
  if (fg.bright) attributes |= kBold;
  // Text the same colour as its ground (grey on the grey that white stands
  // for in 8 colours, say) would vanish: black keeps it readable.
  short fgIndex = fg.index;
  if (fgIndex == bg.index && !fg.bright) fgIndex = bg.index == 0 ? 7 : 0;
  const auto key = std::make_pair(fgIndex, bg.index);
  auto it = pairs_.find(key);
  if (it == pairs_.end()) {
    const int pair = alloc_pair(fgIndex, bg.index);
    it = pairs_.emplace(key, pair < 0 ? 0 : pair).first;
  }
  return {it->second, attributes};
}

int ScreenPainter::paint(const CellGrid& grid, Point pan, std::optional<Point> caret) {
  const int rows = LINES, columns = COLS;
  if (shown_.width() != columns || shown_.height() != rows) {
    // Unknown contents: a cell no grid can hold forces every write.
    shown_ = CellGrid(columns, rows, Cell{U'\uFFFF', 1, 1, 0xFFFF});
    clearok(curscr, TRUE);
  }
  int written = 0;
  const Cell blank{U' ', rgb(0, 0, 0), rgb(0, 0, 0), 0};
  auto cellAt = [&](int x, int y) -> const Cell& {
    const int gx = x + pan.x, gy = y + pan.y;
    return gx < grid.width() && gy < grid.height() && gx >= 0 && gy >= 0 ? grid.at(gx, gy) : blank;
  };
  for (int y = 0; y < rows; ++y) {
    for (int x = 0; x < columns; ++x) {
      Cell cell = cellAt(x, y);
      // A wide character with its right half beside it takes both cells;
      // any other half (cut by the pan, the edge or a window over it) is
      // a blank, so that the terminal never gets half of one.
      const bool wide = cell.ch != kWideRight && x + 1 < columns && cellAt(x + 1, y).ch == kWideRight &&
                        wcwidth(static_cast<wchar_t>(cell.ch)) == 2;
      if (!wide && (cell.ch == kWideRight || wcwidth(static_cast<wchar_t>(cell.ch)) > 1)) cell.ch = U' ';
      if (shown_.at(x, y) == cell && (!wide || shown_.at(x + 1, y) == cellAt(x + 1, y))) {
        if (wide) ++x;
        continue;
      }
      shown_.at(x, y) = cell;
      if (wide) shown_.at(x + 1, y) = cellAt(x + 1, y);
      const auto [pair, attributes] = style(cell);
      wchar_t text[2] = {static_cast<wchar_t>(cell.ch), L'\0'};
      cchar_t out;
      setcchar(&out, text, cursesAttributes(attributes), static_cast<short>(pair), nullptr);
      // The bottom-right cell scrolls some terminals when written by
      // mvadd_wch; mvins_wch puts it there without moving the cursor on.
      if (y == rows - 1 && x + (wide ? 1 : 0) == columns - 1) {
        mvins_wch(y, x, &out);
      } else {
        mvadd_wch(y, x, &out);
      }
      ++written;
      if (wide) ++x;
    }
  }
  if (caret && caret->x - pan.x >= 0 && caret->x - pan.x < columns && caret->y - pan.y >= 0 &&
      caret->y - pan.y < rows) {
    move(caret->y - pan.y, caret->x - pan.x);
    curs_set(1);
  } else {
    curs_set(0);
  }
  refresh();
  return written;
}

}  // namespace zrterm
