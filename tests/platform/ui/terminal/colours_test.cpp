// Colours keep their meaning at every depth: the four state lights, links,
// dimmed text and selections stay distinct from each other and from the
// dialog's face.

#include "zrterm/colours.h"

#include "zrui/gdi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace {

using namespace zrterm;

constexpr Rgb kFace = rgb(192, 192, 192);
constexpr Rgb kWindow = rgb(255, 255, 255);
// Lights as image strips draw them, in several shades each.
const Rgb kGreens[] = {rgb(0, 255, 0), rgb(0, 160, 0), rgb(0, 128, 0), rgb(60, 200, 60)};
const Rgb kYellows[] = {rgb(255, 255, 0), rgb(230, 200, 0), rgb(255, 190, 0), rgb(200, 180, 40)};
const Rgb kReds[] = {rgb(255, 0, 0), rgb(200, 0, 0), rgb(128, 0, 0), rgb(230, 40, 40)};
const Rgb kGreys[] = {rgb(128, 128, 128), rgb(110, 110, 110), rgb(150, 150, 150)};

TEST(Colours, DepthFollowsTheTerminalAndNoColor) {
  EXPECT_EQ(chooseDepth(nullptr, 256), ColourDepth::k256);
  EXPECT_EQ(chooseDepth(nullptr, 16777216), ColourDepth::k256);
  EXPECT_EQ(chooseDepth(nullptr, 8), ColourDepth::k8);
  EXPECT_EQ(chooseDepth(nullptr, 16), ColourDepth::k8);
  EXPECT_EQ(chooseDepth(nullptr, 2), ColourDepth::kMonochrome);
  EXPECT_EQ(chooseDepth(nullptr, 0), ColourDepth::kMonochrome);
  EXPECT_EQ(chooseDepth("1", 256), ColourDepth::kMonochrome);
  // An empty NO_COLOR does not count.
  EXPECT_EQ(chooseDepth("", 256), ColourDepth::k256);
}

TEST(Colours, EightColoursKeepTheLightsApart) {
  for (Rgb c : kGreens) EXPECT_EQ(mapColour(c, ColourDepth::k8), (TermColour{2, false})) << std::hex << c;
  for (Rgb c : kYellows) EXPECT_EQ(mapColour(c, ColourDepth::k8), (TermColour{3, false})) << std::hex << c;
  for (Rgb c : kReds) EXPECT_EQ(mapColour(c, ColourDepth::k8), (TermColour{1, false})) << std::hex << c;
  // Grey is bright black: not the white that stands for the dialog's face.
  for (Rgb c : kGreys) EXPECT_EQ(mapColour(c, ColourDepth::k8), (TermColour{0, true})) << std::hex << c;
  EXPECT_EQ(mapColour(kFace, ColourDepth::k8), (TermColour{7, false}));
  EXPECT_EQ(mapColour(kWindow, ColourDepth::k8), (TermColour{7, false}));
  EXPECT_EQ(mapColour(rgb(0, 0, 0), ColourDepth::k8), (TermColour{0, false}));
  EXPECT_EQ(mapColour(rgb(0, 0, 255), ColourDepth::k8), (TermColour{4, false}));
  EXPECT_EQ(mapColour(rgb(0, 0, 128), ColourDepth::k8), (TermColour{4, false}));
}

TEST(Colours, TwoHundredFiftySixColoursAreNearAndDistinct) {
  EXPECT_EQ(mapColour(rgb(0, 255, 0), ColourDepth::k256).index, 46);
  EXPECT_EQ(mapColour(rgb(255, 0, 0), ColourDepth::k256).index, 196);
  EXPECT_EQ(mapColour(rgb(255, 255, 0), ColourDepth::k256).index, 226);
  EXPECT_EQ(mapColour(rgb(128, 128, 128), ColourDepth::k256).index, 244);
  EXPECT_EQ(mapColour(rgb(255, 255, 255), ColourDepth::k256).index, 231);
  std::set<int> lights;
  for (Rgb c : {kGreens[1], kYellows[1], kReds[1], kGreys[0], kFace})
    lights.insert(mapColour(c, ColourDepth::k256).index);
  EXPECT_EQ(lights.size(), 5u);
}

