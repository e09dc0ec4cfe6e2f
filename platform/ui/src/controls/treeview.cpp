// Tree view window procedure: geometry, hit testing, mouse, keyboard, paint.
#include <algorithm>

#include "controls/treeview.h"
#include "zrui/metrics.h"

namespace zrui::detail {
namespace {

struct Row {
  HTREEITEM item = nullptr;
  int depth = 0;
  int index = -1;  // visible row number
};

// Left edge of an item's image: the button column comes first when lines
// start at the root.
int ImageLeft(HWND h, const TreeState* s, int depth) {
  int lead = (WindowStyle(h) & (TVS_LINESATROOT)) ? 1 : 0;
  return (depth + lead) * s->indent;
}

int IconWidth(const TreeState* s) {
  int cx = 0, cy = 0;
  if (s->normal) ImageList_GetIconSize(s->normal, &cx, &cy);
  return zrui::GetMetrics().ImageSlotWidth(cx);
}

// The state image index of an item (its state bits; 0: none).
int StateImage(const TvNode& n) { return static_cast<int>((n.state & TVIS_STATEIMAGEMASK) >> 12); }

// Width of an item's state image: only items that show one make room for it.
int StateIconWidth(const TreeState* s, const TvNode& n) {
  int cx = 0, cy = 0;
  if (!s->stateImages || StateImage(n) <= 0) return 0;
  ImageList_GetIconSize(s->stateImages, &cx, &cy);
  return zrui::GetMetrics().ImageSlotWidth(cx);
}

Row RowOf(const TreeState* s, HTREEITEM item) {
  auto vis = VisibleItems(s);
  for (size_t i = 0; i < vis.size(); ++i)
    if (vis[i].first == item) return Row{item, vis[i].second, static_cast<int>(i)};
  return Row{};
}

bool ItemRect(HWND h, const TreeState* s, HTREEITEM item, bool textOnly, RECT* out) {
  Row r = RowOf(s, item);
  if (r.index < s->top) return false;
  RECT rc;
  GetClientRect(h, &rc);
  int y = (r.index - s->top) * TreeRowHeight(s);
  if (!textOnly) {
    *out = RECT{0, y, rc.right, y + TreeRowHeight(s)};
    return true;
  }
  int x = ImageLeft(h, s, r.depth) + StateIconWidth(s, s->nodes.at(item)) + IconWidth(s);
  int len = static_cast<int>(s->nodes.at(item).text.size());
  *out = RECT{x, y, x + len * kCharWidth, y + TreeRowHeight(s)};
  return true;
}

HTREEITEM HitTest(HWND h, const TreeState* s, POINT p, UINT* flags) {
  *flags = TVHT_NOWHERE;
  if (p.y < 0) return nullptr;
  auto vis = VisibleItems(s);
  int row = s->top + p.y / TreeRowHeight(s);
  if (row >= static_cast<int>(vis.size())) return nullptr;
  auto [item, depth] = vis[static_cast<size_t>(row)];
  int img = ImageLeft(h, s, depth);
  int text = img + StateIconWidth(s, s->nodes.at(item)) + IconWidth(s);
  int end = text + static_cast<int>(s->nodes.at(item).text.size()) * kCharWidth;
  if (p.x < img) *flags = (p.x >= img - s->indent && HasButton(s, item)) ? TVHT_ONITEMBUTTON : TVHT_ONITEMINDENT;
  else if (p.x < text) *flags = TVHT_ONITEMICON;
  else if (p.x < end) *flags = TVHT_ONITEMLABEL;
  else *flags = TVHT_ONITEMRIGHT;
  return item;
}

void Notify(HWND h, UINT code) {
  NMHDR hdr;
  NotifyParent(h, &hdr, code);
}

// With TVS_SINGLEEXPAND an item selected with the mouse opens and the other
// branches close.
void SingleExpand(HWND h, TreeState* s, HTREEITEM item) {
  if (!(WindowStyle(h) & TVS_SINGLEEXPAND) || !item) return;
  std::vector<HTREEITEM> keep;
  for (HTREEITEM p = item; p; p = Node(s, p)->parent) keep.push_back(p);
  std::vector<HTREEITEM> open;
  for (auto& [k, n] : s->nodes)
    if ((n.state & TVIS_EXPANDED) && std::find(keep.begin(), keep.end(), k) == keep.end()) open.push_back(k);
  for (HTREEITEM k : open) Expand(h, s, k, TVE_COLLAPSE, true);
  if (!(Node(s, item)->state & TVIS_EXPANDED)) Expand(h, s, item, TVE_EXPAND, true);
}

void OnButtonDown(HWND h, TreeState* s, UINT msg, LPARAM l) {
  if (GetFocus() != h) SetFocus(h);
  UINT flags = 0;
  HTREEITEM item = HitTest(h, s, POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)}, &flags);
  if (item && msg == WM_LBUTTONDOWN) {
    if (flags == TVHT_ONITEMBUTTON) Expand(h, s, item, TVE_TOGGLE, true);
    else if (SelectItem(h, s, item, TVC_BYMOUSE)) SingleExpand(h, s, item);
  }
  if (item && msg == WM_LBUTTONDBLCLK && flags != TVHT_ONITEMBUTTON) Expand(h, s, item, TVE_TOGGLE, true);
  if (!IsWindow(h)) return;
  Notify(h, msg == WM_LBUTTONDOWN ? NM_CLICK : msg == WM_RBUTTONDOWN ? NM_RCLICK : NM_DBLCLK);
}

