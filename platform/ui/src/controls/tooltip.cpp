// The tooltip window class: parses its text as the HTML subset, sizes itself
// to it and paints bold and italic runs.
#include "controls/builtin.h"
#include "zrui/cellwidth.h"
#include "zrui/commctrl.h"
#include "zrui/htmltext.h"

namespace zrui::detail {
namespace {

struct TipState {
  std::u16string html;
  std::vector<HtmlLine> lines;
};

SIZE Measure(const TipState* s) {
  int width = 0;
  for (const auto& line : s->lines) {
    int n = 0;
    for (const auto& run : line) n += TextCells(run.text);
    width = std::max(width, n);
  }
  return SIZE{static_cast<LONG>(width + 2) * kCharWidth, static_cast<LONG>(s->lines.size()) * kCharHeight};
}

void Paint(HWND h, TipState* s) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT rc;
  GetClientRect(h, &rc);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_INFOBK));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
  HGDIOBJ old = GetCurrentObject(dc, OBJ_FONT);
  int y = 0;
  for (const auto& line : s->lines) {
    int x = kCharWidth;
    for (const auto& run : line) {
      LOGFONTW lf;
      lf.lfWeight = run.bold ? FW_BOLD : FW_NORMAL;
      lf.lfItalic = run.italic ? 1 : 0;
      HFONT f = CreateFontIndirectW(&lf);
      SelectObject(dc, f);
      TextOutW(dc, x, y, run.text.c_str(), static_cast<int>(run.text.size()));
      SelectObject(dc, old);
      DeleteObject(f);
      x += TextCells(run.text) * kCharWidth;
    }
    y += kCharHeight;
  }
  EndPaint(h, &ps);
}

}  // namespace

LRESULT CALLBACK TooltipProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  auto* s = ControlState<TipState>(h);
  if (!s) {
    if (msg == WM_NCCREATE) SetControlState(h, std::make_shared<TipState>());
    return DefWindowProcW(h, msg, w, l);
  }
  switch (msg) {
    case WM_SETTEXT: {
      s->html = l ? reinterpret_cast<LPCWSTR>(l) : u"";
      s->lines = ParseTooltipHtml(s->html);
      SIZE size = Measure(s);
      SetWindowPos(h, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      InvalidateRect(h, nullptr, TRUE);
      return DefWindowProcW(h, msg, w, l);
    }
    case TTM_POP: ShowWindow(h, SW_HIDE); return 0;
    case TTM_TRACKPOSITION:
      SetWindowPos(h, nullptr, GET_X_LPARAM(l), GET_Y_LPARAM(l), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    case TTM_TRACKACTIVATE: ShowWindow(h, w ? SW_SHOWNA : SW_HIDE); return 0;
    case TTM_UPDATETIPTEXTW: {
      auto* ti = reinterpret_cast<const TTTOOLINFOW*>(l);
      if (ti && ti->lpszText) SendMessageW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ti->lpszText));
      return 0;
    }
    case WM_MOUSEACTIVATE: return 3;  // MA_NOACTIVATE
    case WM_PAINT: Paint(h, s); return 0;
  }
  return DefWindowProcW(h, msg, w, l);
}

}  // namespace zrui::detail
