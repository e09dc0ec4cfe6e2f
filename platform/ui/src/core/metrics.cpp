// The two metrics profiles. The active one is read from every thread that
// lays out or paints, so it is switched atomically between two constants.
#include "zrui/metrics.h"

#include <algorithm>
#include <atomic>

#include "zrui/winapi.h"

namespace zrui {
namespace {

Metrics MakeProfile(MetricsProfile p) {
  Metrics m;
  m.profile = p;
  m.snapToCells = p == MetricsProfile::Text;
  return m;
}

const Metrics kPixel = MakeProfile(MetricsProfile::Pixel);
const Metrics kText = MakeProfile(MetricsProfile::Text);
std::atomic<const Metrics*> g_active{&kPixel};

// floor(a / b) for b > 0.
int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
// Nearest multiple of `unit` in `unitPx` pixels, halves rounding up.
int RoundCells(int v, int unit) { return FloorDiv(2 * v + unit, 2 * unit); }

}  // namespace

int Metrics::ImageRowHeight(int imageHeight) const {
  return profile == MetricsProfile::Text ? cellHeight : std::max(cellHeight, imageHeight);
}

int Metrics::ImageSlotWidth(int imageWidth) const {
  if (imageWidth <= 0) return 0;
  return profile == MetricsProfile::Text ? 2 * cellWidth : imageWidth;
}

RECT Metrics::DialogRectToPixels(int x, int y, int cx, int cy, bool container) const {
  if (!snapToCells) {
    // Position and size convert separately, as the classic dialog manager does.
    int l = MulDiv(x, cellWidth, dluPerCellX), t = MulDiv(y, cellHeight, dluPerCellY);
    return RECT{l, t, l + MulDiv(cx, cellWidth, dluPerCellX), t + MulDiv(cy, cellHeight, dluPerCellY)};
  }
  int l, t, r, b;
  if (container) {
    l = FloorDiv(x, dluPerCellX);
    t = FloorDiv(y, dluPerCellY);
    r = -FloorDiv(-(x + cx), dluPerCellX);
    b = -FloorDiv(-(y + cy), dluPerCellY);
  } else {
    l = RoundCells(x, dluPerCellX);
    t = RoundCells(y, dluPerCellY);
    r = RoundCells(x + cx, dluPerCellX);
    b = RoundCells(y + cy, dluPerCellY);
  }
  // Anything with a size keeps at least one cell.
  if (cx > 0) r = std::max(r, l + 1);
  if (cy > 0) b = std::max(b, t + 1);
  return RECT{l * cellWidth, t * cellHeight, r * cellWidth, b * cellHeight};
}

int Metrics::SnapX(int px) const { return snapToCells ? RoundCells(px, cellWidth) * cellWidth : px; }
int Metrics::SnapY(int py) const { return snapToCells ? RoundCells(py, cellHeight) * cellHeight : py; }

const Metrics& GetMetrics() { return *g_active.load(std::memory_order_acquire); }
MetricsProfile GetMetricsProfile() { return GetMetrics().profile; }
void SetMetricsProfile(MetricsProfile p) {
  g_active.store(p == MetricsProfile::Text ? &kText : &kPixel, std::memory_order_release);
}

}  // namespace zrui