void OnKeyDown(HWND h, TreeState* s, UINT vk) {
  NMLVKEYDOWN kd;  // same layout as NMTVKEYDOWN
  kd.wVKey = static_cast<WORD>(vk);
  NotifyParent(h, &kd.hdr, TVN_KEYDOWN);
  if (!IsWindow(h)) return;
  auto vis = VisibleItems(s);
  if (vis.empty()) return;
  HTREEITEM cur = s->caret;
  TvNode* n = Node(s, cur);
  HTREEITEM to = cur;
  int row = RowOf(s, cur).index;
  switch (vk) {
    case VK_DOWN: to = row < 0 ? vis.front().first : vis[static_cast<size_t>(std::min<int>(row + 1, static_cast<int>(vis.size()) - 1))].first; break;
    case VK_UP: to = row <= 0 ? vis.front().first : vis[static_cast<size_t>(row - 1)].first; break;
    case VK_HOME: to = vis.front().first; break;
    case VK_END: to = vis.back().first; break;
    case VK_RIGHT:
      if (n && HasButton(s, cur) && !(n->state & TVIS_EXPANDED)) {
        Expand(h, s, cur, TVE_EXPAND, true);
        return;
      }
      if (n && !n->children.empty()) to = n->children.front();
      break;
    case VK_LEFT:
      if (n && (n->state & TVIS_EXPANDED)) {
        Expand(h, s, cur, TVE_COLLAPSE, true);
        return;
      }
      if (n && n->parent) to = n->parent;
      break;
    case VK_RETURN: Notify(h, NM_RETURN); return;
    default: return;
  }
  // Moving with the arrows only selects; a folder opens with Right or +, or
  // a click (deviation: the platform mirrored also opens it in a
  // TVS_SINGLEEXPAND tree, which would load a catalogue folder at each step).
  if (to && to != cur) SelectItem(h, s, to, TVC_BYKEYBOARD);
}

void Paint(HWND h, TreeState* s) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  HGDIOBJ oldFont = SelectObject(dc, ControlFont(s->font));
  RECT rc;
  GetClientRect(h, &rc);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_WINDOW));
  bool showSel = GetFocus() == h || (WindowStyle(h) & TVS_SHOWSELALWAYS);
  bool buttons = (WindowStyle(h) & TVS_HASBUTTONS) != 0;
  auto vis = VisibleItems(s);
  int rowH = TreeRowHeight(s);
  SetBkMode(dc, TRANSPARENT);
  for (size_t i = static_cast<size_t>(s->top); i < vis.size(); ++i) {
    int y = (static_cast<int>(i) - s->top) * rowH;
    if (y >= rc.bottom) break;
    auto [item, depth] = vis[i];
    const TvNode& n = s->nodes.at(item);
    int img = ImageLeft(h, s, depth);
    int ty = y + (rowH - kCharHeight) / 2;
    SetTextColor(dc, GetSysColor(IsWindowEnabled(h) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    if (buttons && HasButton(s, item) && img >= s->indent)
      TextOutW(dc, img - s->indent, ty, (n.state & TVIS_EXPANDED) ? u"-" : u"+", 1);
    bool selected = item == s->caret && showSel;
    if (s->stateImages && StateImage(n) > 0) ImageList_Draw(s->stateImages, StateImage(n), dc, img, y, ILD_TRANSPARENT);
    img += StateIconWidth(s, n);
    if (s->normal) ImageList_Draw(s->normal, selected ? n.selectedImage : n.image, dc, img, y, ILD_TRANSPARENT);
    int tx = img + IconWidth(s);
    if (selected) {
      RECT sel{tx, y, tx + static_cast<int>(n.text.size()) * kCharWidth, y + rowH};
      FillRect(dc, &sel, GetSysColorBrush(COLOR_HIGHLIGHT));
      SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    }
    TextOutW(dc, tx, ty, n.text.c_str(), static_cast<int>(n.text.size()));
  }
  SelectObject(dc, oldFont);
  EndPaint(h, &ps);
}

}  // namespace

