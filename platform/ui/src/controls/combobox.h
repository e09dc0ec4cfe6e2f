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
  int itemHeight = kCharHeight;
  int fieldHeight = kCharHeight + 8;
  int listHeight = 0;        // pixels of the list below the field
  int selBeforeDrop = -1;
};

DWORD ComboType(HWND h);
bool ComboHasStrings(HWND h);
bool ComboOwnerDraw(HWND h);
int VisibleItems(const ComboState* s);
// Client rectangle of the list (below the field; outside the window unless simple).
RECT ListRect(HWND h, const ComboState* s);
void PaintCombo(HWND h, ComboState* s);
// Paints the dropped list on a DC whose origin is the combo's client origin.
void PaintComboList(HWND h, ComboState* s, HDC dc);

}  // namespace zrui::detail
