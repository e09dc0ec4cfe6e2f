// CHtmlToolTip: create for a dialog, show at a screen point, hide.
#include <algorithm>

#include "zrui/commctrl.h"
#include "zrui/tooltip.h"

BOOL CHtmlToolTip::Create(CWnd* dialog) {
  if (m_hWnd) return FALSE;
  return CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, u"", WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0,
                  0, 0, 0, dialog ? dialog->m_hWnd : nullptr, nullptr, nullptr);
}

namespace {

// Where a tooltip of the given size goes for a point: a point over a control
// of the dialog puts it below that control (above it when the screen has no
// room below), never over it, so that what the person types stays in
// sight; then kept inside the screen, so that showing it never widens what
// a front end has to show.
POINT TooltipPlace(HWND dialog, POINT at, SIZE size) {
  POINT place = at;
  if (dialog) {
    POINT client = at;
    ScreenToClient(dialog, &client);
    HWND control = ChildWindowFromPoint(dialog, client);
    if (control && control != dialog) {
      RECT r{};
      GetWindowRect(control, &r);
      place.y = r.bottom;
      if (place.y + size.cy > GetSystemMetrics(SM_CYSCREEN) && r.top - size.cy >= 0) place.y = r.top - size.cy;
    }
  }
  place.x = std::max<LONG>(0, std::min<LONG>(place.x, GetSystemMetrics(SM_CXSCREEN) - size.cx));
  place.y = std::max<LONG>(0, std::min<LONG>(place.y, GetSystemMetrics(SM_CYSCREEN) - size.cy));
  return place;
}

}  // namespace

void CHtmlToolTip::Show(LPCTSTR html, POINT screen) {
  if (!m_hWnd) return;
  SetWindowText(html ? html : u"");
  RECT r{};
  ::GetWindowRect(m_hWnd, &r);
  const POINT at = TooltipPlace(::GetWindow(m_hWnd, GW_OWNER), screen, SIZE{r.right - r.left, r.bottom - r.top});
  SetWindowPos(nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CHtmlToolTip::Hide() {
  if (m_hWnd) ShowWindow(SW_HIDE);
}

bool CHtmlToolTip::IsShown() const { return m_hWnd && IsWindowVisible(); }

CString CHtmlToolTip::GetHtml() const {
  CString s;
  if (m_hWnd) GetWindowText(s);
  return s;
}

CString CHtmlToolTip::GetPlainText() const { return CString(zrui::TooltipPlainText(GetHtml().str())); }
