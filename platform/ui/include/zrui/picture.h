// Pictures of windows and of the screen: the pixel rendering of what the
// text renderer shows, with real bitmaps and image lists and a monospace
// font (DejaVu Sans Mono through FreeType), written as PNG (libpng).
//
// The window is painted through the same WM_PAINT code as on the text grid;
// coordinates are the toolkit's pixels (7 x 13 per character cell) times
// `scale`. Use the pixel metrics profile (zrui/metrics.h) for pictures
// that look like a desktop, the text profile for pictures of the terminal
// layout.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "zrui/winapi.h"

namespace zrui {

// An RGB picture; pixel values are COLORREF (0x00BBGGRR).
struct Picture {
  int width = 0;
  int height = 0;
  int scale = 1;  // picture pixels per toolkit pixel
  std::vector<COLORREF> pixels;
  // The pixel at a toolkit pixel position of the rendered area (the top-left
  // picture pixel of that scaled pixel); CLR_INVALID outside.
  COLORREF At(int x, int y) const;
};

struct PictureOptions {
  int scale = 2;  // 1 to 8
};

// The outcome of a picture operation: ok, or a message that says what failed
// (no such window, font missing, file not writable).
struct PictureStatus {
  bool ok = false;
  std::string error;
  explicit operator bool() const { return ok; }
};

// Paints a window (frame, children, owned popups) into a picture whose
// (0, 0) is the window's top-left corner.
PictureStatus RenderWindowPicture(HWND window, Picture* out, const PictureOptions& options = {});
// Paints every visible top-level window, bottom to top, over the desktop
// colour; the picture covers the smallest rectangle holding them all (a
// one-cell margin around), and is empty when no window is visible.
PictureStatus RenderScreenPicture(Picture* out, const PictureOptions& options = {});

// The same, written to a PNG file (replaced if it exists).
PictureStatus SaveWindowPng(HWND window, const std::string& path, const PictureOptions& options = {});
PictureStatus SaveScreenPng(const std::string& path, const PictureOptions& options = {});
// Writes a picture as PNG.
PictureStatus WritePng(const Picture& picture, const std::string& path);

}  // namespace zrui
