#include "zrterm/cell_grid.h"

namespace zrterm {

void CellGrid::text(int x, int y, const std::u32string& text, Rgb fg, Rgb bg, unsigned attributes) {
  if (y < 0 || y >= height()) return;
  for (char32_t c : text) {
    if (x >= width()) break;
    if (x >= 0) at(x, y) = {c, fg, bg, attributes};
    ++x;
  }
}

}  // namespace zrterm
