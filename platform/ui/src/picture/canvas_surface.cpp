// Pixel drawing for pictures: fills, one-pixel frames, real bitmaps and
// FreeType text, every toolkit pixel drawn as scale x scale picture pixels.
#include "picture/canvas_surface.h"

#include <algorithm>
#include <map>
#include <mutex>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace zrui::detail {
namespace {

constexpr const char* kFontDir = "/usr/share/fonts/truetype/dejavu/";
constexpr int kAscent = 10;  // baseline below the cell top, toolkit pixels

// The faces, loaded once per process; FreeType is not thread-safe per
// library, so all text drawing holds the mutex.
struct Fonts {
  std::mutex m;
  FT_Library lib = nullptr;
  FT_Face faces[4] = {};  // regular, bold, oblique, bold oblique
  std::string error;
  bool tried = false;
};

Fonts& TheFonts() {
  static Fonts* f = new Fonts;
  return *f;
}

// REQUIRES: fonts.m held.
void LoadFonts(Fonts& f) {
  if (f.tried) return;
  f.tried = true;
  if (FT_Init_FreeType(&f.lib)) {
    f.error = "cannot initialise FreeType";
    return;
  }
  const char* files[4] = {"DejaVuSansMono.ttf", "DejaVuSansMono-Bold.ttf", "DejaVuSansMono-Oblique.ttf",
                          "DejaVuSansMono-BoldOblique.ttf"};
  for (int i = 0; i < 4; ++i) {
    std::string path = std::string(kFontDir) + files[i];
    if (FT_New_Face(f.lib, path.c_str(), 0, &f.faces[i])) {
      f.faces[i] = nullptr;
      if (i == 0) {
        f.error = "font not found: " + path + " (install fonts-dejavu-core)";
        return;
      }
    }
  }
}

COLORREF Blend(COLORREF under, COLORREF over, int alpha) {
  auto mix = [&](int shift) {
    int a = (under >> shift) & 0xFF, b = (over >> shift) & 0xFF;
    return static_cast<COLORREF>((a * (255 - alpha) + b * alpha) / 255) << shift;
  };
  return mix(0) | mix(8) | mix(16);
}

}  // namespace

CanvasSurface::CanvasSurface(Picture* picture, std::string* fontError) : pic_(picture), fontError_(fontError) {}

RECT CanvasSurface::Bounds() const {
  return RECT{0, 0, (pic_->width + pic_->scale - 1) / pic_->scale, (pic_->height + pic_->scale - 1) / pic_->scale};
}

void CanvasSurface::FillScaled(int x0, int y0, int x1, int y1, COLORREF c, const RECT& clip) {
  int s = pic_->scale;
  x0 = std::max({x0, static_cast<int>(clip.left) * s, 0});
  y0 = std::max({y0, static_cast<int>(clip.top) * s, 0});
  x1 = std::min({x1, static_cast<int>(clip.right) * s, pic_->width});
  y1 = std::min({y1, static_cast<int>(clip.bottom) * s, pic_->height});
  for (int y = y0; y < y1; ++y)
    std::fill(pic_->pixels.begin() + y * pic_->width + x0, pic_->pixels.begin() + y * pic_->width + std::max(x0, x1), c);
}

void CanvasSurface::Fill(const RECT& r, COLORREF c, const RECT& clip) {
  int s = pic_->scale;
  FillScaled(r.left * s, r.top * s, r.right * s, r.bottom * s, c, clip);
}

void CanvasSurface::Frame(const RECT& r, COLORREF c, const RECT& clip) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  Fill(RECT{r.left, r.top, r.right, r.top + 1}, c, clip);
  Fill(RECT{r.left, r.bottom - 1, r.right, r.bottom}, c, clip);
  Fill(RECT{r.left, r.top, r.left + 1, r.bottom}, c, clip);
  Fill(RECT{r.right - 1, r.top, r.right, r.bottom}, c, clip);
}

void CanvasSurface::Glyph(char16_t ch, int px, int py, COLORREF c, bool bold, bool italic, const RECT& clip) {
  Fonts& f = TheFonts();
  std::lock_guard lock(f.m);
  LoadFonts(f);
  if (!f.error.empty()) {
    if (fontError_ && fontError_->empty()) *fontError_ = f.error;
    return;
  }
  FT_Face face = f.faces[(bold ? 1 : 0) + (italic ? 2 : 0)];
  if (!face) face = f.faces[0];
  int s = pic_->scale;
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(11 * s));
  if (FT_Load_Char(face, ch, FT_LOAD_RENDER)) return;
  FT_GlyphSlot g = face->glyph;
  int ox = px + g->bitmap_left;
  int oy = py + kAscent * s - g->bitmap_top;
  for (unsigned row = 0; row < g->bitmap.rows; ++row)
    for (unsigned col = 0; col < g->bitmap.width; ++col) {
      int a = g->bitmap.buffer[row * static_cast<unsigned>(g->bitmap.pitch) + col];
      if (!a) continue;
      int x = ox + static_cast<int>(col), y = oy + static_cast<int>(row);
      if (x < clip.left * s || y < clip.top * s || x >= clip.right * s || y >= clip.bottom * s) continue;
      if (x < 0 || y < 0 || x >= pic_->width || y >= pic_->height) continue;
      COLORREF& p = pic_->pixels[static_cast<size_t>(y * pic_->width + x)];
      p = Blend(p, c, a);
    }
}

void CanvasSurface::Text(int x, int y, std::u16string_view str, const TextStyle& st, const RECT& clip) {
  int s = pic_->scale;
  if (st.opaque) Fill(RECT{x, y, x + static_cast<LONG>(str.size()) * kCharWidth, y + kCharHeight}, st.background, clip);
  for (size_t i = 0; i < str.size(); ++i) {
    int cx = (x + static_cast<int>(i) * kCharWidth) * s;
    if (str[i] != u' ') Glyph(str[i], cx, y * s, st.color, st.bold, st.italic, clip);
  }
  if (st.underline)
    Fill(RECT{x, y + kAscent + 1, x + static_cast<LONG>(str.size()) * kCharWidth, y + kAscent + 2}, st.color, clip);
}

void CanvasSurface::Blit(int x, int y, const BitmapObj& src, int sx, int sy, int cx, int cy, COLORREF mask,
                         const RECT& clip) {
  int s = pic_->scale;
  for (int j = 0; j < cy; ++j)
    for (int i = 0; i < cx; ++i) {
      COLORREF c = src.at(sx + i, sy + j);
      if (c == CLR_INVALID || (mask != CLR_NONE && c == mask)) continue;
      FillScaled((x + i) * s, (y + j) * s, (x + i + 1) * s, (y + j + 1) * s, c, clip);
    }
}

COLORREF CanvasSurface::Pixel(int x, int y) { return pic_->At(x, y); }

void CanvasSurface::SetPixel(int x, int y, COLORREF c, const RECT& clip) {
  Fill(RECT{x, y, x + 1, y + 1}, c, clip);
}

void CanvasSurface::Caret(int x, int y, int height, const RECT& clip) {
  Fill(RECT{x, y, x + 1, y + height}, 0, clip);
}

}  // namespace zrui::detail
