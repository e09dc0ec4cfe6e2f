#include "dialogs/SelectionOwner.h"

void GrowControl(CWnd* page, CWnd& control, int dx, int dy) {
  if (!control.m_hWnd || (dx == 0 && dy == 0)) return;
  CRect r;
  control.GetWindowRect(&r);
  page->ScreenToClient(&r);
  control.MoveWindow(r.left, r.top, r.Width() + dx, r.Height() + dy);
}

void MoveControl(CWnd* page, CWnd& control, int dx, int dy) {
  if (!control.m_hWnd || (dx == 0 && dy == 0)) return;
  CRect r;
  control.GetWindowRect(&r);
  page->ScreenToClient(&r);
  control.MoveWindow(r.left + dx, r.top + dy, r.Width(), r.Height());
}
