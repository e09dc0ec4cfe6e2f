// Static controls: text labels, pictures (bitmaps) and frames.
#include "controls/builtin.h"
#include "zrui/cellwidth.h"

#include <algorithm>

namespace zrui::detail {
namespace {

struct StaticState {
  HFONT font = nullptr;
  HGDIOBJ image = nullptr;
  UINT imageType = IMAGE_BITMAP;
};

void Paint(HWND h, StaticState* s) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  DWORD style = WindowStyle(h);
  DWORD type = style & SS_TYPEMASK;
  RECT rc;
  GetClientRect(h, &rc);
  if (type == SS_OWNERDRAW) {
    DRAWITEMSTRUCT dis;
    dis.CtlType = ODT_STATIC;
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID(h));
    dis.itemAction = ODA_DRAWENTIRE;
    dis.hwndItem = h;
    dis.hDC = dc;
    dis.rcItem = rc;
    SendMessageW(GetParent(h), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    EndPaint(h, &ps);
    return;
  }
  HGDIOBJ oldFont = SelectObject(dc, ControlFont(s->font));
  CtlColor(h, dc, WM_CTLCOLORSTATIC);
  if (!IsWindowEnabled(h)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  SetBkMode(dc, TRANSPARENT);
  if (type == SS_BITMAP) {
    BITMAP bm;
    if (s->image && GetObjectW(s->image, sizeof bm, &bm)) {
      int x = 0, y = 0;
      if (style & SS_CENTERIMAGE) {
        x = (rc.right - bm.bmWidth) / 2;
        y = (rc.bottom - bm.bmHeight) / 2;
      }
      DrawBitmap(dc, x, y, static_cast<HBITMAP>(s->image), 0, 0, bm.bmWidth, bm.bmHeight, CLR_NONE);
    }
  } else if (type == SS_ETCHEDFRAME || type == SS_BLACKRECT) {
    FrameRect(dc, &rc, GetSysColorBrush(COLOR_BTNSHADOW));
  } else if (type <= SS_RIGHT) {
    std::u16string text = GetWindowTextString(h);
    UINT fmt = DT_WORDBREAK | (type == SS_CENTER ? DT_CENTER : type == SS_RIGHT ? DT_RIGHT : DT_LEFT);
    DrawTextW(dc, text.c_str(), -1, &rc, fmt);
  }
  SelectObject(dc, oldFont);
  EndPaint(h, &ps);
}

}  // namespace

void FitStaticText(HWND h) {
  DWORD type = WindowStyle(h) & SS_TYPEMASK;
  HWND parent = GetParent(h);
  if ((type != SS_LEFT && type != 0xB && type != 0xC) || !parent || !(WindowStyle(h) & WS_CHILD)) return;
  RECT r;
  GetWindowRect(h, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  if (r.bottom - r.top >= 2 * kCharHeight) return;  // room for a second line: it wraps
  std::u16string text = GetWindowTextString(h);
  if (text.find(u'\n') != std::u16string::npos) return;
  std::u16string shown;
  for (size_t i = 0; i < text.size(); ++i) {
    // '&' marks the mnemonic and is not shown; "&&" shows one.
    if (text[i] == u'&' && i + 1 < text.size()) ++i;
    shown += text[i];
  }
  int needed = zrui::TextCells(shown) * kCharWidth;
  if (needed <= r.right - r.left) return;
  RECT pc;
  GetClientRect(parent, &pc);
  int limit = pc.right - kCharWidth;  // the margin against the parent's edge
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    // Hidden siblings count too: a dialog shows and hides its controls later.
    if (c == h) continue;
    RECT o;
    GetWindowRect(c, &o);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&o), 2);
    if (o.top >= r.bottom || r.top >= o.bottom) continue;
    if (o.left <= r.left && o.right >= r.right) limit = std::min<int>(limit, o.right - kCharWidth);  // its frame
    else if (o.left >= r.right) limit = std::min<int>(limit, o.left - kCharWidth);  // a cell of space before it
  }
  int width = std::min<int>(needed, limit - r.left);
  if (width > r.right - r.left)
    SetWindowPos(h, nullptr, 0, 0, width, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK StaticProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  auto* s = ControlState<StaticState>(h);
  if (!s) {
    if (msg == WM_NCCREATE) SetControlState(h, std::make_shared<StaticState>());
    return DefWindowProcW(h, msg, w, l);
  }
  switch (msg) {
    case WM_SETFONT: s->font = reinterpret_cast<HFONT>(w); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (WindowStyle(h) & SS_NOTIFY) NotifyCommand(h, STN_CLICKED);
      return 0;
    case STM_SETIMAGE:
    case STM_SETICON: {
      HGDIOBJ old = s->image;
      s->image = reinterpret_cast<HGDIOBJ>(msg == STM_SETICON ? w : static_cast<WPARAM>(l));
      s->imageType = msg == STM_SETICON ? IMAGE_ICON : static_cast<UINT>(w);
      InvalidateRect(h, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETIMAGE:
    case STM_GETICON:
      return reinterpret_cast<LRESULT>(s->image);
    case WM_SETTEXT: {
      InvalidateRect(h, nullptr, TRUE);
      LRESULT r = DefWindowProcW(h, msg, w, l);
      FitStaticText(h);
      return r;
    }
    case WM_ENABLE:
      InvalidateRect(h, nullptr, TRUE);
      return DefWindowProcW(h, msg, w, l);
    case WM_PAINT:
      Paint(h, s);
      return 0;
  }
  return DefWindowProcW(h, msg, w, l);
}

}  // namespace zrui::detail
