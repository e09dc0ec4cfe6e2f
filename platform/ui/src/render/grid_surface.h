// A drawing surface over a TextGrid.
#pragma once

#include "gdi/gdi_objects.h"
#include "zrui/textrender.h"

namespace zrui::detail {

class GridSurface : public Surface {
 public:
  explicit GridSurface(TextGrid* grid);
  void Fill(const RECT& r, COLORREF c, const RECT& clip) override;
  void Frame(const RECT& r, COLORREF c, const RECT& clip) override;
  void Text(int x, int y, std::u16string_view s, const TextStyle& st, const RECT& clip) override;
  void Blit(int x, int y, const BitmapObj& src, int sx, int sy, int cx, int cy, COLORREF mask,
            const RECT& clip) override;
  // The caret reverses the cell it stands on.
  void Caret(int x, int y, int height, const RECT& clip) override;
  // Black ground, grey text: a shadow.
  void Shadow(const RECT& r, const RECT& clip) override;
  RECT Bounds() const override;
  bool CharacterCells() const override { return true; }

 private:
  TextGrid* grid_;
};

}  // namespace zrui::detail
