// Scroll bar state of windows.
#include <algorithm>

#include "core/window_store.h"

using namespace zrui::detail;

namespace {

SCROLLINFO* Bar(WindowRecord* r, int bar) {
  if (!r || (bar != static_cast<int>(SB_HORZ) && bar != static_cast<int>(SB_VERT))) return nullptr;
  return &r->scroll[bar];
}

}  // namespace

int SetScrollInfo(HWND h, int bar, const SCROLLINFO* si, BOOL) {
  std::lock_guard lock(WindowStore::mutex());
  SCROLLINFO* s = Bar(WindowStore::find(h), bar);
  if (!s || !si) return 0;
  if (si->fMask & SIF_RANGE) {
    s->nMin = si->nMin;
    s->nMax = si->nMax;
  }
  if (si->fMask & SIF_PAGE) s->nPage = si->nPage;
  if (si->fMask & SIF_POS) s->nPos = si->nPos;
  int maxPos = std::max(s->nMin, s->nMax - std::max(static_cast<int>(s->nPage) - 1, 0));
  s->nPos = std::clamp(s->nPos, s->nMin, maxPos);
  return s->nPos;
}

BOOL GetScrollInfo(HWND h, int bar, SCROLLINFO* si) {
  std::lock_guard lock(WindowStore::mutex());
  SCROLLINFO* s = Bar(WindowStore::find(h), bar);
  if (!s || !si) return FALSE;
  UINT mask = si->fMask;
  if (mask & SIF_RANGE) {
    si->nMin = s->nMin;
    si->nMax = s->nMax;
  }
  if (mask & SIF_PAGE) si->nPage = s->nPage;
  if (mask & SIF_POS) si->nPos = s->nPos;
  if (mask & SIF_TRACKPOS) si->nTrackPos = s->nPos;
  return TRUE;
}

int GetScrollPos(HWND h, int bar) {
  SCROLLINFO si;
  si.fMask = SIF_POS;
  return GetScrollInfo(h, bar, &si) ? si.nPos : 0;
}

int SetScrollPos(HWND h, int bar, int pos, BOOL redraw) {
  int old = GetScrollPos(h, bar);
  SCROLLINFO si;
  si.fMask = SIF_POS;
  si.nPos = pos;
  SetScrollInfo(h, bar, &si, redraw);
  return old;
}

BOOL GetScrollRange(HWND h, int bar, int* minPos, int* maxPos) {
  SCROLLINFO si;
  si.fMask = SIF_RANGE;
  if (!GetScrollInfo(h, bar, &si)) return FALSE;
  if (minPos) *minPos = si.nMin;
  if (maxPos) *maxPos = si.nMax;
  return TRUE;
}

BOOL SetScrollRange(HWND h, int bar, int minPos, int maxPos, BOOL redraw) {
  SCROLLINFO si;
  si.fMask = SIF_RANGE;
  si.nMin = minPos;
  si.nMax = maxPos;
  return SetScrollInfo(h, bar, &si, redraw) >= 0;
}
