// Bitmap resources by id.
#include <algorithm>
#include <map>
#include <mutex>

#include "zrui/gdi.h"

namespace {

struct BitmapResource {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;
  std::u16string glyphs;
  int glyphCell = 0;
};

std::mutex g_mutex;
std::map<UINT, BitmapResource>& resources() {
  static auto* m = new std::map<UINT, BitmapResource>;
  return *m;
}

}  // namespace

void RegisterBitmapResource(UINT id, int width, int height, std::vector<COLORREF> pixels, std::u16string glyphs,
                            int glyphCell) {
  pixels.resize(static_cast<size_t>(std::max(width, 0)) * static_cast<size_t>(std::max(height, 0)), 0);
  std::lock_guard lock(g_mutex);
  resources()[id] = BitmapResource{width, height, std::move(pixels), std::move(glyphs), glyphCell};
}

HBITMAP LoadBitmapW(HINSTANCE, LPCWSTR name) {
  if (!IS_INTRESOURCE(name)) return nullptr;
  BitmapResource r;
  {
    std::lock_guard lock(g_mutex);
    auto it = resources().find(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)));
    if (it == resources().end()) return nullptr;
    r = it->second;
  }
  HBITMAP b = CreateBitmap(r.width, r.height, 1, 32, r.pixels.data());
  if (!r.glyphs.empty()) SetBitmapGlyphs(b, r.glyphs, r.glyphCell);
  return b;
}

std::vector<COLORREF> PixelsFromArt(const std::vector<std::u16string>& rows,
                                    const std::vector<std::pair<char16_t, COLORREF>>& palette) {
  std::vector<COLORREF> out;
  for (const auto& row : rows) {
    for (char16_t ch : row) {
      COLORREF c = 0;
      for (const auto& [key, colour] : palette)
        if (key == ch) c = colour;
      out.push_back(c);
    }
  }
  return out;
}