LRESULT CALLBACK TreeViewProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  auto* s = ControlState<TreeState>(h);
  if (!s) {
    if (msg == WM_NCCREATE) SetControlState(h, std::make_shared<TreeState>());
    return DefWindowProcW(h, msg, w, l);
  }
  bool handled = false;
  LRESULT r = TreeItemMessage(h, s, msg, w, l, &handled);
  if (handled) return r;
  switch (msg) {
    case TVM_GETITEMRECT: {
      auto* rect = reinterpret_cast<RECT*>(l);
      if (!rect) return FALSE;
      HTREEITEM item = *reinterpret_cast<HTREEITEM*>(rect);
      return Node(s, item) && ItemRect(h, s, item, w != 0, rect);
    }
    case TVM_HITTEST: {
      auto* info = reinterpret_cast<TVHITTESTINFO*>(l);
      if (!info) return 0;
      info->hItem = HitTest(h, s, info->pt, &info->flags);
      return reinterpret_cast<LRESULT>(info->hItem);
    }
    case WM_SETFONT: s->font = reinterpret_cast<HFONT>(w); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK: OnButtonDown(h, s, msg, l); return 0;
    case WM_KEYDOWN: OnKeyDown(h, s, static_cast<UINT>(w)); return 0;
    case WM_CHAR:
      // + and - open and close the selected folder. Deviation: the platform
      // mirrored takes them from the keypad's keys only; a terminal cannot
      // tell those from the main keyboard's.
      if ((w == u'+' || w == u'-') && s->caret && HasButton(s, s->caret)) {
        const bool open = (Node(s, s->caret)->state & TVIS_EXPANDED) != 0;
        if (open != (w == u'+')) Expand(h, s, s->caret, w == u'+' ? TVE_EXPAND : TVE_COLLAPSE, true);
      }
      return 0;
    case WM_SETFOCUS: Notify(h, NM_SETFOCUS); InvalidateRect(h, nullptr, TRUE); return 0;
    case WM_KILLFOCUS: Notify(h, NM_KILLFOCUS); InvalidateRect(h, nullptr, TRUE); return 0;
    case WM_VSCROLL: {
      int n = static_cast<int>(VisibleItems(s).size());
      UINT code = LOWORD(w);
      s->top += code == SB_LINEUP ? -1 : code == SB_LINEDOWN ? 1 : 0;
      s->top = std::clamp(s->top, 0, std::max(0, n - 1));
      InvalidateRect(h, nullptr, TRUE);
      return 0;
    }
    case WM_MOUSEWHEEL: {
      RECT rc;
      GetClientRect(h, &rc);
      const int per = std::max(1, static_cast<int>(rc.bottom) / TreeRowHeight(s));
      const int last = std::max(0, static_cast<int>(VisibleItems(s).size()) - per);
      const int to = std::clamp(s->top + WheelRows(w), 0, last);
      if (to != s->top) {
        s->top = to;
        InvalidateRect(h, nullptr, TRUE);
      }
      return 0;
    }
    case WM_DESTROY: {
      // Owners free what they attached to items (TVN_DELETEITEM).
      bool handledDelete = false;
      TreeItemMessage(h, s, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT), &handledDelete);
      return 0;
    }
    case WM_PAINT: Paint(h, s); return 0;
  }
  return DefWindowProcW(h, msg, w, l);
}

}  // namespace zrui::detail
