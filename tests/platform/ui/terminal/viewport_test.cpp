// Panning a screen larger than the terminal to keep the focused control in
// view.

#include "zrterm/viewport.h"

#include <gtest/gtest.h>

namespace {

using zrterm::Box;
using zrterm::panToShow;
using zrterm::Point;
using zrterm::Size;

TEST(Viewport, PansAsLittleAsNeededAndStaysInsideTheScreen) {
  const Size screen{100, 30}, terminal{80, 24};
  // In view: no move.
  EXPECT_EQ(panToShow({2, 8, 20, 9}, screen, terminal, {0, 0}), (Point{0, 0}));
  // Off to the right and below: just far enough.
  EXPECT_EQ(panToShow({80, 28, 96, 29}, screen, terminal, {0, 0}), (Point{16, 5}));
  // Back to the top-left control.
  EXPECT_EQ(panToShow({2, 8, 20, 9}, screen, terminal, {16, 5}), (Point{2, 5}));
  // Never beyond the screen's edge, whatever the current offset.
  EXPECT_EQ(panToShow({90, 29, 100, 30}, screen, terminal, {50, 50}), (Point{20, 6}));
  // A box wider than the terminal shows from its left.
  EXPECT_EQ(panToShow({10, 0, 95, 1}, screen, terminal, {0, 0}), (Point{10, 0}));
}

TEST(Viewport, AScreenThatFitsIsNeverPanned) {
  EXPECT_EQ(panToShow({80, 28, 96, 29}, {100, 30}, {120, 40}, {7, 3}), (Point{0, 0}));
  EXPECT_EQ(panToShow({80, 2, 96, 3}, {100, 30}, {100, 10}, {0, 0}), (Point{0, 0}));
}

}  // namespace
