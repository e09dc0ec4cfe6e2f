#include "controls/ListView/CIEditPropriedade.h"

#include "controls/ListView/CIListViewEdit.h"
#include "controls/ListView/EditorSupport.h"

namespace ListView {

BEGIN_MESSAGE_MAP(CIEditPropriedade, CellEditor<CEdit>)
  ON_WM_CHAR()
END_MESSAGE_MAP()

CIEditPropriedade::CIEditPropriedade(int linha, int coluna, int filtro, int tamanhoMax)
    : CellEditor(linha, coluna), m_filtro(filtro), m_tamanhoMax(tamanhoMax) {}

BOOL CIEditPropriedade::Create(CWnd* pai, const CRect& rc, LPCTSTR texto) {
  if (!CEdit::Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, rc, pai, kEditorId)) return FALSE;
  SetWindowText(texto);
  SetFocus();
  SetSel(0, -1);
  SendMessage(EM_SCROLLCARET);
  return TRUE;
}

void CIEditPropriedade::OnChar(UINT ch, UINT repeat, UINT flags) {
  if (ch != VK_BACK) {
    if (GetWindowTextLength() >= m_tamanhoMax) return;
    if (m_filtro == 0 && !IsNumericChar(ch)) return;
  }
  CEdit::OnChar(ch, repeat, flags);
}

bool CIEditPropriedade::OnEnter(CIListViewEdit* grid) {
  if (!grid) return true;
  if (grid->IsMultiRowEditing()) {
    // This cell again with the typed text, so that the captured rows take it.
    // Selecting the row may end this editor: nothing of it is read after.
    const int linha = m_linha, coluna = m_coluna;
    CString texto;
    GetWindowText(texto);
    grid->SetItemState(linha, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    grid->BeginEdit(linha, coluna, texto);
  } else {
    EditRow(grid, GetKeyState(VK_SHIFT) < 0 ? m_linha - 1 : m_linha + 1, m_coluna);
  }
  return true;
}

void CIEditPropriedade::SendResult() {
  CString texto;
  GetWindowText(texto);
  // Pasting may have gone past the length that typing respects.
  if (texto.GetLength() > m_tamanhoMax) texto = texto.Left(m_tamanhoMax);
  SendText(this, WM_EDIT_ENDEDIT, m_linha, m_coluna, texto);
}

}  // namespace ListView
