#include "controls/ListView/CIComboPropriedade.h"

#include <algorithm>

#include "controls/ListView/CIListViewEdit.h"
#include "controls/ListView/EditorSupport.h"

namespace ListView {

BEGIN_MESSAGE_MAP(CIComboPropriedade, CellEditor<CComboBox>)
  ON_CBN_SELCHANGE_REFLECT(&CIComboPropriedade::OnSelChange)
END_MESSAGE_MAP()

CIComboPropriedade::CIComboPropriedade(int linha, int coluna) : CellEditor(linha, coluna) {}

BOOL CIComboPropriedade::Create(CWnd* pai, const CRect& rc, const CStringList* valores, int indice) {
  if (!valores || valores->IsEmpty()) return FALSE;
  // A combo box's window height covers its field (framed, taller than the
  // row) and the dropped list below it.
  CRect janela(rc);
  janela.bottom = rc.bottom + kFieldFrame + std::min(valores->GetCount(), kVisibleEntries) * kCharHeight;
  if (!CComboBox::Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, janela, pai, kListId)) return FALSE;
  for (POSITION pos = valores->GetHeadPosition(); pos;) AddString(valores->GetNext(pos));
  SetCurSel(indice);
  // The list has to hold the focus to report when the user leaves it.
  SetFocus();
  ShowDropDown(TRUE);
  return TRUE;
}

void CIComboPropriedade::OnSelChange() { SendIndex(this, WM_COMBO_SELCHANGE, m_linha, m_coluna, GetCurSel()); }

void CIComboPropriedade::SendResult() { SendIndex(this, WM_COMBO_ENDEDIT, m_linha, m_coluna, GetCurSel()); }

}  // namespace ListView
