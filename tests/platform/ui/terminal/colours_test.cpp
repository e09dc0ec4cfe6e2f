// Colours keep their meaning at every depth: the four state lights, links,
// dimmed text and selections stay distinct from each other and from the
// dialog's face.

#include "zrterm/colours.h"

#include <gtest/gtest.h>

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
