// The host's colour picker as a person sees it: on the character grid (the
// terminal's layout) with the swatches in their palette colours and the
// selection bracketed, and in pictures; driven by keys and the mouse.

#include <gtest/gtest.h>

#include <string>

#include "zrdwg/OdCmColor.h"
#include "colour_picker.h"
#include "colour_swatches.h"
#include "zrui/metrics.h"
#include "zrui/picture.h"
#include "zrui/testing.h"
#include "zrui/textrender.h"

namespace {

using zrhost::kColourPickerSwatches;

COLORREF palette(int index) {
  const uint32_t rgb = OdCmEntityColor::lookUpRGB(index);
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

class ColourPicker : public ::testing::Test {
 protected:
  void SetUp() override { zrui::SetModalIdleTimeout(std::chrono::seconds(5)); }
  void TearDown() override { zrui::ClearModalScripts(); }

  // Where swatch `index` starts on the grid of the picker's window.
  static POINT cellOf(HWND picker, int index) {
    HWND swatches = GetDlgItem(picker, kColourPickerSwatches);
    RECT r{};
    SendMessageW(swatches, zrhost::kSwatchGetItemRect, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    POINT p{r.left, r.top};
    ClientToScreen(swatches, &p);
    RECT w;
    GetWindowRect(picker, &w);
    return POINT{(p.x - w.left) / zrui::GetMetrics().cellWidth, (p.y - w.top) / zrui::GetMetrics().cellHeight};
  }
};

TEST_F(ColourPicker, OnTheCharacterGridEverySwatchHasItsColourAndTheSelectionItsBrackets) {
  zrui::ScopedMetricsProfile profile{zrui::MetricsProfile::Text};
  zrui::TextGrid before(0, 0), after(0, 0);
  POINT five{}, six{}, one{}, last{};
  zrui::OnNextModal([&](HWND picker) {
    before = zrui::RenderWindow(picker);
    five = cellOf(picker, 5);
    six = cellOf(picker, 6);
    one = cellOf(picker, 1);
    last = cellOf(picker, 256);
    zrui::PressKey(VK_RIGHT);
    after = zrui::RenderWindow(picker);
    zrui::PressKey(VK_RETURN);
  });
  EXPECT_EQ(zrhost::runColourPicker(5), 6);

  const std::string text = before.utf8();
  // 36 x 22 cells of client area inside the frame; a swatch is two cells.
  EXPECT_EQ(before.width(), 38) << text;
  EXPECT_EQ(before.height(), 24) << text;
  EXPECT_EQ(six.x - five.x, 2);
  EXPECT_NE(text.find("Index 5 (0,0,255)"), std::string::npos) << text;
  EXPECT_NE(text.find("<    OK    >  [  Cancel  ]"), std::string::npos) << text;
  EXPECT_EQ(before.at(five.x, five.y).ch, u'[') << text;
  EXPECT_EQ(before.at(five.x + 1, five.y).ch, u']') << text;
  EXPECT_EQ(before.at(six.x, six.y).ch, u' ') << text;
  EXPECT_EQ(after.at(six.x, six.y).ch, u'[') << after.utf8();
  EXPECT_EQ(after.at(five.x, five.y).ch, u' ') << after.utf8();
  EXPECT_NE(after.utf8().find("Index 6 (255,0,255)"), std::string::npos) << after.utf8();
  // Both cells of every palette swatch in its colour; 0 and 256 marked.
  for (int i = 1; i < 256; ++i) {
    const int col = one.x + (i % 16) * 2 - 2, row = one.y + i / 16;
    EXPECT_EQ(before.at(col, row).bg, palette(i)) << "index " << i;
    EXPECT_EQ(before.at(col + 1, row).bg, palette(i)) << "index " << i;
  }
  const std::u16string zero{before.at(one.x - 2, one.y).ch, before.at(one.x - 1, one.y).ch};
  const std::u16string byLayer{before.at(last.x, last.y).ch, before.at(last.x + 1, last.y).ch};
  EXPECT_NE(zero.find(u'B'), std::u16string::npos) << text;
  EXPECT_NE(byLayer.find(u'L'), std::u16string::npos) << text;
}

TEST_F(ColourPicker, TheMouseChoosesAndCancelChoosesNothing) {
  zrui::ScopedMetricsProfile profile{zrui::MetricsProfile::Text};
  auto swatchPoint = [](HWND picker, int index) {
    RECT r{};
    SendMessageW(GetDlgItem(picker, kColourPickerSwatches), zrhost::kSwatchGetItemRect, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&r));
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  };
  zrui::OnNextModal([&](HWND picker) {
    zrui::DoubleClickAt(GetDlgItem(picker, kColourPickerSwatches), swatchPoint(picker, 200));
  });
  EXPECT_EQ(zrhost::runColourPicker(7), 200);
  zrui::OnNextModal([&](HWND picker) {
    zrui::ClickAt(GetDlgItem(picker, kColourPickerSwatches), swatchPoint(picker, 0));
    zrui::Click(GetDlgItem(picker, IDOK));
  });
  EXPECT_EQ(zrhost::runColourPicker(7), 0);
  zrui::OnNextModal([&](HWND picker) {
    zrui::ClickAt(GetDlgItem(picker, kColourPickerSwatches), swatchPoint(picker, 12));
    zrui::Click(GetDlgItem(picker, IDCANCEL));
  });
  EXPECT_EQ(zrhost::runColourPicker(7), std::nullopt);
  // Out-of-range initial values open clamped, as the module's callers clamp.
  int opened = -1;
  zrui::OnNextModal([&](HWND picker) {
    opened = static_cast<int>(SendDlgItemMessageW(picker, kColourPickerSwatches, zrhost::kSwatchGetSel, 0, 0));
    zrui::PressKey(VK_ESCAPE);
  });
  EXPECT_EQ(zrhost::runColourPicker(999), std::nullopt);
  EXPECT_EQ(opened, 256);
}

TEST_F(ColourPicker, APictureShowsTheSwatchesInTheirColoursAndFramesTheSelection) {
  zrui::ScopedMetricsProfile profile{zrui::MetricsProfile::Pixel};
  zrui::Picture picture;
  RECT swatch3{}, swatch40{}, window{};
  zrui::OnNextModal([&](HWND picker) {
    HWND swatches = GetDlgItem(picker, kColourPickerSwatches);
    ASSERT_TRUE(zrui::RenderWindowPicture(picker, &picture, zrui::PictureOptions{1}).ok);
    GetWindowRect(picker, &window);
    for (auto [index, rect] : {std::pair{3, &swatch3}, std::pair{40, &swatch40}}) {
      SendMessageW(swatches, zrhost::kSwatchGetItemRect, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect));
      MapWindowPoints(swatches, nullptr, reinterpret_cast<POINT*>(rect), 2);
      OffsetRect(rect, -window.left, -window.top);
    }
    zrui::PressKey(VK_ESCAPE);
  });
  EXPECT_EQ(zrhost::runColourPicker(40), std::nullopt);
  const POINT mid3{(swatch3.left + swatch3.right) / 2, (swatch3.top + swatch3.bottom) / 2};
  EXPECT_EQ(picture.At(mid3.x, mid3.y), palette(3));
  const POINT mid40{(swatch40.left + swatch40.right) / 2, (swatch40.top + swatch40.bottom) / 2};
  EXPECT_EQ(picture.At(mid40.x, mid40.y), palette(40));
  EXPECT_EQ(picture.At(swatch40.left, swatch40.top), RGB(0, 0, 0)) << "the selection is framed";
  EXPECT_EQ(picture.At(swatch40.left + 1, swatch40.top + 1), RGB(255, 255, 255));
  EXPECT_NE(picture.At(swatch3.left, swatch3.top), RGB(0, 0, 0)) << "only the selection is framed";
}

}  // namespace
