// List view geometry, hit testing, scrolling, mouse and keyboard, and the
// window procedures of the list view and its header.
#include <algorithm>

#include "controls/listview.h"

namespace zrui::detail {

int HeaderHeight(HWND h) { return (WindowStyle(h) & LVS_NOCOLUMNHEADER) ? 0 : kCharHeight; }

int RowHeight(const ListViewState* s) {
  int cx = 0, cy = 0;
  if (s->small) ImageList_GetIconSize(s->small, &cx, &cy);
  return std::max(kCharHeight, cy);
}

int TotalWidth(const ListViewState* s) {
  int w = 0;
  for (const auto& c : s->columns) w += c.width;
  return w;
}

int ColumnLeft(const ListViewState* s, int col) {
  int x = 0;
  for (int i = 0; i < col && i < static_cast<int>(s->columns.size()); ++i) x += s->columns[static_cast<size_t>(i)].width;
  return x;
}

int RowsPerPage(HWND h, const ListViewState* s) {
  RECT rc;
  GetClientRect(h, &rc);
  return std::max(1, static_cast<int>(rc.bottom - HeaderHeight(h)) / RowHeight(s));
}

namespace {

int IconWidth(const ListViewState* s) {
  int cx = 0, cy = 0;
  if (s->small) ImageList_GetIconSize(s->small, &cx, &cy);
  return cx;
}

int Column0Width(const ListViewState* s) { return s->columns.empty() ? 100 : s->columns[0].width; }

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
  s->scrollX = std::clamp(s->scrollX + dx, 0, std::max(0, TotalWidth(s) - static_cast<int>(rc.right)));
  s->top = std::clamp(s->top + dyRows, 0, std::max(0, static_cast<int>(s->items.size()) - RowsPerPage(h, s)));
  SyncScrollBars(h, s);
  InvalidateRect(h, nullptr, TRUE);
}

LRESULT NotifyClick(HWND h, UINT code, const LVHITTESTINFO& hit) {
  NMITEMACTIVATE nm;
  nm.iItem = hit.iItem;
  nm.iSubItem = hit.iSubItem;
  nm.ptAction = hit.pt;
  return NotifyParent(h, &nm.hdr, code);
}

LVHITTESTINFO HitAt(HWND h, const ListViewState* s, LPARAM l) {
  LVHITTESTINFO hit;
  hit.pt = POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
  HitTest(h, s, &hit, true);
  return hit;
}

void OnButtonDown(HWND h, ListViewState* s, UINT msg, WPARAM w, LPARAM l) {
  if (GetFocus() != h) SetFocus(h);
  LVHITTESTINFO hit = HitAt(h, s, l);
  bool multi = !(WindowStyle(h) & LVS_SINGLESEL);
  if (hit.iItem >= 0) {
    if (multi && (w & MK_CONTROL) && msg == WM_LBUTTONDOWN) {
      UINT st = s->items[static_cast<size_t>(hit.iItem)].state;
      SetItemState(h, s, hit.iItem, (st & LVIS_SELECTED) ? LVIS_FOCUSED : (LVIS_SELECTED | LVIS_FOCUSED),
                   LVIS_SELECTED | LVIS_FOCUSED);
    } else {
      SelectOnly(h, s, hit.iItem);
    }
  } else if (multi && msg == WM_LBUTTONDOWN) {
    for (int k = 0; k < static_cast<int>(s->items.size()); ++k) SetItemState(h, s, k, 0, LVIS_SELECTED);
  }
  if (!IsWindow(h)) return;
  NotifyClick(h, msg == WM_LBUTTONDOWN ? NM_CLICK : msg == WM_RBUTTONDOWN ? NM_RCLICK : NM_DBLCLK, hit);
}

void OnMouseMove(HWND h, ListViewState* s, LPARAM l) {
  LVHITTESTINFO hit = HitAt(h, s, l);
  if (hit.iItem < 0) {
    s->hot = s->hotSub = -1;
    return;
  }
  NMLISTVIEW nm;
  nm.iItem = hit.iItem;
  nm.iSubItem = hit.iSubItem;
  nm.ptAction = hit.pt;
  if (!NotifyParent(h, &nm.hdr, LVN_HOTTRACK)) {
    s->hot = hit.iItem;
    s->hotSub = hit.iSubItem;
  }
}

void OnKeyDown(HWND h, ListViewState* s, UINT vk) {
  NMLVKEYDOWN kd;
  kd.wVKey = static_cast<WORD>(vk);
  NotifyParent(h, &kd.hdr, LVN_KEYDOWN);
  int n = static_cast<int>(s->items.size());
  if (n == 0 || !IsWindow(h)) return;
  int cur = -1;
  for (int k = 0; k < n; ++k)
    if (s->items[static_cast<size_t>(k)].state & LVIS_FOCUSED) cur = k;
  int to = cur;
  switch (vk) {
    case VK_DOWN: to = cur + 1; break;
    case VK_UP: to = cur < 0 ? 0 : cur - 1; break;
    case VK_HOME: to = 0; break;
    case VK_END: to = n - 1; break;
    case VK_NEXT: to = cur + RowsPerPage(h, s); break;
    case VK_PRIOR: to = cur - RowsPerPage(h, s); break;
    default: return;
  }
  to = std::clamp(to, 0, n - 1);
  if (to != cur || !(s->items[static_cast<size_t>(to)].state & LVIS_SELECTED)) SelectOnly(h, s, to);
}

}  // namespace

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
  out->right = out->left + s->columns[static_cast<size_t>(sub)].width;
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

