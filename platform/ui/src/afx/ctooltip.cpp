// CHtmlToolTip: create for a dialog, show at a screen point, hide.
#include <algorithm>

#include "zrui/commctrl.h"
#include "zrui/tooltip.h"

namespace {
// Posted to the tip by ShowAgainSoon.
constexpr UINT kShowAgain = WM_APP + 0x7A1;
}  // namespace

BEGIN_MESSAGE_MAP(CHtmlToolTip, CWnd)
  ON_MESSAGE(kShowAgain, &CHtmlToolTip::OnShowAgain)
END_MESSAGE_MAP()

BOOL CHtmlToolTip::Create(CWnd* dialog) {
  if (m_hWnd) return FALSE;
  return CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, u"", WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0,
                  0, 0, 0, dialog ? dialog->m_hWnd : nullptr, nullptr, nullptr);
}

namespace {

// Whether the control is a combo box with its list dropped; then `below`
// is the bottom of that list (screen coordinates).
bool DroppedListBottom(HWND control, LONG& below) {
  if (GetClassNameString(control) != WC_COMBOBOXW || !SendMessageW(control, CB_GETDROPPEDSTATE, 0, 0)) return false;
  RECT dropped{};
  if (!SendMessageW(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped))) return false;
  below = dropped.bottom;
  return true;
}

// The control of the dialog at a screen point, inside its child dialogs
// (WS_EX_CONTROLPARENT: a tab's page) as the keyboard enters them; null
// where there is none.
HWND ControlAt(HWND dialog, POINT at) {
  HWND control = nullptr;
  for (HWND parent = dialog;;) {
    POINT client = at;
    ScreenToClient(parent, &client);
    HWND child = ChildWindowFromPoint(parent, client);
    if (!child || child == parent) return control;
    control = child;
    if (!(GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)) return control;
    parent = child;
  }
}

// Where a tooltip of the given size goes for a point: a point over a control
// of the dialog puts it below that control, and below its dropped list when
// it is a combo box with its list open (above the control when the screen
// has no room below), never over it, so that what the person types or
// chooses stays in sight. A tip asked for inside the dialog that fits in
// its client area is moved left as far as needed to stay inside, not over
// the dialog's frame, and one wider starts at its left edge; then every tip
// is kept inside the screen, so that showing it never widens what a front
// end has to show.
POINT TooltipPlace(HWND dialog, POINT at, SIZE size) {
  POINT place = at;
  if (dialog) {
    HWND control = ControlAt(dialog, at);
    if (control) {
      RECT r{};
      GetWindowRect(control, &r);
      LONG below = r.bottom;
      DroppedListBottom(control, below);
      place.y = below;
      if (place.y + size.cy > GetSystemMetrics(SM_CYSCREEN) && r.top - size.cy >= 0) place.y = r.top - size.cy;
    }
    RECT inside{};
    GetClientRect(dialog, &inside);
    MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&inside), 2);
    if (at.x >= inside.left && at.x < inside.right)
      place.x = size.cx <= inside.right - inside.left ? std::min<LONG>(place.x, inside.right - size.cx) : inside.left;
  }
  place.x = std::max<LONG>(0, std::min<LONG>(place.x, GetSystemMetrics(SM_CXSCREEN) - size.cx));
  place.y = std::max<LONG>(0, std::min<LONG>(place.y, GetSystemMetrics(SM_CYSCREEN) - size.cy));
  return place;
}

}  // namespace

void CHtmlToolTip::Show(LPCTSTR html, POINT screen) {
  if (!m_hWnd) return;
  asked_ = screen;
  SetWindowText(html ? html : u"");
  RECT r{};
  ::GetWindowRect(m_hWnd, &r);
  const POINT at = TooltipPlace(::GetWindow(m_hWnd, GW_OWNER), screen, SIZE{r.right - r.left, r.bottom - r.top});
  SetWindowPos(nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CHtmlToolTip::ShowAgain() {
  if (IsShown()) Show(GetHtml(), asked_);
}

void CHtmlToolTip::ShowAgainSoon() {
  if (IsShown()) PostMessage(kShowAgain);
}

LRESULT CHtmlToolTip::OnShowAgain(WPARAM, LPARAM) {
  ShowAgain();
  return 0;
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
