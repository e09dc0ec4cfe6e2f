// The built-in window classes and helpers shared by their procedures.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/window_store.h"
#include "zrui/gdi.h"
#include "zrui/winapi.h"

namespace zrui::detail {

struct BuiltinClass {
  const char16_t* name;
  WNDPROC proc;
};
const std::vector<BuiltinClass>& BuiltinClasses();

LRESULT CALLBACK ButtonProc(HWND h, UINT msg, WPARAM w, LPARAM l);
LRESULT CALLBACK StaticProc(HWND h, UINT msg, WPARAM w, LPARAM l);
LRESULT CALLBACK EditProc(HWND h, UINT msg, WPARAM w, LPARAM l);
LRESULT CALLBACK ComboBoxProc(HWND h, UINT msg, WPARAM w, LPARAM l);
LRESULT CALLBACK DialogClassProc(HWND h, UINT msg, WPARAM w, LPARAM l);
LRESULT CALLBACK ListViewProc(HWND h, UINT msg, WPARAM w, LPARAM l);
LRESULT CALLBACK HeaderProc(HWND h, UINT msg, WPARAM w, LPARAM l);
LRESULT CALLBACK TreeViewProc(HWND h, UINT msg, WPARAM w, LPARAM l);
LRESULT CALLBACK TabControlProc(HWND h, UINT msg, WPARAM w, LPARAM l);
LRESULT CALLBACK TooltipProc(HWND h, UINT msg, WPARAM w, LPARAM l);
LRESULT CALLBACK ComboListProc(HWND h, UINT msg, WPARAM w, LPARAM l);

// A one-line static text label whose text is wider than its rectangle grows
// to the right, into space that no sibling takes (a cell short of
// the next one), up to its container's frame or a cell short of its
// parent's edge. Static controls call it when their text changes; dialogs
// call it for every child once all are made. Deviation: every character of
// the toolkit's font is a whole cell (4 dialog units), wider on average
// than the proportional font templates are drawn for, so a label sized to
// its text there would be cut here.
void FitStaticText(HWND h);

// Private messages between the toolkit's parts (above the WM_USER range of
// any control, below registered messages).
constexpr UINT ZM_COMBOLIST = 0xBF00;     // from a combo's dropped list to the combo (controls/combobox.h)
constexpr UINT ZM_USERCHOOSE = 0xBF01;    // choose an item as a user would (wParam: index)
// Containers (group boxes, tab controls) paint their frames again after
// every sibling has painted, so that no edge is lost under a neighbour that
// overlaps it on the character grid (wParam: HDC of the window).
constexpr UINT ZM_PAINTFRAME = 0xBF02;

// Sends WM_COMMAND with the control's id and a notification code to its parent.
void NotifyCommand(HWND h, UINT code);
// Fills an NMHDR for the control and sends WM_NOTIFY to its parent.
LRESULT NotifyParent(HWND h, NMHDR* hdr, UINT code);

// The font a control draws with (WM_SETFONT), or the default GUI font.
HFONT ControlFont(HFONT stored);
// Asks the parent for colours (WM_CTLCOLOR...) and fills the background with
// the brush it returns.
HBRUSH CtlColor(HWND h, HDC dc, UINT ctlColorMsg);

// True when the window is a child of a combo box (its edit field).
bool IsComboEdit(HWND h);

// Rows a scrolling control moves for a WM_MOUSEWHEEL wParam: three per notch
// (WHEEL_DELTA), as the classic system setting; positive moves the content
// up (later rows come into view), which is a turn towards the user.
int WheelRows(WPARAM w);

}  // namespace zrui::detail
