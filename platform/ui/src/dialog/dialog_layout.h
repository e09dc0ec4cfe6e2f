// Where the items of a dialog template land, in pixels of the dialog's
// client area, under the active metrics profile.
#pragma once

#include <vector>

#include "zrui/dialog.h"
#include "zrui/metrics.h"

namespace zrui::detail {

// True for group boxes, tab controls and framed statics: they hold other
// controls and, in the text profile, round outward.
bool IsContainer(const DialogItem& it);

// The rectangle of each item, in template order. The pixel profile converts
// each item on its own. The text profile snaps each edge to the nearest
// cell (containers outward), then applies the rules that need neighbours,
// in this order, so that what is one line in dialog units stays one line
// in cells and nothing apart in dialog units meets in cells:
// - a static text label takes the row of the control beside it (tops at
//   most half a row apart, overlapping vertically): the label keeps its
//   height and moves to that control's first row, unless it would then take
//   a cell of another control;
// - a bordered list or tree grows its top and bottom edges outward into
//   rows that no other control takes, as its border needs a row of its own
//   above and below its content (not onto a container's frame nor onto the
//   dialog's outermost rows);
// - two items apart in dialog units that overlap in cells (a thin item
//   keeps one cell; a container rounds outward): the left or upper one
//   gives up the cells, or when it would have none left the other moves on;
// - two controls side by side that are apart in dialog units keep a blank
//   column between them, and so do push buttons that meet: the left one
//   gives up its last columns.
// Labels whose text is wider than their rectangle grow later, once the
// controls exist (FitStaticText).
std::vector<RECT> LayOutDialogItems(const DialogTemplate& t, const zrui::Metrics& m);

}  // namespace zrui::detail
