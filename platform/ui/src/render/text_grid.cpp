// TextGrid and the surface that draws on it: pixels map to cells of 7 x 13;
// a text starting at a pixel goes to the cell nearest to it.
#include "render/grid_surface.h"

#include <algorithm>

#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

#include "zrui/cellwidth.h"

namespace zrui {

TextGrid::TextGrid(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), cells_(static_cast<size_t>(width_ * height_)) {}

std::u16string TextGrid::line(int row) const {
  std::u16string s;
  for (int c = 0; c < width_; ++c)
    if (at(c, row).ch != kWideRight) s += at(c, row).ch;
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

// floor(a / b) for b > 0.
int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
// The cell boundary nearest to a pixel edge (halves round up). Every edge of
// every rectangle, clip and frame goes through these, so a frame drawn on a
// window's client rectangle lands on the same cells as the window's clip.
int ColEdge(int x) { return FloorDiv(2 * x + kCharWidth, 2 * kCharWidth); }
int RowEdge(int y) { return FloorDiv(2 * y + kCharHeight, 2 * kCharHeight); }

struct CellRect {
  int c0, r0, c1, r1;  // [c0, c1) x [r0, r1)
  bool has(int c, int r) const { return c >= c0 && c < c1 && r >= r0 && r < r1; }
};

CellRect CellsOf(const RECT& r) { return CellRect{ColEdge(r.left), RowEdge(r.top), ColEdge(r.right), RowEdge(r.bottom)}; }

// Before a cell is drawn over: a wide character it was half of becomes a
// blank, so that no half of one is left on the grid.
void Unsplit(TextGrid* grid, int col, int row) {
  if (grid->at(col, row).ch == kWideRight && col > 0) grid->at(col - 1, row).ch = u' ';
  if (col + 1 < grid->width() && grid->at(col + 1, row).ch == kWideRight) grid->at(col + 1, row).ch = u' ';
}

// Composed where Unicode can (a letter and its combining accent in one
// cell), as a terminal shows them.
std::u16string Composed(std::u16string_view s) {
  for (char16_t c : s)
    if (c >= 0x300) {
      UErrorCode status = U_ZERO_ERROR;
      const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
      if (U_FAILURE(status)) break;
      icu::UnicodeString out =
          nfc->normalize(icu::UnicodeString(reinterpret_cast<const UChar*>(s.data()), static_cast<int32_t>(s.size())), status);
      if (U_FAILURE(status)) break;
      return std::u16string(reinterpret_cast<const char16_t*>(out.getBuffer()), static_cast<size_t>(out.length()));
    }
  return std::u16string(s);
}

// The colour that most pixels of an image region have, ignoring the mask.
COLORREF DominantColour(const BitmapObj& src, int sx, int sy, int cx, int cy, COLORREF mask) {
  std::vector<std::pair<COLORREF, int>> counts;
  for (int j = 0; j < cy; ++j)
    for (int i = 0; i < cx; ++i) {
      COLORREF c = src.at(sx + i, sy + j);
      if (c == CLR_INVALID || (mask != CLR_NONE && c == mask)) continue;
      auto it = std::find_if(counts.begin(), counts.end(), [c](const auto& e) { return e.first == c; });
      if (it == counts.end()) counts.emplace_back(c, 1);
      else ++it->second;
    }
  // A picture drawn on the dialog or window colour is coloured by what is
  // drawn on it, not by its background.
  for (COLORREF bg : {GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_WINDOW)}) {
    if (counts.size() < 2) break;
    counts.erase(std::remove_if(counts.begin(), counts.end(), [bg](const auto& e) { return e.first == bg; }),
                 counts.end());
  }
  if (counts.empty()) return CLR_INVALID;
  return std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) { return a.second < b.second; })
      ->first;
}

}  // namespace

GridSurface::GridSurface(TextGrid* grid) : grid_(grid) {}

RECT GridSurface::Bounds() const { return RECT{0, 0, grid_->width() * kCharWidth, grid_->height() * kCharHeight}; }

void GridSurface::Fill(const RECT& r, COLORREF c, const RECT& clip) {
  CellRect cr = CellsOf(r), k = CellsOf(clip);
  for (int row = std::max(0, cr.r0); row < std::min(grid_->height(), cr.r1); ++row)
    for (int col = std::max(0, cr.c0); col < std::min(grid_->width(), cr.c1); ++col)
      if (k.has(col, row)) {
        Unsplit(grid_, col, row);
        TextCell& cell = grid_->at(col, row);
        cell = TextCell{};
        cell.bg = c;
      }
}

