// List view geometry: rows, columns, item and sub-item rectangles, hit
// testing, scrolling and the scroll bars that follow it.
#include <algorithm>

#include "controls/listview.h"
#include "zrui/metrics.h"

namespace zrui::detail {

int HeaderHeight(HWND h) { return (WindowStyle(h) & LVS_NOCOLUMNHEADER) ? 0 : kCharHeight; }

int RowHeight(const ListViewState* s) {
  int cx = 0, cy = 0;
  if (s->small) ImageList_GetIconSize(s->small, &cx, &cy);
  return zrui::GetMetrics().ImageRowHeight(cy);
}

int TotalWidth(const ListViewState* s) { return ColumnLeft(s, static_cast<int>(s->columns.size())); }

// The one place where column edges are made: the widths as set, added up,
// each edge then snapped to a cell boundary in the text profile. Painting
// (cells, header) and hit-testing all take their edges from here, so a
// value painted from a cell is hit from that same cell: the character grid
// would otherwise round a 150-pixel edge down to cell 21 while a click on
// cell 21 (pixels 147-153) counted as the column before.
int ColumnLeft(const ListViewState* s, int col) {
  int x = 0;
  for (int i = 0; i < col && i < static_cast<int>(s->columns.size()); ++i) x += s->columns[static_cast<size_t>(i)].width;
  return zrui::GetMetrics().SnapX(x);
}

int ColumnRight(const ListViewState* s, int col) { return ColumnLeft(s, col + 1); }

int RowsPerPage(HWND h, const ListViewState* s) {
  RECT rc;
  GetClientRect(h, &rc);
  return std::max(1, static_cast<int>(rc.bottom - HeaderHeight(h)) / RowHeight(s));
}

int IconWidth(const ListViewState* s) {
  int cx = 0, cy = 0;
  if (s->small) ImageList_GetIconSize(s->small, &cx, &cy);
  return zrui::GetMetrics().ImageSlotWidth(cx);
}

int Column0Width(const ListViewState* s) { return s->columns.empty() ? 100 : ColumnRight(s, 0); }

void SyncScrollBars(HWND h, ListViewState* s) {
  RECT rc;
  GetClientRect(h, &rc);
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  si.nMax = std::max(TotalWidth(s) - 1, 0);
  si.nPage = static_cast<UINT>(rc.right);
  si.nPos = s->scrollX;
  SetScrollInfo(h, SB_HORZ, &si, TRUE);
  si.nMax = std::max(static_cast<int>(s->items.size()) - 1, 0);
  si.nPage = static_cast<UINT>(RowsPerPage(h, s));
  si.nPos = s->top;
  SetScrollInfo(h, SB_VERT, &si, TRUE);
}

void Scroll(HWND h, ListViewState* s, int dx, int dyRows) {
  RECT rc;
  GetClientRect(h, &rc);
  // On cells in the text profile, so that scrolled column edges stay on them.
  const int most = std::max(0, TotalWidth(s) - static_cast<int>(rc.right));
  s->scrollX = std::clamp(zrui::GetMetrics().SnapX(s->scrollX + dx), 0, most);
  s->top = std::clamp(s->top + dyRows, 0, std::max(0, static_cast<int>(s->items.size()) - RowsPerPage(h, s)));
  SyncScrollBars(h, s);
  InvalidateRect(h, nullptr, TRUE);
}

bool ItemRect(HWND h, const ListViewState* s, int item, int code, RECT* out) {
  if (item < 0 || item >= static_cast<int>(s->items.size()) || !out) return false;
  int y = HeaderHeight(h) + (item - s->top) * RowHeight(s);
  int x0 = -s->scrollX;
  int icon = IconWidth(s);
  RECT r{x0, y, x0 + TotalWidth(s), y + RowHeight(s)};
  switch (code) {
    case LVIR_ICON: r.right = x0 + icon; break;
    case LVIR_LABEL: r.left = x0 + icon; r.right = x0 + Column0Width(s); break;
    case LVIR_SELECTBOUNDS:
      if (!(s->exStyle & LVS_EX_FULLROWSELECT)) r.right = x0 + Column0Width(s);
      break;
    default: break;
  }
  *out = r;
  return true;
}

bool SubItemRect(HWND h, const ListViewState* s, int item, int sub, int code, RECT* out) {
  if (sub <= 0) return ItemRect(h, s, item, code == LVIR_BOUNDS ? LVIR_BOUNDS : code, out);
  if (sub >= static_cast<int>(s->columns.size()) || !ItemRect(h, s, item, LVIR_BOUNDS, out)) return false;
  out->left = ColumnLeft(s, sub) - s->scrollX;
  out->right = ColumnRight(s, sub) - s->scrollX;
  return true;
}

void HitTest(HWND h, const ListViewState* s, LVHITTESTINFO* info, bool sub) {
  info->iItem = -1;
  info->iSubItem = 0;
  info->flags = LVHT_NOWHERE;
  int y = info->pt.y - HeaderHeight(h);
  if (y < 0) return;
  int row = s->top + y / RowHeight(s);
  int x = info->pt.x + s->scrollX;
  if (row >= static_cast<int>(s->items.size()) || x < 0 || x >= TotalWidth(s)) {
    if (row >= static_cast<int>(s->items.size())) info->flags = LVHT_NOWHERE | LVHT_BELOW;
    return;
  }
  info->iItem = row;
  info->flags = x < IconWidth(s) ? LVHT_ONITEMICON : LVHT_ONITEMLABEL;
  if (sub)
    for (int c = static_cast<int>(s->columns.size()) - 1; c >= 0; --c)
      if (x >= ColumnLeft(s, c)) {
        info->iSubItem = c;
        break;
      }
}

void EnsureVisible(HWND h, ListViewState* s, int item) {
  if (item < 0 || item >= static_cast<int>(s->items.size())) return;
  int per = RowsPerPage(h, s);
  if (item < s->top) s->top = item;
  else if (item >= s->top + per) s->top = item - per + 1;
  SyncScrollBars(h, s);
  InvalidateRect(h, nullptr, TRUE);
}

}  // namespace zrui::detail
