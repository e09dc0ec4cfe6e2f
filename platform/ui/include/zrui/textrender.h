// The text renderer: draws a window, its children and the popups it owns
// (drop-down lists, tooltips) into a grid of character cells, one cell per
// 7 x 13 pixels. Snapshot tests compare its text; the terminal front end
// shows its cells with their colours.
#pragma once

#include <string>
#include <vector>

#include "zrui/winapi.h"

namespace zrui {

struct TextCell {
  char16_t ch = u' ';
  COLORREF fg = 0;
  COLORREF bg = 0xFFFFFF;
  bool bold = false;
  bool italic = false;
  bool underline = false;
};

class TextGrid {
 public:
  TextGrid(int width, int height);
  int width() const { return width_; }
  int height() const { return height_; }
  TextCell& at(int col, int row) { return cells_[static_cast<size_t>(row * width_ + col)]; }
  const TextCell& at(int col, int row) const { return cells_[static_cast<size_t>(row * width_ + col)]; }
  bool contains(int col, int row) const { return col >= 0 && row >= 0 && col < width_ && row < height_; }
  // One row without trailing spaces.
  std::u16string line(int row) const;
  // All rows, trailing spaces removed, joined with '\n'.
  std::u16string text() const;
  // The same in UTF-8, for printing.
  std::string utf8() const;

 private:
  int width_;
  int height_;
  std::vector<TextCell> cells_;
};

// Renders a window (normally a top-level dialog) with everything it shows.
TextGrid RenderWindow(HWND root);

}  // namespace zrui
