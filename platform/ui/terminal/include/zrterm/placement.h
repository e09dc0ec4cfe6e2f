#pragma once
// Where the toolkit's windows stand on a terminal of a given size.

#include "zrterm/cell_grid.h"

namespace zrterm {

// Makes the toolkit's screen the terminal (so that dialogs made from now on
// are centred in it) and places the windows shown on it again: each dialog
// (a window with a caption) centred over its owner, or on the screen, and
// kept inside the screen as far as its size allows (a dialog larger than
// the screen starts at its top-left corner); the popups of a dialog (a
// dropped list, a tooltip) move with it. Called when the terminal is taken
// and when its size changes.
// REQUIRES: the thread that owns the windows.
void placeWindows(Size terminal);

// The screen's size in pixels for a terminal of that size (one cell is
// 7 x 13 pixels of the text profile).
constexpr int kCellWidth = 7;
constexpr int kCellHeight = 13;

}  // namespace zrterm
