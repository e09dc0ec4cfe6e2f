// The list view header: answers from its list view, which owns the columns,
// and is painted by the list as its top band.
#include "controls/listview.h"

namespace zrui::detail {

void PaintListHeader(HWND h, ListViewState* s, HDC dc) {
  int hh = HeaderHeight(h);
  if (!hh) return;
  RECT rc;
  GetClientRect(h, &rc);
  RECT band{0, 0, rc.right, hh};
  FillRect(dc, &band, GetSysColorBrush(COLOR_BTNFACE));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  for (int c = 0; c < static_cast<int>(s->columns.size()); ++c) {
    RECT r{ColumnLeft(s, c) - s->scrollX, 0, ColumnRight(s, c) - s->scrollX, hh};
    const auto& t = s->columns[static_cast<size_t>(c)].text;
    DrawTextW(dc, t.c_str(), static_cast<int>(t.size()), &r, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
}

// The header answers from its list view, which owns the columns.
LRESULT CALLBACK HeaderProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case HDM_GETITEMCOUNT: return SendMessageW(GetParent(h), ZM_LVCOLUMNCOUNT, 0, 0);
    case HDM_GETITEMRECT: return SendMessageW(GetParent(h), ZM_LVHEADERRECT, w, l);
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(h, &ps);
      EndPaint(h, &ps);
      return 0;
    }
  }
  return DefWindowProcW(h, msg, w, l);
}

}  // namespace zrui::detail
