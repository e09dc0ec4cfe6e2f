// A drawing surface over an RGB picture, scaled, with text drawn through
// FreeType in DejaVu Sans Mono.
#pragma once

#include <string>

#include "gdi/gdi_objects.h"
#include "zrui/picture.h"

namespace zrui::detail {

class CanvasSurface : public Surface {
 public:
  // Draws on `picture` (already sized); toolkit pixel (0, 0) is picture
  // pixel (0, 0). `fontError` receives a message when the font is missing.
  CanvasSurface(Picture* picture, std::string* fontError);
  void Fill(const RECT& r, COLORREF c, const RECT& clip) override;
  void Frame(const RECT& r, COLORREF c, const RECT& clip) override;
  void Text(int x, int y, std::u16string_view s, const TextStyle& st, const RECT& clip) override;
  void Blit(int x, int y, const BitmapObj& src, int sx, int sy, int cx, int cy, COLORREF mask,
            const RECT& clip) override;
  COLORREF Pixel(int x, int y) override;
  void SetPixel(int x, int y, COLORREF c, const RECT& clip) override;
  void Caret(int x, int y, int height, const RECT& clip) override;
  RECT Bounds() const override;

 private:
  // Fills picture pixels [x0, x1) x [y0, y1) within the scaled clip.
  void FillScaled(int x0, int y0, int x1, int y1, COLORREF c, const RECT& clip);
  void Glyph(char16_t ch, int px, int py, COLORREF c, bool bold, bool italic, const RECT& clip);
  Picture* pic_;
  std::string* fontError_;
};

}  // namespace zrui::detail