TEST(Colours, MonochromeUsesAttributesThatKeepTheMeaning) {
  std::set<unsigned> lights;
  for (Rgb c : {kGreens[1], kYellows[1], kReds[1], kGreys[0]}) lights.insert(monochromeAttributes(c, kFace));
  EXPECT_EQ(lights.size(), 4u);
  EXPECT_EQ(monochromeAttributes(kGreens[1], kFace), 0u);
  EXPECT_EQ(monochromeAttributes(kReds[0], kFace), static_cast<unsigned>(kBold));
  EXPECT_EQ(monochromeAttributes(kYellows[0], kFace), static_cast<unsigned>(kBold | kUnderline));
  EXPECT_EQ(monochromeAttributes(kGreys[0], kFace), static_cast<unsigned>(kDim));
  // Links, selections, plain text.
  EXPECT_EQ(monochromeAttributes(rgb(0, 0, 255), kWindow), static_cast<unsigned>(kUnderline));
  EXPECT_EQ(monochromeAttributes(kWindow, rgb(0, 0, 128)), static_cast<unsigned>(kReverse));
  EXPECT_EQ(monochromeAttributes(rgb(0, 0, 0), kFace), 0u);
}

}  // namespace

namespace {

// WCAG 2 contrast ratio of two colours: (L1 + 0.05) / (L2 + 0.05) of their
// relative luminances, the lighter over the darker.
double channelLight(unsigned v) {
  const double c = v / 255.0;
  return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
double luminance(Rgb c) {
  return 0.2126 * channelLight(c & 0xFF) + 0.7152 * channelLight((c >> 8) & 0xFF) +
         0.0722 * channelLight((c >> 16) & 0xFF);
}
double contrast(Rgb a, Rgb b) {
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour an index of the xterm palette stands for (16-255).
Rgb xtermRgb(int index) {
  static const unsigned levels[] = {0, 95, 135, 175, 215, 255};
  if (index >= 232) {
    const unsigned v = 8 + 10 * static_cast<unsigned>(index - 232);
    return rgb(v, v, v);
  }
  const int i = index - 16;
  return rgb(levels[i / 36], levels[(i / 6) % 6], levels[i % 6]);
}

struct Pair {
  const char* what;
  int text, background;  // COLOR_* of the toolkit's palette
};

TEST(Colours, EveryTextOfThePaletteKeepsAContrastOfFourAndAHalfToOneOnItsBackground) {
  const Pair pairs[] = {
      {"window text", COLOR_WINDOWTEXT, COLOR_WINDOW},
      {"dialog text", COLOR_BTNTEXT, COLOR_BTNFACE},
      {"dimmed text on the dialog", COLOR_GRAYTEXT, COLOR_BTNFACE},
      {"dimmed text in a list", COLOR_GRAYTEXT, COLOR_WINDOW},
      {"selection", COLOR_HIGHLIGHTTEXT, COLOR_HIGHLIGHT},
      {"focus frame on the dialog", COLOR_HIGHLIGHT, COLOR_BTNFACE},
      {"caption", COLOR_CAPTIONTEXT, COLOR_ACTIVECAPTION},
      {"tooltip", COLOR_INFOTEXT, COLOR_INFOBK},
      {"link in a list", COLOR_HOTLIGHT, COLOR_WINDOW},
      {"link on the dialog", COLOR_HOTLIGHT, COLOR_BTNFACE},
  };
  for (const Pair& p : pairs) {
    const Rgb text = GetSysColor(p.text), background = GetSysColor(p.background);
    EXPECT_GE(contrast(text, background), 4.5) << p.what;
    // And as a terminal of 256 colours shows them.
    const Rgb shownText = xtermRgb(mapColour(text, ColourDepth::k256).index);
    const Rgb shownBackground = xtermRgb(mapColour(background, ColourDepth::k256).index);
    EXPECT_GE(contrast(shownText, shownBackground), 4.5) << p.what << " in 256 colours";
  }
  // The measure itself: black on white is 21 : 1, a colour on itself 1 : 1.
  EXPECT_NEAR(contrast(rgb(0, 0, 0), rgb(255, 255, 255)), 21.0, 1e-9);
  EXPECT_NEAR(contrast(rgb(0, 120, 215), rgb(0, 120, 215)), 1.0, 1e-9);
  // The selection's old blue stayed under it with white text.
  EXPECT_LT(contrast(rgb(255, 255, 255), rgb(0, 120, 215)), 4.5);
}

}  // namespace
