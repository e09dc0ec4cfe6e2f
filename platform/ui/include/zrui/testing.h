// Driving the toolkit without a screen: scripts that run inside modal loops,
// message pumping, and user input (clicks, keys, typing, choosing items).
// Tests use it; the terminal front end uses the same input functions.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "zrui/dialog.h"
#include "zrui/eventloop.h"
#include "zrui/input.h"

namespace zrui {

// ---- modal loops ----
// A script runs once inside the next modal loop that starts (in any thread
// that runs one), after the dialog has been initialised and shown, when the
// loop first has nothing to do. It may act on the dialog and end it.
using ModalScript = std::function<void(HWND dialog)>;
void OnNextModal(ModalScript script);
size_t PendingModalScripts();
void ClearModalScripts();

// Pumping, idle handlers and the idle timeout of modal loops are declared in
// zrui/eventloop.h; raw input by screen point in zrui/input.h.

// ---- user input (each call pumps afterwards) ----
// Left click in the middle of a window (or at a client point). Returns false,
// doing nothing, when the window cannot take input: hidden, or it or an
// ancestor disabled.
bool Click(HWND h);
bool ClickAt(HWND h, POINT client, Keys keys = {});
bool DoubleClickAt(HWND h, POINT client);
bool RightClickAt(HWND h, POINT client);
// Moves the mouse over a client point (WM_MOUSEMOVE).
bool MouseMove(HWND h, POINT client);
// Key press (down, translated to a character where one results, up) sent to
// the focus window.
void PressKey(UINT vk, Keys keys = {});
// Types characters into the focus window (WM_CHAR per character).
void Type(const std::u16string& text);
// Opens a combo box's list and clicks an item, as a user choosing it.
bool ChooseComboItem(HWND combo, int index);
// Moves the focus as a user would with the mouse (click) or keyboard (Tab).
bool FocusByClick(HWND h);
// A user drags a sizing border of a top-level window to a new size:
// WM_SIZING with the edge, WM_GETMINMAXINFO limits, then the resize.
bool DragResize(HWND h, UINT edge, int width, int height);
// A user presses the title-bar close button (WM_SYSCOMMAND SC_CLOSE).
void CloseByTitleBar(HWND h);

}  // namespace zrui
