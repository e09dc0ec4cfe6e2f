// The dropped list of a drop-down combo: a popup window of its own, so that
// the screen renderers, pictures and hit-testing by screen point treat it as
// any other top-level window. The combo keeps the items and the selection;
// the popup paints them and turns presses into choices.
#include "controls/combobox.h"

#include <algorithm>

#include "zrui/metrics.h"

namespace zrui::detail {
namespace {

struct ComboListState {
  HWND combo = nullptr;
};

HWND ComboOf(HWND list) {
  auto* st = ControlState<ComboListState>(list);
  return st ? st->combo : nullptr;
}

void OnPress(HWND list, POINT p) {
  HWND combo = ComboOf(list);
  auto* s = combo ? ControlState<ComboState>(combo) : nullptr;
  if (!s) return;
  RECT rc;
  GetClientRect(list, &rc);
  WPARAM what = kComboListOutside;
  if (PageOnBar(s, rc, p)) {  // the list left open
    InvalidateRect(list, nullptr, TRUE);
    return;
  }
  if (PtInRect(&rc, p)) {
    int i = s->top + p.y / std::max(1, s->itemHeight);
    // A press below the last item keeps the list open, as on the original.
    if (i >= static_cast<int>(s->items.size())) return;
    what = static_cast<WPARAM>(i);
  }
  // The combo may destroy this window while handling the choice.
  SendMessageW(combo, ZM_COMBOLIST, what, reinterpret_cast<LPARAM>(list));
}

}  // namespace

HWND CreateComboList(HWND combo, const ComboState* s) {
  RECT cr;
  GetWindowRect(combo, &cr);
  RECT lr = ListRect(combo, s);
  const Metrics& m = GetMetrics();
  // On the character grid the list is framed (a cell each side, the frame
  // under the field's own row) and casts a shadow, so that it reads as a
  // list lying over the dialog and not as more of it.
  const bool framed = m.snapToCells;
  const int frameX = framed ? m.cellWidth : 0, frameY = framed ? m.cellHeight : 0;
  int height = lr.bottom - lr.top + 2 * frameY;
  int x = cr.left - frameX;
  int y = m.SnapY(cr.top + s->fieldHeight);
  // Where the screen has no room below the field the list opens above it.
  if (y + height > GetSystemMetrics(SM_CYSCREEN) && cr.top - height >= 0) y = cr.top - height;
  auto state = std::make_shared<ComboListState>();
  state->combo = combo;
  // The owner is the combo's top-level window (CreateWindowExW climbs to it).
  HWND list = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kComboListClass, u"",
                              WS_POPUP | (framed ? WS_BORDER : 0), x, y, cr.right - cr.left + 2 * frameX, height,
                              combo, nullptr, nullptr, state.get());
  if (!list) return nullptr;
  ShowWindow(list, SW_SHOWNA);
  return list;
}

LRESULT CALLBACK ComboListProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCTW*>(l);
      auto* from = static_cast<ComboListState*>(cs->lpCreateParams);
      if (!from) return FALSE;
      SetControlState(h, std::make_shared<ComboListState>(*from));
      return TRUE;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      HWND combo = ComboOf(h);
      if (auto* s = combo ? ControlState<ComboState>(combo) : nullptr) {
        RECT rc;
        GetClientRect(h, &rc);
        PaintComboList(combo, s, dc, rc);
      }
      EndPaint(h, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      OnPress(h, POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)});
      return 0;
    case WM_MOUSEWHEEL:
      // The list holds the mouse while open, so the wheel arrives here; the
      // combo keeps the first visible row, and this window shows it.
      if (HWND combo = ComboOf(h)) {
        SendMessageW(combo, WM_MOUSEWHEEL, w, l);
        InvalidateRect(h, nullptr, TRUE);
      }
      return 0;
    case WM_CAPTURECHANGED:
      // Another window took the mouse: the list closes without a choice.
      if (reinterpret_cast<HWND>(l) != h)
        if (HWND combo = ComboOf(h)) SendMessageW(combo, ZM_COMBOLIST, kComboListOutside, reinterpret_cast<LPARAM>(h));
      return 0;
    case WM_DESTROY:
      if (HWND combo = ComboOf(h)) SendMessageW(combo, ZM_COMBOLIST, kComboListGone, reinterpret_cast<LPARAM>(h));
      return 0;
  }
  return DefWindowProcW(h, msg, w, l);
}

}  // namespace zrui::detail
