// Panning a screen larger than the terminal to keep the focused control in
// view.

#include "zrterm/viewport.h"

#include <gtest/gtest.h>

namespace {

using zrterm::Box;
using zrterm::chooseView;
using zrterm::Hidden;
using zrterm::hiddenSides;
using zrterm::kMinRowsToPin;
using zrterm::scrolled;
using zrterm::scrolledSideways;
using zrterm::View;
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
  // A box wider than the terminal shows from its left, and stays while its
  // left is in view.
  EXPECT_EQ(panToShow({10, 0, 95, 1}, screen, terminal, {15, 0}), (Point{10, 0}));
  EXPECT_EQ(panToShow({10, 0, 95, 1}, screen, terminal, {0, 0}), (Point{0, 0}));
}

TEST(Viewport, AScreenThatFitsIsNeverPanned) {
  EXPECT_EQ(panToShow({80, 28, 96, 29}, {100, 30}, {120, 40}, {7, 3}), (Point{0, 0}));
  EXPECT_EQ(panToShow({80, 2, 96, 3}, {100, 30}, {100, 10}, {0, 0}), (Point{0, 0}));
}

// The connectors screen (93 x 31 cells) on a terminal of 80 x 24: the
// dialog starts at the screen's corner, as a dialog larger than the screen
// is placed. With its scroll bars the view shows 79 x 23 cells: the caption
// row and 22 rows of the body.
const Box kDialog{0, 0, 93, 31};
const Size kScreen{93, 31}, kTerminal{80, 24};

TEST(Viewport, ALargeDialogPinsItsCaptionAndFollowsTheFocusOnlyWhenItWouldLeave) {
  // Fresh, the focus near the top: the corner, caption on the first row,
  // bars on the right and at the bottom.
  View v = chooseView(kDialog, Box{3, 4, 20, 14}, kScreen, kTerminal, {}, true);
  EXPECT_EQ(v.pan, (Point{0, 0}));
  EXPECT_TRUE(v.pinned);
  EXPECT_TRUE(v.vertical);
  EXPECT_TRUE(v.horizontal);
  EXPECT_EQ(v.shown(), (Size{79, 23}));
  EXPECT_EQ(v.captionRow, 0);
  // Focus to the buttons at the bottom right: just far enough.
  v = chooseView(kDialog, Box{70, 28, 90, 29}, kScreen, kTerminal, v, false);
  EXPECT_EQ(v.pan, (Point{11, 6}));
  // The caption still shows on the first row, the rows under it scrolled:
  // the buttons' row on the last one above the bar.
  EXPECT_EQ(v.screenCell({5, 0}), (Point{16, 0}));
  EXPECT_EQ(v.screenCell({5, 1}), (Point{16, 7}));
  EXPECT_EQ(v.terminalCell({70, 28}), (Point{59, 22}));
  // The bars show no screen cell; the row that the caption covers is not shown.
  EXPECT_EQ(v.screenCell({79, 5}), std::nullopt);
  EXPECT_EQ(v.screenCell({5, 23}), std::nullopt);
  EXPECT_EQ(v.terminalCell({16, 6}), std::nullopt);
  // A control in view: nothing moves (Tab between neighbours does not jump).
  const View same = chooseView(kDialog, Box{40, 20, 60, 21}, kScreen, kTerminal, v, false);
  EXPECT_EQ(same, v);
  // Back to a control near the top: the body scrolls back under the caption.
  v = chooseView(kDialog, Box{3, 2, 20, 3}, kScreen, kTerminal, v, false);
  EXPECT_EQ(v.pan, (Point{3, 1}));
  EXPECT_EQ(v.screenCell({0, 1}), (Point{3, 2}));
  // The top row of the body follows the caption.
  v = chooseView(kDialog, Box{3, 1, 20, 2}, kScreen, kTerminal, v, false);
  EXPECT_EQ(v.pan, (Point{3, 0}));
  // Scrolled by the person: within the dialog.
  EXPECT_EQ(scrolled(v, kDialog, 100).pan, (Point{3, 8}));
  EXPECT_EQ(scrolled(v, kDialog, -100).pan, (Point{3, 0}));
  // And sideways: as far as the dialog's right edge at the view's (the close
  // box in sight), back to its left edge.
  EXPECT_EQ(scrolledSideways(v, kDialog, 5).pan, (Point{8, 0}));
  EXPECT_EQ(scrolledSideways(v, kDialog, 100).pan, (Point{14, 0}));
  EXPECT_EQ(scrolledSideways(v, kDialog, -100).pan, (Point{0, 0}));
}

TEST(Viewport, ADialogThatFitsShowsWholeAndTooFewRowsPinNothing) {
  const View whole = chooseView(Box{20, 8, 60, 16}, Box{30, 10, 40, 11}, {80, 24}, kTerminal, {}, true);
  EXPECT_EQ(whole.pan, (Point{0, 0}));
  EXPECT_FALSE(whole.pinned);
  EXPECT_FALSE(whole.vertical);
  EXPECT_FALSE(whole.horizontal);
  const View low = chooseView(kDialog, Box{3, 20, 20, 21}, kScreen, Size{80, kMinRowsToPin - 1}, {}, true);
  EXPECT_FALSE(low.pinned);
  EXPECT_EQ(low.pan, (Point{0, 17}));
  // No focus: the dialog's corner.
  EXPECT_EQ(chooseView(kDialog, std::nullopt, kScreen, kTerminal, {}, true).pan, (Point{0, 0}));
  // Only taller than the terminal: a vertical bar, which makes a dialog as
  // wide as the terminal too wide by one column.
  const View tall = chooseView(Box{0, 0, 80, 31}, std::nullopt, {80, 31}, kTerminal, {}, true);
  EXPECT_TRUE(tall.vertical);
  EXPECT_TRUE(tall.horizontal);
  const View narrow = chooseView(Box{0, 0, 60, 31}, std::nullopt, {80, 31}, kTerminal, {}, true);
  EXPECT_TRUE(narrow.vertical);
  EXPECT_FALSE(narrow.horizontal);
}

TEST(Viewport, TheSidesOutOfViewAreTold) {
  View v = chooseView(kDialog, Box{3, 4, 20, 14}, kScreen, kTerminal, {}, true);
  Hidden h = hiddenSides(v, kDialog);
  EXPECT_FALSE(h.left);
  EXPECT_FALSE(h.top);
  EXPECT_TRUE(h.right);
  EXPECT_TRUE(h.bottom);
  v = chooseView(kDialog, Box{70, 28, 93, 31}, kScreen, kTerminal, v, false);
  h = hiddenSides(v, kDialog);
  EXPECT_TRUE(h.left);
  EXPECT_TRUE(h.top);
  EXPECT_FALSE(h.right);
  EXPECT_FALSE(h.bottom);
  EXPECT_FALSE(hiddenSides(chooseView(Box{20, 8, 60, 16}, std::nullopt, {80, 24}, kTerminal, {}, true),
                           Box{20, 8, 60, 16})
                   .any());
}

}  // namespace
