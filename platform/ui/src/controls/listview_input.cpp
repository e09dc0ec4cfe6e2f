// List view mouse and keyboard: clicks, hot tracking, arrow keys and the
// messages that query geometry and scroll.
#include <algorithm>

#include "controls/listview.h"

namespace zrui::detail {

namespace {

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
    case WM_MOUSEWHEEL: {
      // Sent as a scroll to the list itself, so that a class built on the
      // list (one with in-place editors) sees it as any other scroll.
      const int per = RowsPerPage(h, s);
      const int last = std::max(0, static_cast<int>(s->items.size()) - per);
      const int to = std::clamp(s->top + WheelRows(w), 0, last);
      if (to != s->top) SendMessageW(h, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(to)), 0);
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

}  // namespace zrui::detail
