#pragma once
// Draws a CellGrid on the curses screen of the session, panned, writing only
// the cells that changed since the last paint (curses then sends only what
// changed on the terminal too).
//
// REQUIRES: a TerminalSession is active; used from its thread only.

#include <map>
#include <optional>
#include <utility>

#include "zrterm/cell_grid.h"

namespace zrterm {

class ScreenPainter {
 public:
  explicit ScreenPainter(ColourDepth depth) : depth_(depth) {}

  // Shows grid with its cell `pan` at the terminal's top-left; terminal cells
  // beyond the grid are blank. caret: a grid cell where the terminal's cursor
  // shows (a caret in an edit), else the cursor is hidden. Returns how many
  // terminal cells were written.
  int paint(const CellGrid& grid, Point pan, std::optional<Point> caret);
  // The next paint writes every cell (after a resize or a resume, when the
  // terminal's contents are unknown).
  void invalidate() { shown_ = CellGrid(); }

  ColourDepth depth() const { return depth_; }

 private:
  // The curses colour pair and attributes of a cell.
  std::pair<int, unsigned> style(const Cell& cell);

  ColourDepth depth_;
  CellGrid shown_;  // terminal-sized: what was written last
  std::map<std::pair<short, short>, int> pairs_;
};

}  // namespace zrterm
