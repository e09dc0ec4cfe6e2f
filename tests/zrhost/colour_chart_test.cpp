// The colour chart that the terminal shows when the module asks for a colour.
#include <gtest/gtest.h>

#include <cstdio>

#include "colour_chart.h"

namespace {

TEST(ColourChart, ListsEveryIndexOnceWithTheInitialOneMarked) {
  const std::string chart = zrhost::colourChart(30, false);
  EXPECT_NE(chart.find("[ 30]"), std::string::npos) << chart;
  EXPECT_EQ(chart.find("[ 31]"), std::string::npos);
  for (int i : {1, 7, 128, 255}) {
    char cell[8];
    std::snprintf(cell, sizeof cell, "%3d", i);
    EXPECT_NE(chart.find(cell), std::string::npos) << i;
  }
  EXPECT_NE(chart.find(" 0  by block"), std::string::npos) << chart;
  EXPECT_NE(zrhost::colourChart(256, false).find("[256] by layer"), std::string::npos);
  EXPECT_EQ(chart.find('\x1b'), std::string::npos) << "no escape sequences off a terminal";
}

TEST(ColourChart, EachSwatchHasItsPaletteColour) {
  const std::string chart = zrhost::colourChart(1, true);
  // Index 1 is red with white digits; index 2 yellow with black ones.
  EXPECT_NE(chart.find("\x1b[48;2;255;0;0m\x1b[38;2;255;255;255m[  1]"), std::string::npos);
  EXPECT_NE(chart.find("\x1b[48;2;255;255;0m\x1b[38;2;0;0;0m   2 "), std::string::npos);
}

}  // namespace
