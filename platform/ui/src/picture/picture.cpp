// Pictures of windows and of the screen, and their PNG files.
#include "zrui/picture.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include <png.h>

#include "picture/canvas_surface.h"
#include "render/render_paint.h"

namespace zrui {

using namespace zrui::detail;

COLORREF Picture::At(int x, int y) const {
  int px = x * scale, py = y * scale;
  if (x < 0 || y < 0 || px >= width || py >= height) return CLR_INVALID;
  return pixels[static_cast<size_t>(py * width + px)];
}

namespace {

PictureStatus Fail(std::string message) { return PictureStatus{false, std::move(message)}; }

// Paints the windows onto a picture of the given screen area.
PictureStatus Paint(const std::vector<HWND>& tops, const RECT& area, bool desktop, Picture* out, int scale) {
  if (!out) return Fail("no picture to paint into");
  if (scale < 1 || scale > 8) return Fail("picture scale must be 1 to 8, not " + std::to_string(scale));
  out->scale = scale;
  out->width = std::max(0, static_cast<int>(area.right - area.left)) * scale;
  out->height = std::max(0, static_cast<int>(area.bottom - area.top)) * scale;
  out->pixels.assign(static_cast<size_t>(out->width) * static_cast<size_t>(out->height), GetSysColor(COLOR_BTNFACE));
  std::string fontError;
  CanvasSurface surface(out, &fontError);
  RECT all = surface.Bounds();
  if (desktop) surface.Fill(all, GetSysColor(COLOR_BACKGROUND), all);
  POINT origin{area.left, area.top};
  for (HWND t : tops) PaintTopLevel(t, &surface, origin);
  if (!fontError.empty()) return Fail(fontError);
  return PictureStatus{true, {}};
}

}  // namespace

PictureStatus RenderWindowPicture(HWND window, Picture* out, const PictureOptions& options) {
  RECT wr;
  if (!IsWindow(window) || !GetWindowRect(window, &wr)) return Fail("no such window");
  std::vector<HWND> tops{window};
  for (HWND o : OwnedPopups(window)) tops.push_back(o);
  return Paint(tops, wr, false, out, options.scale);
}

PictureStatus RenderScreenPicture(Picture* out, const PictureOptions& options) {
  std::vector<HWND> tops = VisibleTopLevelWindows();
  RECT area{0, 0, 0, 0};
  for (size_t i = 0; i < tops.size(); ++i) {
    RECT r;
    GetWindowRect(tops[i], &r);
    if (i == 0) area = r;
    else UnionRect(&area, &area, &r);
  }
  if (!tops.empty()) InflateRect(&area, kCharWidth, kCharHeight);
  return Paint(tops, area, true, out, options.scale);
}

PictureStatus WritePng(const Picture& picture, const std::string& path) {
  if (picture.width <= 0 || picture.height <= 0) return Fail("the picture is empty (nothing is shown)");
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!file) return Fail("cannot write " + path + ": " + std::strerror(errno));
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info) {
    png_destroy_write_struct(&png, nullptr);
    return Fail("out of memory writing " + path);
  }
  std::vector<png_byte> row(static_cast<size_t>(picture.width) * 3);
  // libpng reports errors by longjmp: nothing with a destructor is created
  // between here and the end of the writing.
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return Fail("cannot write " + path + ": PNG encoding failed");
  }
  png_init_io(png, file.get());
  png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      COLORREF c = picture.pixels[static_cast<size_t>(y * picture.width + x)];
      row[static_cast<size_t>(x) * 3] = static_cast<png_byte>(GetRValue(c));
      row[static_cast<size_t>(x) * 3 + 1] = static_cast<png_byte>(GetGValue(c));
      row[static_cast<size_t>(x) * 3 + 2] = static_cast<png_byte>(GetBValue(c));
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  if (std::fflush(file.get()) != 0) return Fail("cannot write " + path + ": " + std::strerror(errno));
  return PictureStatus{true, {}};
}

PictureStatus SaveWindowPng(HWND window, const std::string& path, const PictureOptions& options) {
  Picture p;
  PictureStatus st = RenderWindowPicture(window, &p, options);
  return st ? WritePng(p, path) : st;
}

PictureStatus SaveScreenPng(const std::string& path, const PictureOptions& options) {
  Picture p;
  PictureStatus st = RenderScreenPicture(&p, options);
  return st ? WritePng(p, path) : st;
}

}  // namespace zrui
