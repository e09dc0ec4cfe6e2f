// Sizing a top-level window by dragging its frame with the mouse, as the
// default window procedure does for windows with a sizing frame
// (WS_THICKFRAME): a left press on the left, right or bottom edge or on a
// corner starts the drag, moves resize the window (WM_GETMINMAXINFO limits,
// then WM_SIZING, where the window may push the dragged edge back), the
// release ends it. The top edge is the caption and does not size.
#pragma once

#include "zrui/winapi.h"

namespace zrui::detail {

// Handles the mouse messages of a frame drag for DefWindowProcW; true when
// the message belonged to one (a press on the frame, or a move or release
// while dragging).
bool FrameDragMessage(HWND h, UINT msg, LPARAM l);

}  // namespace zrui::detail
