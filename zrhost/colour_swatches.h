#pragma once
// The swatch grid of the colour picker: a control (window class
// kColourSwatchesClass) that shows the 257 colour indexes of a drawing as
// swatches painted in their palette colours, 16 to a row: 0 (by block,
// marked "B") to 255 row by row, then 256 (by layer, marked "L") alone on the
// last row. One index is selected, bracketed ("[]", in place of the mark) on
// the character grid and framed in the pixel profile.
//
// A person moves the selection with the arrows (Left/Right one index,
// Up/Down one row, Home/End the first and the last) and with the mouse; each
// change is told to the parent as WM_COMMAND with kSwatchSelChange, a double
// click as kSwatchDoubleClick. The control wants the arrows only, so Enter,
// Escape and Tab stay the dialog's.
//
// It answers the messages of a list box (same numbers), so that code that
// drives or reads lists by them drives this one too.
//
// Needs the window toolkit; the swatch geometry follows the control's client
// size (a swatch is two character cells wide and one high in the layout of
// the picker).

#include "zrui/winapi.h"

namespace zrhost {

inline constexpr const char16_t* kColourSwatchesClass = u"ZrColourSwatches";

inline constexpr int kSwatchCount = 257;   // indexes 0..256
inline constexpr int kSwatchColumns = 16;
inline constexpr int kSwatchRows = 17;

// Messages (the list box's numbers). GETCURSEL: the selected index.
// SETCURSEL(index): selects it, without notifying; returns it, or -1 when it
// is out of range (nothing changes). GETCOUNT: kSwatchCount.
// GETITEMRECT(index, RECT*): the swatch's rectangle in client coordinates;
// FALSE for an index out of range.
constexpr UINT kSwatchSetSel = 0x0186;
constexpr UINT kSwatchGetSel = 0x0188;
constexpr UINT kSwatchGetCount = 0x018B;
constexpr UINT kSwatchGetItemRect = 0x0198;
// Notification codes (HIWORD of WM_COMMAND's wParam), as a list box's.
constexpr WORD kSwatchSelChange = 1;
constexpr WORD kSwatchDoubleClick = 2;

// Registers the class once per process (later calls do nothing).
void registerColourSwatches();

// The RGB colour (COLORREF) that index shows: the palette colour for
// 1..255; the window colour for 0 and 256, which have none of their own.
COLORREF swatchColour(int index);

}  // namespace zrhost
