// Push buttons, check boxes, radio buttons, group boxes and owner-drawn buttons.
#include <algorithm>

#include "controls/builtin.h"
#include "zrui/metrics.h"

namespace zrui::detail {
namespace {

struct ButtonState {
  HFONT font = nullptr;
  UINT check = BST_UNCHECKED;
  bool pushed = false;
  bool focused = false;
  HGDIOBJ image = nullptr;
};

DWORD Type(HWND h) { return WindowStyle(h) & BS_TYPEMASK; }

bool IsPush(DWORD type) {
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW;
}

bool IsPlainPush(HWND h) {
  DWORD type = Type(h);
  return GetClassNameString(h) == WC_BUTTONW && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

// Whether the button shows the default marker: the focused push button
// does, and while the focus is on no push button beside it, the default one
// (so Enter always presses the button the marker shows).
bool ShowsDefault(HWND h) {
  HWND f = GetFocus();
  if (f && GetParent(f) == GetParent(h) && IsPlainPush(f)) return f == h;
  return Type(h) == BS_DEFPUSHBUTTON;
}

// The push buttons beside h repaint: the marker moves with the focus.
void RepaintPushSiblings(HWND h) {
  for (HWND c = GetWindow(GetParent(h), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (c != h && IsPlainPush(c)) InvalidateRect(c, nullptr, TRUE);
}

// Unchecks the other automatic radio buttons of the same group.
void UncheckGroup(HWND h) {
  HWND parent = GetParent(h);
  std::vector<HWND> kids;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) kids.push_back(c);
  auto self = std::find(kids.begin(), kids.end(), h);
  if (self == kids.end()) return;
  // The group starts at the last WS_GROUP at or before h and ends before the next one.
  auto first = self;
  while (first != kids.begin() && !(WindowStyle(*first) & WS_GROUP)) --first;
  for (auto it = first; it != kids.end(); ++it) {
    if (it != first && (WindowStyle(*it) & WS_GROUP)) break;
    if (*it != h && GetClassNameString(*it) == WC_BUTTONW && (WindowStyle(*it) & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
      SendMessageW(*it, BM_SETCHECK, BST_UNCHECKED, 0);
  }
}

void Click(HWND h, ButtonState* s) {
  if (!IsWindowEnabled(h)) return;
  DWORD type = Type(h);
  if (type == BS_AUTOCHECKBOX) s->check = s->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
  if (type == BS_AUTO3STATE) s->check = (s->check + 1) % 3;
  if (type == BS_AUTORADIOBUTTON) {
    s->check = BST_CHECKED;
    UncheckGroup(h);
  }
  InvalidateRect(h, nullptr, TRUE);
  NotifyCommand(h, BN_CLICKED);
}

// A focused button shows its caption in the highlight colours (the focus
// rectangle of a text screen).
void FocusColours(HDC dc) {
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
  SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
}

// A push button drawn in pixels: a raised frame, sunken while pressed, and a
// dark line around the default button. Brackets would touch between buttons
// a dialog unit apart.
void PaintPushFrame(HDC dc, RECT rc, bool isDefault, bool pushed) {
  if (isDefault) {
    FrameRect(dc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&rc, -1, -1);
  }
  HBRUSH light = GetSysColorBrush(pushed ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
  HBRUSH dark = GetSysColorBrush(pushed ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
  const RECT top{rc.left, rc.top, rc.right, rc.top + 1}, left{rc.left, rc.top, rc.left + 1, rc.bottom};
  const RECT bottom{rc.left, rc.bottom - 1, rc.right, rc.bottom}, right{rc.right - 1, rc.top, rc.right, rc.bottom};
  FillRect(dc, &top, light);
  FillRect(dc, &left, light);
  FillRect(dc, &bottom, dark);
  FillRect(dc, &right, dark);
}

// The frame of a group box on its outer edge, its caption on the top edge.
// Drawn when the box paints and again, through ZM_PAINTFRAME, after its
// neighbours, so that no control overlapping an edge hides it.
void PaintGroupFrame(HWND h, HDC dc, ButtonState* s) {
  RECT rc;
  GetClientRect(h, &rc);
  HGDIOBJ oldFont = SelectObject(dc, ControlFont(s->font));
  FrameRect(dc, &rc, GetSysColorBrush(COLOR_BTNSHADOW));
  std::u16string text = GetWindowTextString(h);
  if (!text.empty()) {
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(IsWindowEnabled(h) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    std::u16string shown = u" " + text + u" ";
    RECT t{kCharWidth, 0, rc.right - kCharWidth, kCharHeight};
    DrawTextW(dc, shown.c_str(), -1, &t, DT_LEFT | DT_SINGLELINE);
  }
  SelectObject(dc, oldFont);
}

void Paint(HWND h, ButtonState* s) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  DWORD style = WindowStyle(h);
  DWORD type = style & BS_TYPEMASK;
  RECT rc;
  GetClientRect(h, &rc);
  if (type == BS_OWNERDRAW) {
    DRAWITEMSTRUCT dis;
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID(h));
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = (s->pushed ? ODS_SELECTED : 0) | (s->focused ? ODS_FOCUS : 0) |
                    (IsWindowEnabled(h) ? 0 : ODS_DISABLED);
    dis.hwndItem = h;
    dis.hDC = dc;
    dis.rcItem = rc;
    SendMessageW(GetParent(h), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    EndPaint(h, &ps);
    return;
  }
  HGDIOBJ oldFont = SelectObject(dc, ControlFont(s->font));
  if (type == BS_GROUPBOX) {
    // A group box paints only its frame and caption: what it holds shows.
    PaintGroupFrame(h, dc, s);
    SelectObject(dc, oldFont);
    EndPaint(h, &ps);
    return;
  }
  CtlColor(h, dc, IsPush(type) ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(IsWindowEnabled(h) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  std::u16string text = GetWindowTextString(h);
  int y = (rc.bottom - kCharHeight) / 2;
  if (IsPush(type)) {
    bool def = ShowsDefault(h);
    // Framed in pictures of the pixel profile; in brackets on the character
    // grid and in pictures of the text profile, as the terminal shows it.
    if (GetMetricsProfile() == MetricsProfile::Pixel && GetDeviceCaps(dc, TECHNOLOGY) != DT_CHARSTREAM) {
      PaintPushFrame(dc, rc, def, s->pushed);
    } else {
      TextOutW(dc, 0, y, def ? u"<" : u"[", 1);
      TextOutW(dc, rc.right - kCharWidth, y, def ? u">" : u"]", 1);
    }
    RECT t{kCharWidth, 0, rc.right - kCharWidth, rc.bottom};
    if ((style & BS_BITMAP) && s->image) {
      BITMAP bm;
      GetObjectW(s->image, sizeof bm, &bm);
      DrawBitmap(dc, (rc.right - bm.bmWidth) / 2, (rc.bottom - bm.bmHeight) / 2,
                 static_cast<HBITMAP>(s->image), 0, 0, bm.bmWidth, bm.bmHeight, CLR_NONE);
    } else {
      if (s->focused) FocusColours(dc);
      DrawTextW(dc, text.c_str(), -1, &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
  } else {
    bool radio = type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
    const char16_t* box = radio ? (s->check ? u"(*)" : u"( )")
                                : (s->check == BST_CHECKED ? u"[x]" : s->check == BST_INDETERMINATE ? u"[-]" : u"[ ]");
    TextOutW(dc, 0, y, box, 3);
    RECT t{4 * kCharWidth, 0, rc.right, rc.bottom};
    if (s->focused) FocusColours(dc);
    DrawTextW(dc, text.c_str(), -1, &t, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  }
  SelectObject(dc, oldFont);
  EndPaint(h, &ps);
}

}  // namespace

LRESULT CALLBACK ButtonProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  auto* s = ControlState<ButtonState>(h);
  if (!s) {
    if (msg != WM_NCCREATE) return DefWindowProcW(h, msg, w, l);
    SetControlState(h, std::make_shared<ButtonState>());
    return DefWindowProcW(h, msg, w, l);
  }
  DWORD type = Type(h);
  switch (msg) {
    case WM_SETFONT: s->font = reinterpret_cast<HFONT>(w); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
    case ZM_PAINTFRAME:
      if (type == BS_GROUPBOX) PaintGroupFrame(h, reinterpret_cast<HDC>(w), s);
      return 0;
    case WM_GETDLGCODE:
      if (type == BS_GROUPBOX) return DLGC_STATIC;
      if (type == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
      if (type == BS_PUSHBUTTON || type == BS_OWNERDRAW) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
      if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) return DLGC_BUTTON | DLGC_RADIOBUTTON;
      return DLGC_BUTTON;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (type == BS_GROUPBOX) return 0;
      if (GetFocus() != h) SetFocus(h);
      s->pushed = true;
      SetCapture(h);
      InvalidateRect(h, nullptr, TRUE);
      return 0;
    case WM_LBUTTONUP: {
      if (GetCapture() != h) return 0;
      ReleaseCapture();
      s->pushed = false;
      RECT rc;
      GetClientRect(h, &rc);
      if (PtInRect(&rc, POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)})) Click(h, s);
      return 0;
    }
    case WM_KEYDOWN:
      if (w == VK_SPACE) s->pushed = true;
      return 0;
    case WM_KEYUP:
      if (w == VK_SPACE && s->pushed) {
        s->pushed = false;
        Click(h, s);
      }
      return 0;
    case BM_CLICK:
      Click(h, s);
      return 0;
    case BM_GETCHECK: return s->check;
    case BM_SETCHECK:
      s->check = static_cast<UINT>(w);
      InvalidateRect(h, nullptr, TRUE);
      return 0;
    case BM_GETSTATE:
      return s->check | (s->pushed ? BST_PUSHED : 0) | (s->focused ? BST_FOCUS : 0);
    case BM_SETSTATE: s->pushed = w != 0; return 0;
    case BM_SETSTYLE: {
      DWORD style = WindowStyle(h);
      SetWindowLongPtrW(h, GWL_STYLE, static_cast<LONG_PTR>((style & ~0xFFFFu) | (w & 0xFFFF)));
      InvalidateRect(h, nullptr, TRUE);
      return 0;
    }
    case BM_SETIMAGE: {
      HGDIOBJ old = s->image;
      s->image = reinterpret_cast<HGDIOBJ>(l);
      InvalidateRect(h, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case BM_GETIMAGE: return reinterpret_cast<LRESULT>(s->image);
    case WM_SETFOCUS:
      s->focused = true;
      InvalidateRect(h, nullptr, TRUE);
      if (IsPlainPush(h)) RepaintPushSiblings(h);
      if (WindowStyle(h) & BS_NOTIFY) NotifyCommand(h, BN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      s->focused = false;
      s->pushed = false;
      InvalidateRect(h, nullptr, TRUE);
      if (IsPlainPush(h)) RepaintPushSiblings(h);
      if (WindowStyle(h) & BS_NOTIFY) NotifyCommand(h, BN_KILLFOCUS);
      return 0;
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
