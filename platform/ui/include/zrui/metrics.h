// The toolkit's metrics in one place, with two profiles.
//
// Pixel profile (the default): dialog units convert to pixels as the
// classic dialog manager does (x * 7 / 4, y * 13 / 8, no rounding to
// cells), image-list rows are as high as their images, images as wide.
// Pictures (PNG) and a future desktop back end use it.
//
// Text profile: the character grid of the terminal and of text snapshots.
// One cell is 7 x 13 pixels and stands for 4 horizontal and 8 vertical
// dialog units (the size of a character of the dialog font, so a label is
// exactly as wide as its text). Rectangles from dialog units snap to whole
// cells once, when the window is made: edges round to the nearest cell,
// and containers (group boxes, tab controls, framed statics) round outward
// so that the controls they hold stay inside their frames. Top-level
// dialogs are placed on cell boundaries. Image-list rows are one cell high
// and an image takes two cells of width (its glyph and a gap).
//
// Choose the profile before creating windows: windows keep the geometry
// they were made with.
#pragma once

#include "zrui/wintypes.h"

namespace zrui {

enum class MetricsProfile { Pixel, Text };

struct Metrics {
  MetricsProfile profile = MetricsProfile::Pixel;
  int cellWidth = 7;        // pixels per character cell
  int cellHeight = 13;
  int dluPerCellX = 4;      // dialog units per cell
  int dluPerCellY = 8;
  bool snapToCells = false; // text profile: template rectangles on cell boundaries
  RECT frameInsets{7, 13, 7, 13};  // top-level frame around the client area
  int scrollBarWidth = 7;   // a vertical scroll bar (one cell)
  int scrollBarHeight = 13; // a horizontal scroll bar (one cell)

  // Height of a list or tree row that shows images of `imageHeight` pixels.
  int ImageRowHeight(int imageHeight) const;
  // Width taken by an image of `imageWidth` pixels in front of a label.
  int ImageSlotWidth(int imageWidth) const;
  // A dialog-unit rectangle (x, y, cx, cy) in pixels, relative to the parent's
  // client area. `container`: a group box, tab control or frame (rounds
  // outward in the text profile).
  RECT DialogRectToPixels(int x, int y, int cx, int cy, bool container = false) const;
  // Rounds a pixel coordinate to the nearest cell boundary (text profile
  // only; the pixel profile returns it unchanged).
  int SnapX(int px) const;
  int SnapY(int py) const;
};

// The metrics of the active profile. Process-wide.
const Metrics& GetMetrics();
MetricsProfile GetMetricsProfile();
// Switches profile. REQUIRES: no window exists that should keep the old
// profile's look (geometry is computed when windows are made).
void SetMetricsProfile(MetricsProfile profile);

// Sets a profile for a scope and restores the previous one.
class ScopedMetricsProfile {
 public:
  explicit ScopedMetricsProfile(MetricsProfile p) : old_(GetMetricsProfile()) { SetMetricsProfile(p); }
  ~ScopedMetricsProfile() { SetMetricsProfile(old_); }
  ScopedMetricsProfile(const ScopedMetricsProfile&) = delete;
  ScopedMetricsProfile& operator=(const ScopedMetricsProfile&) = delete;

 private:
  MetricsProfile old_;
};

}  // namespace zrui
