// The layout of dialog templates: each item converted from dialog units,
// and in the text profile the passes that keep lines of controls together
// on the character grid (see dialog_layout.h).
#include "dialog/dialog_layout.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "core/class_registry.h"
#include "zrui/commctrl.h"

namespace zrui::detail {
namespace {

bool IsClass(const DialogItem& it, const char16_t* cls) { return FoldAscii(it.className) == FoldAscii(cls); }

bool IsStaticText(const DialogItem& it) {
  // SS_LEFT, SS_CENTER, SS_RIGHT; SS_SIMPLE (0xB) and SS_LEFTNOWORDWRAP (0xC).
  DWORD type = it.style & SS_TYPEMASK;
  return IsClass(it, WC_STATICW) && (type <= SS_RIGHT || type == 0xB || type == 0xC);
}

bool IsPushButton(const DialogItem& it) {
  DWORD type = it.style & BS_TYPEMASK;
  return IsClass(it, WC_BUTTONW) && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

bool Bordered(const DialogItem& it) { return (it.style & WS_BORDER) || (it.exStyle & WS_EX_CLIENTEDGE); }

bool RowsOverlap(const RECT& a, const RECT& b) { return a.top < b.bottom && b.top < a.bottom; }
bool ColumnsOverlap(const RECT& a, const RECT& b) { return a.left < b.right && b.left < a.right; }
bool Overlap(const RECT& a, const RECT& b) { return RowsOverlap(a, b) && ColumnsOverlap(a, b); }

// Whether two items are apart in dialog units, side by side (a left of b)
// or one above the other (a above b).
bool LeftOf(const DialogItem& a, const DialogItem& b) { return a.x + a.cx <= b.x; }
bool Above(const DialogItem& a, const DialogItem& b) { return a.y + a.cy <= b.y; }
bool ApartInUnits(const DialogItem& a, const DialogItem& b) {
  return LeftOf(a, b) || LeftOf(b, a) || Above(a, b) || Above(b, a);
}

// True when the rows of `r` are free for a border: no other control takes a
// cell of them, no container has its frame on them where they meet, and
// they are not the outermost rows of the dialog (which keep the margin the
// template gives against the dialog's edge or the frame around a page).
bool FreeRows(const std::vector<DialogItem>& items, const std::vector<RECT>& rects, size_t self, const RECT& r,
              const RECT& client, int ch) {
  if (r.top < client.top + ch || r.bottom > client.bottom - ch) return false;
  for (size_t j = 0; j < items.size(); ++j) {
    if (j == self || !ColumnsOverlap(r, rects[j])) continue;
    if (!IsContainer(items[j])) {
      if (RowsOverlap(r, rects[j])) return false;
      continue;
    }
    RECT topFrame{rects[j].left, rects[j].top, rects[j].right, rects[j].top + ch};
    RECT bottomFrame{rects[j].left, rects[j].bottom - ch, rects[j].right, rects[j].bottom};
    if (RowsOverlap(r, topFrame) || RowsOverlap(r, bottomFrame)) return false;
  }
  return true;
}

// The control a label sits beside: not a label nor a container, its top at
// most half a row from the label's, overlapping it vertically, the nearest
// one to the left or right. SIZE_MAX when there is none.
size_t Partner(const std::vector<DialogItem>& items, size_t label, const zrui::Metrics& m) {
  const DialogItem& l = items[label];
  size_t best = SIZE_MAX;
  int bestGap = INT_MAX;
  for (size_t j = 0; j < items.size(); ++j) {
    const DialogItem& c = items[j];
    if (j == label || IsStaticText(c) || IsContainer(c) || !(c.style & WS_VISIBLE)) continue;
    if (std::abs(c.y - l.y) > m.dluPerCellY / 2) continue;
    if (c.y >= l.y + l.cy || l.y >= c.y + c.cy) continue;
    int gap = LeftOf(l, c) ? c.x - (l.x + l.cx) : LeftOf(c, l) ? l.x - (c.x + c.cx) : -1;
    if (gap < 0) continue;  // one over the other: not side by side
    if (gap < bestGap) bestGap = gap, best = j;
  }
  return best;
}

// True when `r`, as the new place of item `self`, takes a cell of a control
// it is apart from in dialog units.
bool Collides(const std::vector<DialogItem>& items, const std::vector<RECT>& rects, size_t self, const RECT& r) {
  for (size_t j = 0; j < items.size(); ++j)
    if (j != self && !IsContainer(items[j]) && ApartInUnits(items[self], items[j]) && Overlap(r, rects[j])) return true;
  return false;
}

void LabelsOnTheirFieldsRows(const std::vector<DialogItem>& items, std::vector<RECT>& rects, const zrui::Metrics& m) {
  for (size_t i = 0; i < items.size(); ++i) {
    if (!IsStaticText(items[i])) continue;
    size_t p = Partner(items, i, m);
    if (p == SIZE_MAX || rects[p].top == rects[i].top) continue;
    RECT moved = rects[i];
    OffsetRect(&moved, 0, rects[p].top - rects[i].top);
    if (!Collides(items, rects, i, moved)) rects[i] = moved;
  }
}

void BordersOnFreeRows(const std::vector<DialogItem>& items, std::vector<RECT>& rects, const zrui::Metrics& m,
                       const RECT& client) {
  const int cw = m.cellWidth, ch = m.cellHeight;
  for (size_t i = 0; i < items.size(); ++i) {
    const DialogItem& it = items[i];
    RECT& r = rects[i];
    if (IsContainer(it) || !Bordered(it) || r.right - r.left < 3 * cw || r.bottom - r.top < 3 * ch) continue;
    RECT out = m.DialogRectToPixels(it.x, it.y, it.cx, it.cy, true);
    if (out.top < r.top && FreeRows(items, rects, i, RECT{r.left, out.top, r.right, r.top}, client, ch)) r.top = out.top;
    if (out.bottom > r.bottom && FreeRows(items, rects, i, RECT{r.left, r.bottom, r.right, out.bottom}, client, ch))
      r.bottom = out.bottom;
  }
}

// Two items apart in dialog units that overlap in cells (the one-cell
// minimum of a thin item, an outward container edge): the first one gives
// up the cells the other takes, or when that would leave it nothing, the
// other moves on.
bool SeparateOverlaps(const std::vector<DialogItem>& items, std::vector<RECT>& rects, const zrui::Metrics& m) {
  bool changed = false;
  for (size_t i = 0; i < items.size(); ++i)
    for (size_t j = 0; j < items.size(); ++j) {
      if (i == j || !Overlap(rects[i], rects[j])) continue;
      RECT& a = rects[i];
      RECT& b = rects[j];
      if (LeftOf(items[i], items[j])) {
        if (b.left - a.left >= m.cellWidth) a.right = b.left;
        else OffsetRect(&b, a.right - b.left, 0);
      } else if (Above(items[i], items[j])) {
        if (b.top - a.top >= m.cellHeight) a.bottom = b.top;
        else OffsetRect(&b, 0, a.bottom - b.top);
      } else {
        continue;
      }
      changed = true;
    }
  return changed;
}

// A gap in dialog units stays a gap in cells, and push buttons side by side
// always keep a blank column between them ("][" reads as one control).
void GapsBetweenNeighbours(const std::vector<DialogItem>& items, std::vector<RECT>& rects, const zrui::Metrics& m) {
  const int cw = m.cellWidth;
  for (size_t i = 0; i < items.size(); ++i) {
    if (IsContainer(items[i])) continue;
    for (size_t j = 0; j < items.size(); ++j) {
      if (j == i || IsContainer(items[j]) || !RowsOverlap(rects[i], rects[j])) continue;
      bool apart = items[i].x + items[i].cx < items[j].x ||
                   (IsPushButton(items[i]) && IsPushButton(items[j]) && LeftOf(items[i], items[j]));
      if (!apart || rects[i].right <= rects[j].left - cw || rects[i].left >= rects[j].left) continue;
      int right = rects[j].left - cw;
      if (right - rects[i].left >= cw) rects[i].right = std::min<LONG>(rects[i].right, right);
    }
  }
}

}  // namespace

bool IsContainer(const DialogItem& it) {
  if (IsClass(it, WC_BUTTONW)) return (it.style & BS_TYPEMASK) == BS_GROUPBOX;
  if (IsClass(it, WC_TABCONTROLW)) return true;
  if (IsClass(it, WC_STATICW)) {
    DWORD type = it.style & SS_TYPEMASK;
    return (type >= 0x7 && type <= 0x9) || type == SS_ETCHEDFRAME;  // SS_*FRAME
  }
  return false;
}

std::vector<RECT> LayOutDialogItems(const DialogTemplate& t, const zrui::Metrics& m) {
  const std::vector<DialogItem>& items = t.items;
  std::vector<RECT> rects;
  rects.reserve(items.size());
  for (const DialogItem& it : items) rects.push_back(m.DialogRectToPixels(it.x, it.y, it.cx, it.cy, IsContainer(it)));
  if (!m.snapToCells) return rects;
  LabelsOnTheirFieldsRows(items, rects, m);
  BordersOnFreeRows(items, rects, m, m.DialogRectToPixels(0, 0, t.cx, t.cy, true));
  // Each round settles at least one pair for good; a few rounds settle any
  // real template, and the bound keeps a pathological one from looping.
  for (size_t round = 0; round < items.size() && SeparateOverlaps(items, rects, m); ++round) {
  }
  GapsBetweenNeighbours(items, rects, m);
  return rects;
}

}  // namespace zrui::detail
