#include "colour_chart.h"

#include <cstdint>
#include <cstdio>

#include "OdCmColor.h"

namespace zrhost {

std::string colourChart(int initial, bool ansi) {
  std::string out;
  char cell[64];
  for (int row = 0; row < 16; ++row) {
    for (int col = 0; col < 16; ++col) {
      const int index = row * 16 + col;
      if (index == 0) {
        out += "      ";
        continue;
      }
      const uint32_t rgb = OdCmEntityColor::lookUpRGB(index);
      const int r = static_cast<int>(rgb >> 16) & 0xFF, g = static_cast<int>(rgb >> 8) & 0xFF,
                b = static_cast<int>(rgb) & 0xFF;
      // Light swatches get black numbers, dark ones white.
      const bool light = r * 299 + g * 587 + b * 114 > 128000;
      const char* open = index == initial ? "[" : " ";
      const char* close = index == initial ? "]" : " ";
      if (ansi)
        std::snprintf(cell, sizeof cell, "\x1b[48;2;%d;%d;%dm\x1b[38;2;%sm%s%3d%s\x1b[0m ", r, g, b,
                      light ? "0;0;0" : "255;255;255", open, index, close);
      else
        std::snprintf(cell, sizeof cell, "%s%3d%s ", open, index, close);
      out += cell;
    }
    out += "\n";
  }
  out += std::string(initial == 0 ? "[0]" : " 0 ") + " by block   " + (initial == 256 ? "[256]" : " 256 ") +
         " by layer\n";
  return out;
}

}  // namespace zrhost
