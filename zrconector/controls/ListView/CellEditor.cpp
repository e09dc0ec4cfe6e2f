#include "controls/ListView/CellEditor.h"

#include <type_traits>

#include "controls/CAutoCombo.h"
#include "controls/ListView/CIListViewEdit.h"
#include "controls/ListView/EditorSupport.h"

namespace ListView {

// The message map of a class template, written out as BEGIN_MESSAGE_MAP
// would write it for a class.
template <class Base>
const AFX_MSGMAP* CellEditor<Base>::GetMessageMap() const {
  return GetThisMessageMap();
}

template <class Base>
const AFX_MSGMAP* CellEditor<Base>::GetThisMessageMap() {
  using ThisClass = CellEditor<Base>;
  using TheBaseClass = Base;
  static const AFX_MSGMAP_ENTRY _messageEntries[] = {
    ON_WM_CREATE()
    ON_WM_KEYDOWN()
    ON_WM_KILLFOCUS()
    ON_WM_NCDESTROY()
END_MESSAGE_MAP()

template <class Base>
int CellEditor<Base>::OnCreate(LPCREATESTRUCT cs) {
  if (Base::OnCreate(cs) == -1) return -1;
  TakeParentFont(this);
  if constexpr (std::is_base_of_v<CEdit, Base>) {
    this->SetFocus();
    this->SetSel(0, -1);
  }
  return 0;
}

template <class Base>
BOOL CellEditor<Base>::PreTranslateMessage(MSG* msg) {
  return RouteKey(this, msg, RepaintsOnKey()) || Base::PreTranslateMessage(msg);
}

template <class Base>
bool CellEditor<Base>::OnEnter(CIListViewEdit* grid) {
  if (grid) EditRow(grid, m_linha + 1, m_coluna);
  return true;
}

template <class Base>
void CellEditor<Base>::OnKeyDown(UINT vk, UINT repeat, UINT flags) {
  CIListViewEdit* grid = GridOf(this->GetParent());
  if (vk == VK_ESCAPE && TakesEscape()) {
    Base::OnKeyDown(vk, repeat, flags);
    return;
  }
  switch (vk) {
    case VK_TAB:
      if (grid) EditRow(grid, GetKeyState(VK_SHIFT) < 0 ? m_linha - 1 : m_linha + 1, m_coluna);
      return;
    case VK_RETURN:
      if (OnEnter(grid)) return;
      break;
    case VK_ESCAPE:
      // Ends as any focus loss does: what was typed is kept.
      if (CWnd* pai = this->GetParent()) pai->SetFocus();
      return;
  }
  Base::OnKeyDown(vk, repeat, flags);
}

template <class Base>
bool CellEditor<Base>::KeepsOpen(CWnd* novo) const {
  return novo && m_botao && novo->m_hWnd == m_botao->m_hWnd;
}

template <class Base>
void CellEditor<Base>::OnKillFocus(CWnd* novo) {
  Base::OnKillFocus(novo);
  if (!KeepsOpen(novo)) End();
}

template <class Base>
void CellEditor<Base>::End() {
  SendResult();
  this->DestroyWindow();
}

template <class Base>
void CellEditor<Base>::OnNcDestroy() {
  delete m_botao;
  m_botao = nullptr;
  Base::OnNcDestroy();
}

template class CellEditor<CEdit>;
template class CellEditor<CComboBox>;
template class CellEditor<CAutoCombo>;

}  // namespace ListView
