#include "controls/CMultiTree.h"

BEGIN_MESSAGE_MAP(CMultiTree, CTreeCtrl)
  ON_WM_LBUTTONDOWN()
  ON_WM_RBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_KEYDOWN()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_NOTIFY_REFLECT_EX(TVN_ITEMEXPANDING, &CMultiTree::OnItemExpanding)
END_MESSAGE_MAP()

CMultiTree::CMultiTree() : m_bMulti(1) {}

CMultiTree::~CMultiTree() = default;

void CMultiTree::OnLButtonDown(UINT, CPoint) {
  // The focus first, so that the selection the control makes is drawn focused.
  SetFocus();
  Default();
}

void CMultiTree::OnRButtonDown(UINT, CPoint) {
  SetFocus();
  Default();
}

// The control selects on button-down; the button-up has nothing left to do.
void CMultiTree::OnLButtonUp(UINT, CPoint) {}

void CMultiTree::OnKeyDown(UINT, UINT, UINT) { Default(); }

void CMultiTree::OnSetFocus(CWnd* oldWnd) { CWnd::OnSetFocus(oldWnd); }

void CMultiTree::OnKillFocus(CWnd*) { Default(); }

// Expansion always proceeds; returning FALSE lets the owner see it as well.
BOOL CMultiTree::OnItemExpanding(NMHDR*, LRESULT* result) {
  *result = 0;
  return FALSE;
}
