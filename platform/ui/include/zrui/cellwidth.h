// How many character cells of a terminal a text takes, as wcwidth counts
// them: East Asian wide and fullwidth characters take two, combining marks
// and other zero-width characters none, everything else one. The text
// profile measures, wraps, cuts and places carets with these, so a text
// shown in a terminal lines up with what was measured.
//
// Unlike wcwidth, the answer does not depend on the process's locale (the
// Unicode properties come from ICU), and a control character counts one.
#pragma once

#include <cstddef>
#include <string_view>

namespace zrui {

// 0, 1 or 2.
int CellWidth(char32_t c);
// The cells of a UTF-16 text (surrogate pairs read as one character).
int TextCells(std::u16string_view s);
// The length, in code units, of the longest start of s that takes at most
// `cells` cells; never ends inside a surrogate pair, nor between a
// character and the zero-width marks that follow it.
std::size_t FitCells(std::u16string_view s, int cells);
// The code unit of s at which the cell `cell` (counted from 0) is, or
// s.size() beyond its end: where a click in a text lands.
std::size_t IndexAtCell(std::u16string_view s, int cell);

}  // namespace zrui
