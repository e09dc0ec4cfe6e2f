#include "colour_swatches.h"

#include <algorithm>
#include <mutex>
#include <string>

#include "zrdwg/OdCmColor.h"
#include "zrui/gdi.h"
#include "zrui/metrics.h"

namespace zrhost {
namespace {

int selected(HWND h) { return static_cast<int>(GetWindowLongPtrW(h, GWLP_USERDATA)); }

RECT swatchRect(HWND h, int index) {
  RECT client;
  GetClientRect(h, &client);
  const int w = std::max<int>(1, (client.right - client.left) / kSwatchColumns);
  const int ht = std::max<int>(1, (client.bottom - client.top) / kSwatchRows);
  const int col = index % kSwatchColumns, row = index / kSwatchColumns;
  return RECT{col * w, row * ht, (col + 1) * w, (row + 1) * ht};
}

int hit(HWND h, POINT p) {
  for (int i = 0; i < kSwatchCount; ++i) {
    RECT r = swatchRect(h, i);
    if (PtInRect(&r, p)) return i;
  }
  return -1;
}

void notify(HWND h, WORD code) {
  HWND parent = GetParent(h);
  if (parent)
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(h)), code), reinterpret_cast<LPARAM>(h));
}

// Selects index (clamped) and tells the parent when it changed.
void select(HWND h, int index) {
  index = std::clamp(index, 0, kSwatchCount - 1);
  if (index == selected(h)) return;
  SetWindowLongPtrW(h, GWLP_USERDATA, index);
  InvalidateRect(h, nullptr, TRUE);
  notify(h, kSwatchSelChange);
}

// Black or white, whichever reads better on c.
COLORREF inkOn(COLORREF c) {
  return GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114 > 128000 ? RGB(0, 0, 0) : RGB(255, 255, 255);
}

void paint(HWND h) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT client;
  GetClientRect(h, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  const bool cells = zrui::GetMetricsProfile() == zrui::MetricsProfile::Text;
  const int current = selected(h);
  SetBkMode(dc, TRANSPARENT);
  for (int i = 0; i < kSwatchCount; ++i) {
    RECT r = swatchRect(h, i);
    RECT face = r;
    // In pixels the swatches keep a one-pixel gap; on the character grid
    // every cell of a swatch is its colour.
    if (!cells) InflateRect(&face, -1, -1);
    const COLORREF colour = swatchColour(i);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &face, brush);
    DeleteObject(brush);
    // The marks of by block and by layer give way to the brackets on the
    // character grid, where a swatch has no third cell (the label names it).
    const bool bracketed = cells && i == current;
    if ((i == 0 || i == kSwatchCount - 1) && !bracketed) {
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      const char16_t* mark = i == 0 ? u"B" : u"L";
      DrawTextW(dc, mark, 1, &face, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    if (i != current) continue;
    if (cells && r.right - r.left >= 2 * zrui::GetMetrics().cellWidth) {
      SetTextColor(dc, inkOn(colour));
      TextOutW(dc, r.left, r.top, u"[", 1);
      TextOutW(dc, r.right - zrui::GetMetrics().cellWidth, r.top, u"]", 1);
    } else if (cells) {
      SetTextColor(dc, inkOn(colour));
      TextOutW(dc, r.left, r.top, u"#", 1);
    } else {
      // Black outside, white inside: visible on every colour.
      HBRUSH outer = CreateSolidBrush(RGB(0, 0, 0));
      HBRUSH inner = CreateSolidBrush(RGB(255, 255, 255));
      FrameRect(dc, &r, outer);
      FrameRect(dc, &face, inner);
      DeleteObject(outer);
      DeleteObject(inner);
    }
  }
  EndPaint(h, &ps);
}

LRESULT CALLBACK swatchProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_PAINT: paint(h); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateRect(h, nullptr, TRUE); return 0;
    case WM_KEYDOWN: {
      const int i = selected(h);
      switch (w) {
        case VK_LEFT: select(h, i - 1); return 0;
        case VK_RIGHT: select(h, i + 1); return 0;
        case VK_UP: select(h, i - kSwatchColumns); return 0;
        case VK_DOWN: select(h, i + kSwatchColumns); return 0;
        case VK_HOME: select(h, 0); return 0;
        case VK_END: select(h, kSwatchCount - 1); return 0;
      }
      break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      SetFocus(h);
      const int i = hit(h, POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)});
      if (i < 0) return 0;
      select(h, i);
      if (msg == WM_LBUTTONDBLCLK) notify(h, kSwatchDoubleClick);
      return 0;
    }
    case kSwatchGetSel: return selected(h);
    case kSwatchSetSel: {
      const int i = static_cast<int>(w);
      if (i < 0 || i >= kSwatchCount) return -1;
      SetWindowLongPtrW(h, GWLP_USERDATA, i);
      InvalidateRect(h, nullptr, TRUE);
      return i;
    }
    case kSwatchGetCount: return kSwatchCount;
    case kSwatchGetItemRect: {
      const int i = static_cast<int>(w);
      if (i < 0 || i >= kSwatchCount || !l) return FALSE;
      *reinterpret_cast<RECT*>(l) = swatchRect(h, i);
      return TRUE;
    }
  }
  return DefWindowProcW(h, msg, w, l);
}

}  // namespace

void registerColourSwatches() {
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASSW wc;
    wc.lpfnWndProc = swatchProc;
    wc.lpszClassName = kColourSwatchesClass;
    RegisterClassW(&wc);
  });
}

COLORREF swatchColour(int index) {
  if (index <= 0 || index >= kSwatchCount - 1) return GetSysColor(COLOR_WINDOW);
  const uint32_t rgb = OdCmEntityColor::lookUpRGB(index);
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace zrhost
