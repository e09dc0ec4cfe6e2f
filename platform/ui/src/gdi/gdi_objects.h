// Internal representation of GDI objects and drawing surfaces.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "zrui/gdi.h"

namespace zrui::detail {

enum class GdiKind { Font, Brush, Pen, Bitmap, DC };

struct GdiObject {
  explicit GdiObject(GdiKind k) : kind(k) {}
  virtual ~GdiObject() = default;
  GdiKind kind;
  bool stock = false;
};

struct FontObj : GdiObject {
  FontObj() : GdiObject(GdiKind::Font) {}
  LOGFONTW lf;
};

struct BrushObj : GdiObject {
  BrushObj() : GdiObject(GdiKind::Brush) {}
  COLORREF color = 0;
  bool hollow = false;
};

struct BitmapObj : GdiObject {
  BitmapObj() : GdiObject(GdiKind::Bitmap) {}
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;
  std::u16string glyphs;  // text shown for the bitmap by the text renderer
  int glyphCell = 0;      // pixels per glyph (0: one glyph for the whole)
  COLORREF at(int x, int y) const {
    return (x < 0 || y < 0 || x >= width || y >= height) ? CLR_INVALID
                                                         : pixels[static_cast<size_t>(y * width + x)];
  }
};

struct TextStyle {
  COLORREF color = 0;
  COLORREF background = 0xFFFFFF;
  bool opaque = true;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  HFONT font = nullptr;
};

// Where a device context draws. Coordinates are surface pixels; `clip` is
// already intersected by the caller.
class Surface {
 public:
  virtual ~Surface() = default;
  virtual void Fill(const RECT& r, COLORREF c, const RECT& clip) = 0;
  virtual void Frame(const RECT& r, COLORREF c, const RECT& clip) { (void)r, (void)c, (void)clip; }
  virtual void Text(int x, int y, std::u16string_view s, const TextStyle& st, const RECT& clip) = 0;
  virtual void Blit(int x, int y, const BitmapObj& src, int sx, int sy, int cx, int cy,
                    COLORREF mask, const RECT& clip) = 0;
  // The text caret at (x, y), `height` pixels high.
  virtual void Caret(int x, int y, int height, const RECT& clip) { (void)x, (void)y, (void)height, (void)clip; }
  // The shadow a popup casts on what lies under it, over r (the cells to
  // its right and below it): darkened, what is there still readable.
  virtual void Shadow(const RECT& r, const RECT& clip) { (void)r, (void)clip; }
  virtual COLORREF Pixel(int, int) { return CLR_INVALID; }
  virtual void SetPixel(int, int, COLORREF, const RECT&) {}
  virtual RECT Bounds() const = 0;
  // True for the character grid, where a cell is the smallest thing drawn.
  virtual bool CharacterCells() const { return false; }
};

std::unique_ptr<Surface> MakeNullSurface();
std::unique_ptr<Surface> MakeBitmapSurface(BitmapObj* bitmap);

struct DCState {
  POINT org;  // surface position of logical (0, 0)
  RECT clip;  // surface coordinates
  HFONT font = nullptr;
  HBRUSH brush = nullptr;
  COLORREF text = 0;
  COLORREF bk = 0xFFFFFF;
  int bkMode = OPAQUE;
};

struct DCObj : GdiObject {
  DCObj() : GdiObject(GdiKind::DC) {}
  Surface* surface = nullptr;
  std::unique_ptr<Surface> owned;
  DCState st;
  std::vector<DCState> saved;
  HBITMAP bitmap = nullptr;  // memory DCs
  HWND window = nullptr;
  bool memory = false;
};

// Handle registry: every live object is known, so stale handles are refused.
void RegisterGdi(GdiObject* o);
void UnregisterGdi(GdiObject* o);
GdiObject* LookupGdi(const void* h);
template <typename T>
T* Gdi(const void* h, GdiKind k) {
  GdiObject* o = LookupGdi(h);
  return (o && o->kind == k) ? static_cast<T*>(o) : nullptr;
}
inline DCObj* DcOf(HDC h) { return Gdi<DCObj>(h, GdiKind::DC); }
inline FontObj* FontOf(HFONT h) { return Gdi<FontObj>(h, GdiKind::Font); }
inline BrushObj* BrushOf(HBRUSH h) { return Gdi<BrushObj>(h, GdiKind::Brush); }
inline BitmapObj* BitmapOf(HBITMAP h) { return Gdi<BitmapObj>(h, GdiKind::Bitmap); }

// Creates a DC that draws on `surface` (not owned) with logical (0, 0) at
// `org` and the given clip, both in surface coordinates.
HDC MakeDC(Surface* surface, POINT org, RECT clip, HWND window);
// Creates a DC that owns its surface.
HDC MakeOwningDC(std::unique_ptr<Surface> surface, HWND window);

// Thread-local paint target: while set, BeginPaint/GetDC of `root`, of its
// descendants and of the popups it owns draw on `surface`, whose (0, 0) is
// the screen point `origin`.
void SetPaintTarget(Surface* surface, HWND root, POINT origin);
Surface* PaintTarget(HWND* root, POINT* origin);

}  // namespace zrui::detail
