// Terminal cell widths from the Unicode properties (see zrui/cellwidth.h).
#include "zrui/cellwidth.h"

#include <unicode/uchar.h>

namespace zrui {

namespace {

// The code point at s[i] and the units it takes.
char32_t At(std::u16string_view s, std::size_t i, std::size_t* units) {
  const char16_t c = s[i];
  if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
    *units = 2;
    return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (s[i + 1] - 0xDC00);
  }
  *units = 1;
  return c;
}

}  // namespace

int CellWidth(char32_t c) {
  if (c < 0x300) return 1;  // Latin and its supplements: the common case, quickly
  const auto cp = static_cast<UChar32>(c);
  switch (u_charType(cp)) {
    case U_NON_SPACING_MARK:
    case U_ENCLOSING_MARK:
      return 0;
    case U_FORMAT_CHAR:
      return c == 0x00AD ? 1 : 0;
    default: break;
  }
  // Hangul medial vowels and final consonants join the syllable before them.
  if (c >= 0x1160 && c <= 0x11FF) return 0;
  if (c == 0x200B) return 0;
  const int ea = u_getIntPropertyValue(cp, UCHAR_EAST_ASIAN_WIDTH);
  return ea == U_EA_WIDE || ea == U_EA_FULLWIDTH ? 2 : 1;
}

int TextCells(std::u16string_view s) {
  int cells = 0;
  for (std::size_t i = 0, n = 0; i < s.size(); i += n) cells += CellWidth(At(s, i, &n));
  return cells;
}

std::size_t FitCells(std::u16string_view s, int cells) {
  int used = 0;
  std::size_t i = 0;
  while (i < s.size()) {
    std::size_t n = 0;
    const int w = CellWidth(At(s, i, &n));
    if (w > 0 && used + w > cells) break;
    used += w;
    i += n;
  }
  return i;
}

std::size_t IndexAtCell(std::u16string_view s, int cell) {
  int used = 0;
  for (std::size_t i = 0, n = 0; i < s.size(); i += n) {
    const int w = CellWidth(At(s, i, &n));
    if (w > 0 && used + w > cell) return i;
    used += w;
  }
  return s.size();
}

}  // namespace zrui
