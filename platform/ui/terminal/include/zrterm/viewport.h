#pragma once
// Panning: which part of a screen larger than the terminal is shown.

#include "zrterm/cell_grid.h"

namespace zrterm {

// The offset (screen cell shown at the terminal's top-left) that shows the
// focused box, moving as little as possible from current: unchanged while
// the box is in view, else just far enough that it is (its top-left first
// when it is larger than the terminal). Always within [0, screen - terminal]
// per axis, and 0 on an axis where the screen fits.
Point panToShow(const Box& focus, Size screen, Size terminal, Point current);

}  // namespace zrterm
