#include "zrui/afx/ctabctrl.h"

#include "afx/msg_args.h"

using afx_detail::P;
using afx_detail::W;

BOOL CTabCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create(WC_TABCONTROLW, u"", style, rect, parent, id);
}
LONG CTabCtrl::InsertItem(int item, LPCTSTR text) {
  TCITEMW t;
  t.mask = TCIF_TEXT;
  t.pszText = const_cast<LPWSTR>(text);
  return InsertItem(item, &t);
}
LONG CTabCtrl::InsertItem(int item, TCITEMW* tab) { return static_cast<LONG>(SendMessage(TCM_INSERTITEMW, W(item), P(tab))); }
BOOL CTabCtrl::DeleteItem(int item) { return static_cast<BOOL>(SendMessage(TCM_DELETEITEM, W(item))); }
BOOL CTabCtrl::DeleteAllItems() { return static_cast<BOOL>(SendMessage(TCM_DELETEALLITEMS)); }
int CTabCtrl::GetItemCount() const { return static_cast<int>(SendMessage(TCM_GETITEMCOUNT)); }
int CTabCtrl::GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }
int CTabCtrl::SetCurSel(int item) { return static_cast<int>(SendMessage(TCM_SETCURSEL, W(item))); }
BOOL CTabCtrl::GetItem(int item, TCITEMW* tab) const { return static_cast<BOOL>(SendMessage(TCM_GETITEMW, W(item), P(tab))); }
BOOL CTabCtrl::SetItem(int item, TCITEMW* tab) { return static_cast<BOOL>(SendMessage(TCM_SETITEMW, W(item), P(tab))); }
BOOL CTabCtrl::GetItemRect(int item, LPRECT r) const { return static_cast<BOOL>(SendMessage(TCM_GETITEMRECT, W(item), P(r))); }
void CTabCtrl::AdjustRect(BOOL larger, LPRECT r) { SendMessage(TCM_ADJUSTRECT, static_cast<WPARAM>(larger), P(r)); }
int CTabCtrl::HitTest(TCHITTESTINFO* info) const { return static_cast<int>(SendMessage(TCM_HITTEST, 0, P(info))); }
