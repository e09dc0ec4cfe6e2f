#pragma once
// The 256 colour indexes of a drawing as a chart for the terminal: 16 rows
// of 16 numbered swatches, each in its palette colour (24-bit escape
// sequences), the initial index marked with brackets. Index 0 (by block) and
// 256 (by layer) are listed after the palette.

#include <string>

namespace zrhost {

// ansi: with colour escape sequences (a terminal); without, the numbers only.
std::string colourChart(int initial, bool ansi);

}  // namespace zrhost
