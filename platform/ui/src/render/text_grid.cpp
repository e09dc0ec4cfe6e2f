// TextGrid and the surface that draws on it: pixels map to cells of 7 x 13;
// a text starting at a pixel goes to the cell nearest to it.
#include "render/grid_surface.h"

#include <algorithm>

#include <unicode/unistr.h>

namespace zrui {

TextGrid::TextGrid(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), cells_(static_cast<size_t>(width_ * height_)) {}

std::u16string TextGrid::line(int row) const {
  std::u16string s;
  for (int c = 0; c < width_; ++c) s += at(c, row).ch;
  while (!s.empty() && s.back() == u' ') s.pop_back();
  return s;
}

std::u16string TextGrid::text() const {
  std::u16string out;
  for (int r = 0; r < height_; ++r) {
    if (r) out += u'\n';
    out += line(r);
  }
  return out;
}

std::string TextGrid::utf8() const {
  std::u16string t = text();
  std::string out;
  icu::UnicodeString(reinterpret_cast<const UChar*>(t.data()), static_cast<int32_t>(t.size())).toUTF8String(out);
  return out;
}

}  // namespace zrui

namespace zrui::detail {

namespace {

int ColOf(int x) { return (x + kCharWidth / 2) / kCharWidth - (x + kCharWidth / 2 < 0 ? 1 : 0); }
int RowOf(int y) { return (y + kCharHeight / 2) / kCharHeight - (y + kCharHeight / 2 < 0 ? 1 : 0); }

// A cell belongs to a pixel rectangle when its centre does.
bool CentreIn(int col, int row, const RECT& r) {
  int cx = col * kCharWidth + kCharWidth / 2, cy = row * kCharHeight + kCharHeight / 2;
  return cx >= r.left && cx < r.right && cy >= r.top && cy < r.bottom;
}

}  // namespace

GridSurface::GridSurface(TextGrid* grid) : grid_(grid) {}

RECT GridSurface::Bounds() const { return RECT{0, 0, grid_->width() * kCharWidth, grid_->height() * kCharHeight}; }

void GridSurface::Fill(const RECT& r, COLORREF c, const RECT& clip) {
  for (int row = std::max(0, static_cast<int>(r.top / kCharHeight)); row < grid_->height() && row * kCharHeight < r.bottom; ++row)
    for (int col = std::max(0, static_cast<int>(r.left / kCharWidth)); col < grid_->width() && col * kCharWidth < r.right; ++col)
      if (CentreIn(col, row, r) && CentreIn(col, row, clip)) {
        TextCell& cell = grid_->at(col, row);
        cell = TextCell{};
        cell.bg = c;
      }
}

void GridSurface::Frame(const RECT& r, COLORREF c, const RECT& clip) {
  int c0 = r.left / kCharWidth, c1 = (r.right - 1) / kCharWidth;
  int r0 = r.top / kCharHeight, r1 = (r.bottom - 1) / kCharHeight;
  if (c1 < c0 || r1 < r0) return;
  auto put = [&](int col, int row, char16_t ch) {
    if (!grid_->contains(col, row) || !CentreIn(col, row, clip)) return;
    TextCell& cell = grid_->at(col, row);
    cell.ch = ch;
    cell.fg = c;
  };
  for (int col = c0; col <= c1; ++col) {
    put(col, r0, u'-');
    put(col, r1, u'-');
  }
  for (int row = r0; row <= r1; ++row) {
    put(c0, row, u'|');
    put(c1, row, u'|');
  }
  put(c0, r0, u'+');
  put(c1, r0, u'+');
  put(c0, r1, u'+');
  put(c1, r1, u'+');
}

void GridSurface::Text(int x, int y, std::u16string_view s, const TextStyle& st, const RECT& clip) {
  int row = RowOf(y);
  int col0 = ColOf(x);
  for (size_t i = 0; i < s.size(); ++i) {
    int col = col0 + static_cast<int>(i);
    if (!grid_->contains(col, row) || !CentreIn(col, row, clip)) continue;
    TextCell& cell = grid_->at(col, row);
    cell.ch = s[i];
    cell.fg = st.color;
    if (st.opaque) cell.bg = st.background;
    cell.bold = st.bold;
    cell.italic = st.italic;
    cell.underline = st.underline;
  }
}

void GridSurface::Blit(int x, int y, const BitmapObj& src, int sx, int, int cx, int cy, COLORREF, const RECT& clip) {
  std::u16string glyphs;
  if (src.glyphs.empty()) glyphs.assign(1, u'#');
  else if (src.glyphCell <= 0) glyphs = src.glyphs;
  else
    for (int gx = sx; gx < sx + cx; gx += src.glyphCell)
      if (static_cast<size_t>(gx / src.glyphCell) < src.glyphs.size()) glyphs += src.glyphs[static_cast<size_t>(gx / src.glyphCell)];
  // The glyphs go on the middle row of the image, from its left cell.
  TextStyle st;
  st.opaque = false;
  Text(x, y + cy / 2 - kCharHeight / 2, glyphs, st, clip);
}

}  // namespace zrui::detail
