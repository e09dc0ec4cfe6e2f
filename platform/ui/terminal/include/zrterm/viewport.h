#pragma once
// Panning: which part of a screen larger than the terminal is shown.

#include <optional>

#include "zrterm/cell_grid.h"

namespace zrterm {

// The offset (screen cell shown at the terminal's top-left) that shows the
// focused box, moving as little as possible from current: unchanged while
// the box is in view (for a box larger than the terminal: while its start
// is), else just far enough that it is (its top-left first when it is
// larger than the terminal). Always within [0, screen - terminal] per axis,
// and 0 on an axis where the screen fits.
Point panToShow(const Box& focus, Size screen, Size terminal, Point current);

// What the terminal shows of the screen. The body: the screen's cells from
// pan. When pinned, the dialog's caption row on the terminal's first row
// (a dialog taller than the terminal keeps its title in sight while its
// body scrolls under it), the body from the second row showing the rows
// from pan.y + 1. A vertical scroll bar in the last column when the dialog
// is taller than the body, a horizontal one on the last row when it is
// wider: they say what is out of view, as a scrolling view's bars do.
struct View {
  Size terminal;
  Point pan;
  bool pinned = false;
  int captionRow = 0;  // the screen row pinned
  bool vertical = false, horizontal = false;  // the scroll bars

  // The cells of the terminal that show the screen (without the bars).
  Size shown() const { return {terminal.width - (vertical ? 1 : 0), terminal.height - (horizontal ? 1 : 0)}; }
  // The screen cell shown at a terminal cell; none on a scroll bar.
  std::optional<Point> screenCell(Point at) const;
  // The terminal cell that shows a screen cell; none when it is not shown.
  std::optional<Point> terminalCell(Point screen) const;
  bool operator==(const View&) const = default;
};

// The view of a screen (its extent in cells) in a terminal for the dialog
// on top (its box) with the focused box (the control and its label):
// - a dialog that fits is shown whole;
// - a larger one pins its caption row when the terminal has rows to spare
//   (at least kMinRowsToPin), gets scroll bars on the sides where it does
//   not fit, and pans as little as it must to keep the focused box in view,
//   from current; a fresh dialog shows from its top-left corner.
View chooseView(const Box& dialog, const std::optional<Box>& focus, Size screen, Size terminal, const View& current,
                bool fresh);
constexpr int kMinRowsToPin = 6;

// Which sides of the dialog (its box) lie beyond the terminal in a view.
struct Hidden {
  bool left = false, top = false, right = false, bottom = false;
  bool any() const { return left || top || right || bottom; }
};
Hidden hiddenSides(const View& view, const Box& dialog);

// The view moved by rows (the person scrolling), kept within the dialog.
View scrolled(const View& view, const Box& dialog, int rows);
// The view moved sideways by columns, kept within the dialog.
View scrolledSideways(const View& view, const Box& dialog, int columns);

}  // namespace zrterm
