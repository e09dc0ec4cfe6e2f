// Internal state of combo boxes, shared by their message handling and painting.
#pragma once

#include <string>
#include <vector>

#include "controls/builtin.h"

namespace zrui::detail {

struct ComboItem {
  std::u16string text;
  ULONG_PTR data = 0;
};

struct ComboState {
  std::vector<ComboItem> items;
  int cur = -1;
  int top = 0;               // first item shown in the list
  bool dropped = false;
  bool focusInside = false;
  HFONT font = nullptr;
  HWND edit = nullptr;       // edit field of drop-down and simple combos
  HWND list = nullptr;       // the dropped list: a popup window while dropped
  int itemHeight = kCharHeight;
  int fieldHeight = kCharHeight + 8;
  int listHeight = 0;        // pixels of the list below the field
  int selBeforeDrop = -1;
  std::u16string textBeforeDrop;  // of the field, for Escape to put back
};

DWORD ComboType(HWND h);
bool ComboHasStrings(HWND h);
bool ComboOwnerDraw(HWND h);
int VisibleItems(const ComboState* s);
// Whether the list shows a bar at its right edge (kCharWidth wide): it holds
// more entries than it shows at once. The bar marks with ^ and v the ends
// where more entries lie and with # where the shown ones stand; a press on
// it pages the list that way without choosing.
bool ListHasBar(const ComboState* s);
// A press at p (in the coordinates of `list`, where the list's entries are
// shown): on the bar, the list pages up (upper half) or down and true comes
// back; elsewhere nothing changes.
bool PageOnBar(ComboState* s, const RECT& list, POINT p);
// Client rectangle of the list of a simple combo (below its field); for the
// other types, the size of the dropped list at the combo's client origin.
RECT ListRect(HWND h, const ComboState* s);
void PaintCombo(HWND h, ComboState* s);
// Paints the items of combo `h` shown in `list`, a rectangle of `dc` (the
// simple combo's own list, or the client area of the dropped list's popup).
void PaintComboList(HWND h, ComboState* s, HDC dc, RECT list);

// The dropped list of drop-down combos is a popup window of this class, owned
// by the combo's top-level window and made when the list drops: it paints the
// combo's items, holds the mouse capture while it is open, and reports
// presses to its combo with ZM_COMBOLIST (wParam: the item index, or one of
// the codes below; lParam: the list window).
inline constexpr const char16_t* kComboListClass = u"ComboLBox";
constexpr WPARAM kComboListOutside = static_cast<WPARAM>(-1);  // a press outside the list: close it
constexpr WPARAM kComboListGone = static_cast<WPARAM>(-2);     // the list window is being destroyed
// Makes and shows the dropped list of `combo` below its field (above it when
// the screen has no room below). Returns the popup, nullptr on failure.
HWND CreateComboList(HWND combo, const ComboState* s);

}  // namespace zrui::detail
