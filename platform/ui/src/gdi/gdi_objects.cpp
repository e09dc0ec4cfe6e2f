// GDI object lifetime, stock objects, system colours, fonts, brushes, bitmaps.
#include "gdi/gdi_objects.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>
#include <unordered_set>

namespace zrui::detail {
namespace {

struct GdiTable {
  std::mutex m;
  std::unordered_set<const void*> live;
  int nonStock = 0;
};

GdiTable& table() {
  static auto* t = new GdiTable;
  return *t;
}

}  // namespace

void RegisterGdi(GdiObject* o) {
  GdiTable& t = table();
  std::lock_guard lock(t.m);
  t.live.insert(o);
  if (!o->stock) ++t.nonStock;
}

void UnregisterGdi(GdiObject* o) {
  GdiTable& t = table();
  std::lock_guard lock(t.m);
  if (t.live.erase(o) && !o->stock) --t.nonStock;
}

GdiObject* LookupGdi(const void* h) {
  if (!h) return nullptr;
  GdiTable& t = table();
  std::lock_guard lock(t.m);
  return t.live.count(h) ? static_cast<GdiObject*>(const_cast<void*>(h)) : nullptr;
}

}  // namespace zrui::detail

using namespace zrui::detail;

namespace {

template <typename T>
T* MakeStock() {
  auto* o = new T;
  o->stock = true;
  RegisterGdi(o);
  return o;
}

constexpr std::array<COLORREF, 31> kSysColors = [] {
  std::array<COLORREF, 31> c{};
  c[COLOR_SCROLLBAR] = RGB(200, 200, 200);
  c[COLOR_BACKGROUND] = RGB(0, 0, 0);
  c[COLOR_ACTIVECAPTION] = RGB(153, 180, 209);
  c[COLOR_WINDOW] = RGB(255, 255, 255);
  c[COLOR_WINDOWFRAME] = RGB(100, 100, 100);
  c[COLOR_WINDOWTEXT] = RGB(0, 0, 0);
  c[COLOR_CAPTIONTEXT] = RGB(0, 0, 0);
  // Dark enough that white text on it keeps a contrast above 4.5 : 1.
  c[COLOR_HIGHLIGHT] = RGB(0, 103, 192);
  c[COLOR_HIGHLIGHTTEXT] = RGB(255, 255, 255);
  c[COLOR_BTNFACE] = RGB(240, 240, 240);
  c[COLOR_BTNSHADOW] = RGB(160, 160, 160);
  c[COLOR_GRAYTEXT] = RGB(109, 109, 109);
  c[COLOR_BTNTEXT] = RGB(0, 0, 0);
  c[COLOR_BTNHIGHLIGHT] = RGB(255, 255, 255);
  c[COLOR_INFOTEXT] = RGB(0, 0, 0);
  c[COLOR_INFOBK] = RGB(255, 255, 225);
  c[COLOR_HOTLIGHT] = RGB(0, 102, 204);
  return c;
}();

}  // namespace

COLORREF GetSysColor(int index) {
  if (index < 0 || index >= static_cast<int>(kSysColors.size())) return 0;
  return kSysColors[static_cast<size_t>(index)];
}

HBRUSH GetSysColorBrush(int index) {
  static std::mutex m;
  static std::array<BrushObj*, 31> brushes{};
  if (index < 0 || index >= static_cast<int>(brushes.size())) return nullptr;
  std::lock_guard lock(m);
  auto& b = brushes[static_cast<size_t>(index)];
  if (!b) {
    b = MakeStock<BrushObj>();
    b->color = GetSysColor(index);
  }
  return reinterpret_cast<HBRUSH>(static_cast<GdiObject*>(b));
}

HGDIOBJ GetStockObject(int index) {
  static std::once_flag once;
  static std::array<GdiObject*, 20> stock{};
  std::call_once(once, [] {
    auto brush = [](COLORREF c, bool hollow) {
      auto* b = MakeStock<BrushObj>();
      b->color = c;
      b->hollow = hollow;
      return b;
    };
    stock[WHITE_BRUSH] = brush(RGB(255, 255, 255), false);
    stock[LTGRAY_BRUSH] = brush(RGB(192, 192, 192), false);
    stock[GRAY_BRUSH] = brush(RGB(128, 128, 128), false);
    stock[BLACK_BRUSH] = brush(RGB(0, 0, 0), false);
    stock[NULL_BRUSH] = brush(CLR_INVALID, true);
    stock[SYSTEM_FONT] = MakeStock<FontObj>();
    stock[DEFAULT_GUI_FONT] = MakeStock<FontObj>();
  });
  if (index < 0 || index >= static_cast<int>(stock.size())) return nullptr;
  return stock[static_cast<size_t>(index)];
}

