// The two metrics profiles: dialog units to pixels, image rows, and the
// profile switch.
#include <gtest/gtest.h>

#include "zrui/metrics.h"
#include "zrui/winapi.h"

namespace zrui {
namespace {

struct Case {
  int x, y, cx, cy;
  bool container;
  RECT cells;  // expected, in cells (text profile)
};

TEST(Metrics, TextProfileSnapsEachEdgeToTheNearestCellAndContainersOutward) {
  ScopedMetricsProfile p(MetricsProfile::Text);
  const Metrics& m = GetMetrics();
  const Case cases[] = {
      {7, 7, 62, 11, false, {2, 1, 17, 2}},       // a label: 1.75 -> 2, 0.875 -> 1, 17.25 -> 17, 2.25 -> 2
      {146, 18, 206, 87, false, {37, 2, 88, 13}},  // halves round up (36.5 -> 37)
      {141, 148, 216, 55, true, {35, 18, 90, 26}}, // a group box rounds outward
      {0, 0, 2, 2, false, {0, 0, 1, 1}},           // anything with a size keeps a cell
  };
  for (const Case& c : cases) {
    RECT r = m.DialogRectToPixels(c.x, c.y, c.cx, c.cy, c.container);
    RECT want{c.cells.left * 7, c.cells.top * 13, c.cells.right * 7, c.cells.bottom * 13};
    EXPECT_TRUE(::EqualRect(&r, &want)) << c.x << "," << c.y << " " << c.cx << "x" << c.cy << ": got " << r.left << ","
                                      << r.top << "-" << r.right << "," << r.bottom;
  }
  EXPECT_EQ(m.ImageRowHeight(16), 13) << "image rows are one cell high";
  EXPECT_EQ(m.ImageSlotWidth(16), 14) << "glyph and gap";
  EXPECT_EQ(m.SnapX(10), 7);
  EXPECT_EQ(m.SnapY(7), 13);
}

TEST(Metrics, PixelProfileKeepsTheClassicConversion) {
  ScopedMetricsProfile p(MetricsProfile::Pixel);
  const Metrics& m = GetMetrics();
  RECT r = m.DialogRectToPixels(7, 7, 50, 14, true);
  RECT want{12, 11, 12 + 88, 11 + 23};  // 7*7/4 = 12.25, 50*7/4 = 87.5 -> 88, 14*13/8 = 22.75 -> 23
  EXPECT_TRUE(::EqualRect(&r, &want)) << r.left << "," << r.top << "-" << r.right << "," << r.bottom;
  EXPECT_EQ(m.ImageRowHeight(16), 16);
  EXPECT_EQ(m.SnapX(10), 10);
}

TEST(Metrics, TheScopedProfileRestoresThePreviousOne) {
  MetricsProfile before = GetMetricsProfile();
  {
    ScopedMetricsProfile p(before == MetricsProfile::Text ? MetricsProfile::Pixel : MetricsProfile::Text);
    EXPECT_NE(GetMetricsProfile(), before);
  }
  EXPECT_EQ(GetMetricsProfile(), before);
}

}  // namespace
}  // namespace zrui
