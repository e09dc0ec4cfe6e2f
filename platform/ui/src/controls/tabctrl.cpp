// Tab controls: a row of tabs over a display area; pages are separate
// windows that the owner shows and hides on TCN_SELCHANGE.
#include <algorithm>
#include <string>
#include <vector>

#include "controls/builtin.h"
#include "zrui/commctrl.h"

namespace zrui::detail {
namespace {

struct Tab {
  std::u16string text;
  int image = -1;
  LPARAM param = 0;
};

struct TabState {
  std::vector<Tab> tabs;
  int cur = -1;
  int focus = -1;
  HIMAGELIST images = nullptr;
  HFONT font = nullptr;
};

constexpr int kRowHeight = kCharHeight;

RECT TabRect(const TabState* s, int i) {
  int x = 0;
  for (int k = 0; k < i; ++k) x += (static_cast<int>(s->tabs[static_cast<size_t>(k)].text.size()) + 2) * kCharWidth;
  int w = (static_cast<int>(s->tabs[static_cast<size_t>(i)].text.size()) + 2) * kCharWidth;
  return RECT{x, 0, x + w, kRowHeight};
}

int HitTab(const TabState* s, POINT p) {
  for (int i = 0; i < static_cast<int>(s->tabs.size()); ++i) {
    RECT r = TabRect(s, i);
    if (PtInRect(&r, p)) return i;
  }
  return -1;
}

void Choose(HWND h, TabState* s, int i) {
  if (i < 0 || i >= static_cast<int>(s->tabs.size()) || i == s->cur) return;
  NMHDR hdr;
  if (NotifyParent(h, &hdr, TCN_SELCHANGING)) return;
  s->cur = s->focus = i;
  InvalidateRect(h, nullptr, TRUE);
  NotifyParent(h, &hdr, TCN_SELCHANGE);
}

// The frame of the page area below the tabs. Drawn when the control paints
// and again, through ZM_PAINTFRAME, after the pages over it.
void PaintPageFrame(HWND h, HDC dc) {
  RECT rc;
  GetClientRect(h, &rc);
  RECT area{0, kRowHeight, rc.right, rc.bottom};
  FrameRect(dc, &area, GetSysColorBrush(COLOR_BTNSHADOW));
}

void Paint(HWND h, TabState* s) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  HGDIOBJ oldFont = SelectObject(dc, ControlFont(s->font));
  RECT rc;
  GetClientRect(h, &rc);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
  PaintPageFrame(h, dc);
  SetBkMode(dc, TRANSPARENT);
  for (int i = 0; i < static_cast<int>(s->tabs.size()); ++i) {
    RECT r = TabRect(s, i);
    bool sel = i == s->cur;
    SetTextColor(dc, GetSysColor(IsWindowEnabled(h) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    std::u16string label = (sel ? u"[" : u" ") + s->tabs[static_cast<size_t>(i)].text + (sel ? u"]" : u" ");
    TextOutW(dc, r.left, 0, label.c_str(), static_cast<int>(label.size()));
    if (sel && GetFocus() == h) {
      // The focus shows on the chosen tab's caption, as on a focused button.
      const std::u16string& text = s->tabs[static_cast<size_t>(i)].text;
      SetBkMode(dc, OPAQUE);
      SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
      SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
      TextOutW(dc, r.left + kCharWidth, 0, text.c_str(), static_cast<int>(text.size()));
      SetBkMode(dc, TRANSPARENT);
    }
  }
  SelectObject(dc, oldFont);
  EndPaint(h, &ps);
}

void CopyOut(const Tab& t, TCITEMW* it) {
  if ((it->mask & TCIF_TEXT) && it->pszText && it->cchTextMax > 0) {
    int n = std::min<int>(static_cast<int>(t.text.size()), it->cchTextMax - 1);
    std::copy_n(t.text.data(), n, it->pszText);
    it->pszText[n] = 0;
  }
  if (it->mask & TCIF_IMAGE) it->iImage = t.image;
  if (it->mask & TCIF_PARAM) it->lParam = t.param;
}

void CopyIn(const TCITEMW* it, Tab* t) {
  if ((it->mask & TCIF_TEXT) && it->pszText) t->text = it->pszText;
  if (it->mask & TCIF_IMAGE) t->image = it->iImage;
  if (it->mask & TCIF_PARAM) t->param = it->lParam;
}

}  // namespace

LRESULT CALLBACK TabControlProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  auto* s = ControlState<TabState>(h);
  if (!s) {
    if (msg == WM_NCCREATE) SetControlState(h, std::make_shared<TabState>());
    return DefWindowProcW(h, msg, w, l);
  }
  int i = static_cast<int>(static_cast<LONG_PTR>(w));
  bool valid = i >= 0 && i < static_cast<int>(s->tabs.size());
  switch (msg) {
    case TCM_INSERTITEMW: {
      auto* it = reinterpret_cast<const TCITEMW*>(l);
      if (!it || i < 0) return -1;
      int at = std::min(i, static_cast<int>(s->tabs.size()));
      Tab t;
      CopyIn(it, &t);
      s->tabs.insert(s->tabs.begin() + at, t);
      if (s->cur < 0) s->cur = s->focus = 0;
      else if (s->cur >= at && s->tabs.size() > 1) ++s->cur;
      InvalidateRect(h, nullptr, TRUE);
      return at;
    }
    case TCM_DELETEITEM:
      if (!valid) return FALSE;
      s->tabs.erase(s->tabs.begin() + i);
      if (s->cur == i) s->cur = -1;
      else if (s->cur > i) --s->cur;
      InvalidateRect(h, nullptr, TRUE);
      return TRUE;
    case TCM_DELETEALLITEMS: s->tabs.clear(); s->cur = s->focus = -1; return TRUE;
    case TCM_GETITEMCOUNT: return static_cast<LRESULT>(s->tabs.size());
    case TCM_GETCURSEL: return s->cur;
    case TCM_SETCURSEL: {
      if (!valid) return -1;
      int old = s->cur;
      s->cur = s->focus = i;
      InvalidateRect(h, nullptr, TRUE);
      return old;
    }
    case TCM_GETCURFOCUS: return s->focus;
    case TCM_SETCURFOCUS:
      if (valid) Choose(h, s, i);
      return 0;
    case TCM_GETITEMW:
      if (!valid || !l) return FALSE;
      CopyOut(s->tabs[static_cast<size_t>(i)], reinterpret_cast<TCITEMW*>(l));
      return TRUE;
    case TCM_SETITEMW:
      if (!valid || !l) return FALSE;
      CopyIn(reinterpret_cast<const TCITEMW*>(l), &s->tabs[static_cast<size_t>(i)]);
      InvalidateRect(h, nullptr, TRUE);
      return TRUE;
    case TCM_GETITEMRECT:
      if (!valid || !l) return FALSE;
      *reinterpret_cast<RECT*>(l) = TabRect(s, i);
      return TRUE;
    case TCM_HITTEST: {
      auto* info = reinterpret_cast<TCHITTESTINFO*>(l);
      if (!info) return -1;
      int hit = HitTab(s, info->pt);
      info->flags = hit < 0 ? 1 : 6;  // TCHT_NOWHERE / TCHT_ONITEM
      return hit;
    }
    case TCM_ADJUSTRECT: {
      auto* r = reinterpret_cast<RECT*>(l);
      if (!r) return 0;
      // The display area lies inside the frame below the tab row.
      if (w) InflateRect(r, 1, 1), r->top -= kRowHeight;
      else InflateRect(r, -1, -1), r->top += kRowHeight;
      return 0;
    }
    case TCM_SETIMAGELIST: return reinterpret_cast<LRESULT>(std::exchange(s->images, reinterpret_cast<HIMAGELIST>(l)));
    case TCM_GETIMAGELIST: return reinterpret_cast<LRESULT>(s->images);
    case WM_SETFONT: s->font = reinterpret_cast<HFONT>(w); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN: {
      if (!(WindowStyle(h) & TCS_FOCUSNEVER) && GetFocus() != h) SetFocus(h);
      Choose(h, s, HitTab(s, POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)}));
      return 0;
    }
    case WM_KEYDOWN:
      if (w == VK_LEFT) Choose(h, s, s->cur - 1);
      if (w == VK_RIGHT) Choose(h, s, s->cur + 1);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateRect(h, nullptr, TRUE); return 0;
    case WM_PAINT: Paint(h, s); return 0;
    case ZM_PAINTFRAME: PaintPageFrame(h, reinterpret_cast<HDC>(w)); return 0;
  }
  return DefWindowProcW(h, msg, w, l);
}

}  // namespace zrui::detail
