#pragma once
// A grid of coloured character cells: what the front end shows. The toolkit's
// screen model is copied into one of these, so that the drawing code knows
// nothing of windows.

#include <string>
#include <vector>

#include "zrterm/colours.h"

namespace zrterm {

// The right half of a wide character, whose left cell holds it.
constexpr char32_t kWideRight = 0;

struct Cell {
  char32_t ch = U' ';
  Rgb fg = rgb(0, 0, 0);
  Rgb bg = rgb(255, 255, 255);
  unsigned attributes = 0;  // Attribute bits the toolkit asks for itself (underline of a hotkey...)
  bool operator==(const Cell&) const = default;
};

struct Point {
  int x = 0, y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  int width = 0, height = 0;
  bool operator==(const Size&) const = default;
};

// Cells from left to top-right exclusive: [left, right) x [top, bottom).
struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
};

class CellGrid {
 public:
  CellGrid() = default;
  CellGrid(int width, int height, Cell fill = {}) : size_{width, height}, cells_(static_cast<std::size_t>(width * height), fill) {}

  Size size() const { return size_; }
  int width() const { return size_.width; }
  int height() const { return size_.height; }
  // REQUIRES: 0 <= x < width, 0 <= y < height.
  Cell& at(int x, int y) { return cells_[static_cast<std::size_t>(y * size_.width + x)]; }
  const Cell& at(int x, int y) const { return cells_[static_cast<std::size_t>(y * size_.width + x)]; }
  // Writes text from (x, y) with the given colours, cut at the right edge.
  void text(int x, int y, const std::u32string& text, Rgb fg, Rgb bg, unsigned attributes = 0);

  bool operator==(const CellGrid&) const = default;

 private:
  Size size_;
  std::vector<Cell> cells_;
};

}  // namespace zrterm
