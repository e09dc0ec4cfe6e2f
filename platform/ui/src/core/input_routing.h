// Where input messages go: the common part of raw input by screen point and
// of the simulated input of the testing layer.
#pragma once

#include "zrui/winapi.h"

namespace zrui::detail {

// True when the window can get mouse and keyboard input: it exists, is
// visible, and neither it nor any parent is disabled.
bool CanTakeInput(HWND h);

// Queues a mouse message for `target` at a point of its client area, or for
// the capture window when this thread has one (the point converted to its
// client area). Moves the cursor there. Returns the window it went to.
HWND PostMouseTo(HWND target, UINT msg, WPARAM flags, POINT client, BYTE mods);

// MK_ flags of the buttons held and the modifiers.
WPARAM MouseKeyFlags(BYTE mods);

}  // namespace zrui::detail
