// Internal state of list views (report mode), shared by the files of the
// control: procedure, items, geometry, input, painting and header.
#pragma once

#include <string>
#include <vector>

#include "controls/builtin.h"
#include "zrui/commctrl.h"

namespace zrui::detail {

struct LvColumn {
  std::u16string text;
  int width = 50;
  int fmt = LVCFMT_LEFT;
};

struct LvItem {
  std::vector<std::u16string> texts;  // one per column (sub-items)
  int image = -1;
  UINT state = 0;
  LPARAM param = 0;
};

struct ListViewState {
  std::vector<LvColumn> columns;
  std::vector<LvItem> items;
  HIMAGELIST normal = nullptr;
  HIMAGELIST small = nullptr;
  HIMAGELIST stateImages = nullptr;
  DWORD exStyle = 0;
  int top = 0;       // first visible row
  int scrollX = 0;   // horizontal scroll in pixels
  int hot = -1;
  int hotSub = -1;
  int mark = -1;     // selection mark
  HFONT font = nullptr;
  HWND header = nullptr;
  COLORREF bk = CLR_DEFAULT;
};

// Geometry. Rows start below the header; x is relative to the scrolled origin.
int HeaderHeight(HWND h);
int RowHeight(const ListViewState* s);
// Column edges: the left edge of column `col` (col may be the column count:
// the right edge of the last), on cell boundaries in the text profile; a
// column shows from ColumnLeft to ColumnRight, which may differ from its
// width as set by up to half a cell.
int ColumnLeft(const ListViewState* s, int col);
int ColumnRight(const ListViewState* s, int col);
int TotalWidth(const ListViewState* s);
int RowsPerPage(HWND h, const ListViewState* s);
int IconWidth(const ListViewState* s);
int Column0Width(const ListViewState* s);
// Updates the scroll ranges and positions from the items, columns and client size.
void SyncScrollBars(HWND h, ListViewState* s);
// Scrolls by pixels horizontally and rows vertically, within the content.
void Scroll(HWND h, ListViewState* s, int dx, int dyRows);
// Rectangle of an item (code: LVIR_...) or of a sub-item; false when invalid.
bool ItemRect(HWND h, const ListViewState* s, int item, int code, RECT* out);
bool SubItemRect(HWND h, const ListViewState* s, int item, int sub, int code, RECT* out);
void HitTest(HWND h, const ListViewState* s, LVHITTESTINFO* info, bool sub);

// Changes an item's state with LVN_ITEMCHANGING/LVN_ITEMCHANGED; false
// when the parent refused (or nothing changed).
bool SetItemState(HWND h, ListViewState* s, int item, UINT state, UINT mask);
// Selects one item as a click or a key does (focus, selection, mark).
void SelectOnly(HWND h, ListViewState* s, int item);
void EnsureVisible(HWND h, ListViewState* s, int item);

LRESULT ListViewItemMessage(HWND h, ListViewState* s, UINT msg, WPARAM w, LPARAM l, bool* handled);
LRESULT ListViewInputMessage(HWND h, ListViewState* s, UINT msg, WPARAM w, LPARAM l, bool* handled);
void PaintListView(HWND h, ListViewState* s);
// Paints the column headings as the top band of the list's client area.
void PaintListHeader(HWND h, ListViewState* s, HDC dc);

constexpr UINT ZM_LVHEADERRECT = 0xBF10;  // header asks its list: (column, RECT*)
constexpr UINT ZM_LVCOLUMNCOUNT = 0xBF11;

}  // namespace zrui::detail
