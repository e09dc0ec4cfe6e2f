// Image lists: fixed-size images cut from strip bitmaps, with a mask colour.
#include <algorithm>
#include <utility>
#include <vector>

#include "gdi/gdi_objects.h"
#include "zrui/commctrl.h"
#include "zrui/metrics.h"

struct _IMAGELIST {
  int cx = 16;
  int cy = 16;
  UINT flags = 0;
  COLORREF bk = CLR_NONE;
  struct Image {
    std::vector<COLORREF> pixels;  // kTransparent where masked
    char16_t glyph = u'#';
  };
  std::vector<Image> images;
};

namespace {

// A value no 24-bit colour can take, marking masked pixels.
constexpr COLORREF kTransparent = 0xFE000000;

int AddStrip(HIMAGELIST il, HBITMAP strip, COLORREF mask, bool useMask) {
  using namespace zrui::detail;
  BitmapObj* b = BitmapOf(strip);
  if (!il || !b || il->cx <= 0 || b->width < il->cx) return -1;
  int first = static_cast<int>(il->images.size());
  for (int x0 = 0; x0 + il->cx <= b->width; x0 += il->cx) {
    _IMAGELIST::Image img;
    img.pixels.resize(static_cast<size_t>(il->cx * il->cy), kTransparent);
    for (int y = 0; y < il->cy && y < b->height; ++y)
      for (int x = 0; x < il->cx; ++x) {
        COLORREF c = b->at(x0 + x, y);
        img.pixels[static_cast<size_t>(y * il->cx + x)] = (useMask && c == mask) ? kTransparent : c;
      }
    std::u16string g = BitmapGlyphs(strip, x0, il->cx);
    if (!g.empty()) img.glyph = g[0];
    il->images.push_back(std::move(img));
  }
  return first;
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int, int) {
  if (cx <= 0 || cy <= 0) return nullptr;
  auto* il = new _IMAGELIST;
  il->cx = cx;
  il->cy = cy;
  il->flags = flags;
  return il;
}

BOOL ImageList_Destroy(HIMAGELIST il) {
  delete il;
  return il != nullptr;
}

int ImageList_AddMasked(HIMAGELIST il, HBITMAP strip, COLORREF mask) { return AddStrip(il, strip, mask, true); }
int ImageList_Add(HIMAGELIST il, HBITMAP strip, HBITMAP) { return AddStrip(il, strip, 0, false); }
int ImageList_GetImageCount(HIMAGELIST il) { return il ? static_cast<int>(il->images.size()) : 0; }

BOOL ImageList_GetIconSize(HIMAGELIST il, int* cx, int* cy) {
  if (!il) return FALSE;
  if (cx) *cx = il->cx;
  if (cy) *cy = il->cy;
  return TRUE;
}

BOOL ImageList_Remove(HIMAGELIST il, int index) {
  if (!il) return FALSE;
  if (index == -1) {
    il->images.clear();
    return TRUE;
  }
  if (index < 0 || index >= static_cast<int>(il->images.size())) return FALSE;
  il->images.erase(il->images.begin() + index);
  return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST il, COLORREF c) {
  if (!il) return CLR_NONE;
  return std::exchange(il->bk, c);
}

void ImageList_SetGlyph(HIMAGELIST il, int index, char16_t glyph) {
  if (il && index >= 0 && index < static_cast<int>(il->images.size())) il->images[static_cast<size_t>(index)].glyph = glyph;
}

char16_t ImageList_GetGlyph(HIMAGELIST il, int index) {
  if (!il || index < 0 || index >= static_cast<int>(il->images.size())) return 0;
  return il->images[static_cast<size_t>(index)].glyph;
}

COLORREF ImageList_GetPixel(HIMAGELIST il, int index, int x, int y) {
  if (!il || index < 0 || index >= static_cast<int>(il->images.size()) || x < 0 || y < 0 || x >= il->cx || y >= il->cy)
    return CLR_INVALID;
  COLORREF c = il->images[static_cast<size_t>(index)].pixels[static_cast<size_t>(y * il->cx + x)];
  return c == kTransparent ? CLR_NONE : c;
}

BOOL ImageList_Draw(HIMAGELIST il, int index, HDC dc, int x, int y, UINT) {
  if (!il || index < 0 || index >= static_cast<int>(il->images.size())) return FALSE;
  const auto& img = il->images[static_cast<size_t>(index)];
  // The image fits the slot and row the metrics give it: where they are
  // smaller than the image (the text profile's cells), it is drawn scaled
  // down, keeping its proportions and leaving a pixel before the label, so
  // that it covers neither its label nor the next row.
  const zrui::Metrics& m = zrui::GetMetrics();
  const int slotWidth = m.ImageSlotWidth(il->cx), rowHeight = m.ImageRowHeight(il->cy);
  int cx = il->cx, cy = il->cy;
  const std::vector<COLORREF>* pixels = &img.pixels;
  std::vector<COLORREF> fitted;
  if (cx > slotWidth || cy > rowHeight) {
    const double scale = std::min(static_cast<double>(slotWidth - 1) / il->cx, static_cast<double>(rowHeight) / il->cy);
    cx = std::max(1, static_cast<int>(il->cx * scale));
    cy = std::max(1, static_cast<int>(il->cy * scale));
    fitted.resize(static_cast<size_t>(cx * cy));
    for (int j = 0; j < cy; ++j)
      for (int i = 0; i < cx; ++i)
        fitted[static_cast<size_t>(j * cx + i)] = img.pixels[static_cast<size_t>(j * il->cy / cy * il->cx + i * il->cx / cx)];
    pixels = &fitted;
    y += (rowHeight - cy) / 2;
  }
  HBITMAP tmp = CreateBitmap(cx, cy, 1, 32, pixels->data());
  SetBitmapGlyphs(tmp, std::u16string(1, img.glyph), 0);
  BOOL ok = DrawBitmap(dc, x, y, tmp, 0, 0, cx, cy, kTransparent);
  DeleteObject(tmp);
  return ok;
}

void InitCommonControls() {}
