// The list view window procedure: creation (with its header), fonts,
// painting, and the item and input message groups.
#include "controls/listview.h"

namespace zrui::detail {

LRESULT CALLBACK ListViewProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  auto* s = ControlState<ListViewState>(h);
  if (!s) {
    if (msg == WM_NCCREATE) SetControlState(h, std::make_shared<ListViewState>());
    return DefWindowProcW(h, msg, w, l);
  }
  switch (msg) {
    case WM_CREATE: {
      RECT rc;
      GetClientRect(h, &rc);
      s->header = CreateWindowExW(0, WC_HEADERW, u"", WS_CHILD | ((WindowStyle(h) & LVS_NOCOLUMNHEADER) ? 0 : WS_VISIBLE),
                                  0, 0, rc.right, kCharHeight, h, nullptr, nullptr, nullptr);
      return 0;
    }
    case WM_SIZE:
      if (s->header) MoveWindow(s->header, 0, 0, LOWORD(static_cast<DWORD_PTR>(l)), HeaderHeight(h), FALSE);
      return 0;
    case WM_SETFONT: s->font = reinterpret_cast<HFONT>(w); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
    case WM_PAINT: PaintListView(h, s); return 0;
    case ZM_LVCOLUMNCOUNT: return static_cast<LRESULT>(s->columns.size());
    case ZM_LVHEADERRECT: {
      auto* r = reinterpret_cast<RECT*>(l);
      int c = static_cast<int>(w);
      if (!r || c < 0 || c >= static_cast<int>(s->columns.size())) return FALSE;
      *r = RECT{ColumnLeft(s, c), 0, ColumnRight(s, c), HeaderHeight(h)};
      return TRUE;
    }
  }
  bool handled = false;
  LRESULT r = ListViewItemMessage(h, s, msg, w, l, &handled);
  if (handled) {
    if (msg == LVM_INSERTITEMW || msg == LVM_DELETEITEM || msg == LVM_DELETEALLITEMS || msg == LVM_INSERTCOLUMNW ||
        msg == LVM_SETCOLUMNWIDTH)
      SyncScrollBars(h, s);
    return r;
  }
  r = ListViewInputMessage(h, s, msg, w, l, &handled);
  if (handled) return r;
  return DefWindowProcW(h, msg, w, l);
}

}  // namespace zrui::detail
