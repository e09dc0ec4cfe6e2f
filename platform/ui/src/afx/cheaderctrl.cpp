#include "zrui/afx/cheaderctrl.h"

#include <memory>
#include <unordered_map>

CHeaderCtrl* CHeaderCtrl::FromHandle(HWND h) {
  if (!h) return nullptr;
  thread_local std::unordered_map<HWND, std::unique_ptr<CHeaderCtrl>> wrappers;
  auto& w = wrappers[h];
  if (!w) {
    w = std::make_unique<CHeaderCtrl>();
    w->m_hWnd = h;
    w->m_temporary = true;
  }
  return w.get();
}
int CHeaderCtrl::GetItemCount() const { return static_cast<int>(SendMessage(HDM_GETITEMCOUNT)); }
BOOL CHeaderCtrl::GetItemRect(int index, LPRECT r) const {
  return static_cast<BOOL>(SendMessage(HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(r)));
}
