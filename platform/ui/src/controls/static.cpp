// Static controls: text labels, pictures (bitmaps) and frames.
#include "controls/builtin.h"

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
    case WM_SETTEXT:
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
