#pragma once
// The host's colour dialog as a toolkit dialog: the 257 colour indexes as a
// grid of swatches (colour_swatches.h), the index under the selection and
// its colour in a label, OK and Cancel. It opens with the initial index
// selected (clamped to 0..256, as the module's callers clamp it) and the
// swatches focused. Arrows or the mouse move the selection; Enter, OK or a
// double click choose; Escape, Cancel or the title-bar close cancel.
//
// Like the toolkit's other dialogs it is driven by simulated input (tests,
// the terminal front end, zrhost's queued actions): choosing an entry of
// control kColourPickerSwatches by index is choosing that colour.
//
// Needs the window toolkit. REQUIRES: the thread that runs the host's modal
// loops.

#include <optional>

#include "zrui/dialog.h"

namespace zrhost {

// Control ids of the picker.
constexpr int kColourPickerSwatches = 100;
constexpr int kColourPickerLabel = 101;

// The picker's template (dialog units; 36 x 22 character cells of client
// area in the text profile).
const DialogTemplate& colourPickerTemplate();

// Runs the picker modally over the active window. Returns the chosen index,
// or nothing when cancelled.
std::optional<int> runColourPicker(int initial);

// The label's text for an index: "Index 5 (0,0,255)", "Index 0 (by block)",
// "Index 256 (by layer)".
std::u16string colourLabel(int index);

}  // namespace zrhost
