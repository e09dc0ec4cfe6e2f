// The close box at the right end of every title bar: "[x]", three cells
// that end one cell before the frame's top-right corner. A left click on it
// (pressed and released over it) sends the window the close command
// (WM_SYSCOMMAND SC_CLOSE), the same
// command as Alt+F4 and a script's close, so a dialog closes there exactly as
// it does through its own close handling (a dialog without one: cancel).
#pragma once

#include "zrui/winapi.h"

namespace zrui::detail {

// The close box of a top-level window with a caption, in screen
// coordinates; false for windows without a title bar (children, popups).
bool CloseBoxRect(HWND h, RECT* screen);

// Handles a left press for DefWindowProcW: true (the mouse captured) when
// the press at client point `l` is on the close box.
bool CloseBoxPress(HWND h, LPARAM l);
// Handles a left release: true when the press was on h's close box; the
// close command is posted when the release at `l` is on the box too.
bool CloseBoxRelease(HWND h, LPARAM l);
// The capture went elsewhere: a press on h's close box closes nothing.
void CloseBoxCaptureLost(HWND h);

}  // namespace zrui::detail