void SelectOnly(HWND h, ListViewState* s, int item) {
  for (int k = 0; k < static_cast<int>(s->items.size()); ++k)
    if (k != item && (s->items[static_cast<size_t>(k)].state & LVIS_SELECTED)) SetItemState(h, s, k, 0, LVIS_SELECTED);
  SetItemState(h, s, item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  s->mark = item;
  EnsureVisible(h, s, item);
}

LRESULT ListViewInputMessage(HWND h, ListViewState* s, UINT msg, WPARAM w, LPARAM l, bool* handled) {
  *handled = true;
  int i = static_cast<int>(static_cast<LONG_PTR>(w));
  switch (msg) {
    case LVM_GETITEMRECT: {
      auto* r = reinterpret_cast<RECT*>(l);
      return r && ItemRect(h, s, i, r->left, r);
    }
    case LVM_GETSUBITEMRECT: {
      auto* r = reinterpret_cast<RECT*>(l);
      return r && SubItemRect(h, s, i, r->top, r->left, r);
    }
    case LVM_HITTEST:
    case LVM_SUBITEMHITTEST: {
      auto* info = reinterpret_cast<LVHITTESTINFO*>(l);
      if (!info) return -1;
      HitTest(h, s, info, msg == LVM_SUBITEMHITTEST);
      return info->iItem;
    }
    case LVM_ENSUREVISIBLE: EnsureVisible(h, s, i); return TRUE;
    case LVM_SCROLL: {
      int dy = static_cast<int>(l);
      int rows = dy / RowHeight(s);
      if (dy % RowHeight(s)) rows += dy > 0 ? 1 : -1;
      Scroll(h, s, i, rows);
      return TRUE;
    }
    case LVM_GETTOPINDEX: return s->top;
    case LVM_GETCOUNTPERPAGE: return RowsPerPage(h, s);
    case LVM_GETORIGIN: {
      auto* p = reinterpret_cast<POINT*>(l);
      if (p) *p = POINT{s->scrollX, s->top * RowHeight(s)};
      return TRUE;
    }
    case LVM_SETHOTITEM: return std::exchange(s->hot, i);
    case LVM_GETHOTITEM: return s->hot;
    case WM_HSCROLL: {
      RECT rc;
      GetClientRect(h, &rc);
      UINT code = LOWORD(w);
      int dx = code == SB_LINEUP ? -kCharWidth : code == SB_LINEDOWN ? kCharWidth
             : code == SB_PAGEUP ? -static_cast<int>(rc.right) : code == SB_PAGEDOWN ? static_cast<int>(rc.right)
             : (code == SB_THUMBPOSITION || code == SB_THUMBTRACK) ? static_cast<int>(HIWORD(w)) - s->scrollX : 0;
      Scroll(h, s, dx, 0);
      return 0;
    }
    case WM_VSCROLL: {
      UINT code = LOWORD(w);
      int per = RowsPerPage(h, s);
      int dy = code == SB_LINEUP ? -1 : code == SB_LINEDOWN ? 1 : code == SB_PAGEUP ? -per : code == SB_PAGEDOWN ? per
             : (code == SB_THUMBPOSITION || code == SB_THUMBTRACK) ? static_cast<int>(HIWORD(w)) - s->top : 0;
      Scroll(h, s, 0, dy);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK: OnButtonDown(h, s, msg, w, l); return 0;
    case WM_MOUSEMOVE: OnMouseMove(h, s, l); return 0;
    case WM_KEYDOWN: OnKeyDown(h, s, static_cast<UINT>(w)); return 0;
    case WM_SETFOCUS: {
      NMHDR hdr;
      NotifyParent(h, &hdr, NM_SETFOCUS);
      InvalidateRect(h, nullptr, TRUE);
      return 0;
    }
    case WM_KILLFOCUS: {
      NMHDR hdr;
      NotifyParent(h, &hdr, NM_KILLFOCUS);
      InvalidateRect(h, nullptr, TRUE);
      return 0;
    }
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
  }
  *handled = false;
  return 0;
}

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
      *r = RECT{ColumnLeft(s, c), 0, ColumnLeft(s, c) + s->columns[static_cast<size_t>(c)].width, HeaderHeight(h)};
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
