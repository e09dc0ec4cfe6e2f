// CHtmlToolTip: create for a dialog, show at a screen point, hide.
#include "zrui/commctrl.h"
#include "zrui/tooltip.h"

BOOL CHtmlToolTip::Create(CWnd* dialog) {
  if (m_hWnd) return FALSE;
  return CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, u"", WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0,
                  0, 0, 0, dialog ? dialog->m_hWnd : nullptr, nullptr, nullptr);
}

void CHtmlToolTip::Show(LPCTSTR html, POINT screen) {
  if (!m_hWnd) return;
  SetWindowText(html ? html : u"");
  SetWindowPos(nullptr, screen.x, screen.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
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