void GridSurface::Frame(const RECT& r, COLORREF c, const RECT& clip) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  CellRect cr = CellsOf(r), k = CellsOf(clip);
  // A frame with any size keeps at least one cell each way.
  int c0 = cr.c0, r0 = cr.r0, c1 = std::max(cr.c1, cr.c0 + 1) - 1, r1 = std::max(cr.r1, cr.r0 + 1) - 1;
  auto put = [&](int col, int row, char16_t ch) {
    if (!grid_->contains(col, row) || !k.has(col, row)) return;
    Unsplit(grid_, col, row);
    TextCell& cell = grid_->at(col, row);
    cell.ch = ch;
    cell.fg = c;
    // The focus frame: reverse video where there are no colours.
    cell.reverse = c == GetSysColor(COLOR_HIGHLIGHT);
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
  int row = RowEdge(y);
  int col = ColEdge(x);
  CellRect k = CellsOf(clip);
  auto put = [&](int at, char16_t ch) {
    if (!grid_->contains(at, row) || !k.has(at, row)) return;
    Unsplit(grid_, at, row);
    TextCell& cell = grid_->at(at, row);
    cell.ch = ch;
    cell.fg = st.color;
    if (st.opaque) cell.bg = st.background;
    cell.bold = st.bold;
    cell.italic = st.italic;
    cell.underline = st.underline;
    cell.dim = st.color == GetSysColor(COLOR_GRAYTEXT);
    cell.reverse = cell.bg == GetSysColor(COLOR_HIGHLIGHT);
  };
  const std::u16string text = Composed(s);
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    const int w = CellWidth(c);
    if (w == 0) continue;  // a mark that did not compose: the terminal would put it on the cell before
    // A cell holds one UTF-16 unit: beyond the basic plane, a stand-in.
    const char16_t ch = c > 0xFFFF ? u'\uFFFD' : static_cast<char16_t>(c);
    if (w == 2) {
      // Both halves or neither: at an edge of the clip, a blank.
      if (k.has(col + 1, row) && grid_->contains(col + 1, row) && k.has(col, row) && grid_->contains(col, row)) {
        put(col, ch);
        put(col + 1, kWideRight);
        grid_->at(col, row).ch = ch;  // put of the right half blanked it
      } else {
        put(col, u' ');
        put(col + 1, u' ');
      }
    } else {
      put(col, ch);
    }
    col += w;
  }
}

void GridSurface::Shadow(const RECT& r, const RECT& clip) {
  CellRect cr = CellsOf(r), k = CellsOf(clip);
  for (int row = std::max(0, cr.r0); row < std::min(grid_->height(), cr.r1); ++row)
    for (int col = std::max(0, cr.c0); col < std::min(grid_->width(), cr.c1); ++col)
      if (k.has(col, row)) {
        TextCell& cell = grid_->at(col, row);
        cell.bg = RGB(0, 0, 0);
        cell.fg = RGB(160, 160, 160);
        cell.bold = cell.underline = cell.reverse = false;
        cell.dim = true;
      }
}

void GridSurface::Caret(int x, int y, int, const RECT& clip) {
  int col = ColEdge(x), row = RowEdge(y);
  if (!grid_->contains(col, row) || !CellsOf(clip).has(col, row)) return;
  TextCell& cell = grid_->at(col, row);
  cell.reverse = !cell.reverse;
}

void GridSurface::Blit(int x, int y, const BitmapObj& src, int sx, int sy, int cx, int cy, COLORREF mask,
                       const RECT& clip) {
  std::u16string glyphs;
  if (src.glyphs.empty()) glyphs.assign(1, u'#');
  else if (src.glyphCell <= 0) glyphs = src.glyphs;
  else
    for (int gx = sx; gx < sx + cx; gx += src.glyphCell)
      if (static_cast<size_t>(gx / src.glyphCell) < src.glyphs.size()) glyphs += src.glyphs[static_cast<size_t>(gx / src.glyphCell)];
  // The glyphs go on the row a label beside the image would take (a label
  // is centred on the image's height), from the image's left cell, in the
  // colour most of the image has.
  int row = RowEdge(y + (cy - kCharHeight) / 2);
  int col0 = ColEdge(x);
  COLORREF colour = DominantColour(src, sx, sy, cx, cy, mask);
  CellRect k = CellsOf(clip);
  for (size_t i = 0; i < glyphs.size(); ++i) {
    int col = col0 + static_cast<int>(i);
    if (!grid_->contains(col, row) || !k.has(col, row)) continue;
    Unsplit(grid_, col, row);
    TextCell& cell = grid_->at(col, row);
    cell.ch = glyphs[i];
    cell.fg = colour == CLR_INVALID ? 0 : colour;
    cell.bold = cell.italic = cell.underline = cell.dim = false;
  }
}

}  // namespace zrui::detail