HFONT CreateFontIndirectW(const LOGFONTW* lf) {
  if (!lf) return nullptr;
  auto* f = new FontObj;
  f->lf = *lf;
  RegisterGdi(f);
  return reinterpret_cast<HFONT>(static_cast<GdiObject*>(f));
}

HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight,
                  DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCWSTR face) {
  LOGFONTW lf;
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = static_cast<BYTE>(italic);
  lf.lfUnderline = static_cast<BYTE>(underline);
  lf.lfStrikeOut = static_cast<BYTE>(strikeOut);
  lf.lfCharSet = static_cast<BYTE>(charSet);
  lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
  lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  lf.lfQuality = static_cast<BYTE>(quality);
  lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  for (int i = 0; face && face[i] && i < 31; ++i) lf.lfFaceName[i] = face[i];
  return CreateFontIndirectW(&lf);
}

int GetObjectW(HGDIOBJ obj, int size, LPVOID out) {
  GdiObject* o = LookupGdi(obj);
  if (!o) return 0;
  if (o->kind == GdiKind::Font) {
    if (!out) return sizeof(LOGFONTW);
    if (size < static_cast<int>(sizeof(LOGFONTW))) return 0;
    std::memcpy(out, &static_cast<FontObj*>(o)->lf, sizeof(LOGFONTW));
    return sizeof(LOGFONTW);
  }
  if (o->kind == GdiKind::Bitmap) {
    if (!out) return sizeof(BITMAP);
    if (size < static_cast<int>(sizeof(BITMAP))) return 0;
    auto* b = static_cast<BitmapObj*>(o);
    BITMAP bm;
    bm.bmWidth = b->width;
    bm.bmHeight = b->height;
    bm.bmWidthBytes = b->width * 4;
    std::memcpy(out, &bm, sizeof(BITMAP));
    return sizeof(BITMAP);
  }
  return 0;
}

BOOL DeleteObject(HGDIOBJ obj) {
  GdiObject* o = LookupGdi(obj);
  if (!o || o->kind == GdiKind::DC) return FALSE;
  if (o->stock) return TRUE;
  UnregisterGdi(o);
  delete o;
  return TRUE;
}

int LiveGdiObjectCount() {
  GdiTable& t = table();
  std::lock_guard lock(t.m);
  return t.nonStock;
}

HBRUSH CreateSolidBrush(COLORREF c) {
  auto* b = new BrushObj;
  b->color = c;
  RegisterGdi(b);
  return reinterpret_cast<HBRUSH>(static_cast<GdiObject*>(b));
}

COLORREF BrushColor(HBRUSH h) {
  BrushObj* b = BrushOf(h);
  return (!b || b->hollow) ? CLR_INVALID : b->color;
}

HBITMAP CreateBitmap(int width, int height, UINT, UINT, const void* bits) {
  if (width < 0 || height < 0) return nullptr;
  auto* b = new BitmapObj;
  b->width = width;
  b->height = height;
  b->pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), RGB(0, 0, 0));
  if (bits) std::memcpy(b->pixels.data(), bits, b->pixels.size() * sizeof(COLORREF));
  RegisterGdi(b);
  return reinterpret_cast<HBITMAP>(static_cast<GdiObject*>(b));
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
  return CreateBitmap(width, height, 1, 32, nullptr);
}

COLORREF GetBitmapPixel(HBITMAP h, int x, int y) {
  BitmapObj* b = BitmapOf(h);
  return b ? b->at(x, y) : CLR_INVALID;
}

BOOL SetBitmapPixel(HBITMAP h, int x, int y, COLORREF c) {
  BitmapObj* b = BitmapOf(h);
  if (!b || x < 0 || y < 0 || x >= b->width || y >= b->height) return FALSE;
  b->pixels[static_cast<size_t>(y * b->width + x)] = c;
  return TRUE;
}

void SetBitmapGlyphs(HBITMAP h, const std::u16string& glyphs, int cellWidth) {
  if (BitmapObj* b = BitmapOf(h)) {
    b->glyphs = glyphs;
    b->glyphCell = cellWidth;
  }
}

std::u16string BitmapGlyphs(HBITMAP h, int x, int width) {
  BitmapObj* b = BitmapOf(h);
  if (!b) return {};
  if (b->glyphs.empty()) return u"#";
  if (b->glyphCell <= 0) return b->glyphs;
  std::u16string out;
  for (int cx = x; cx < x + width; cx += b->glyphCell) {
    size_t i = static_cast<size_t>(cx / b->glyphCell);
    if (i < b->glyphs.size()) out += b->glyphs[i];
  }
  return out;
}
