#include "controls/ListView/CIFindFilePropriedade.h"

#include "controls/ListView/CIBtFindFile.h"
#include "controls/ListView/CIListViewEdit.h"
#include "controls/ListView/EditorSupport.h"

namespace ListView {

BEGIN_MESSAGE_MAP(CIFindFilePropriedade, CellEditor<CEdit>)
  ON_WM_CHAR()
END_MESSAGE_MAP()

CIFindFilePropriedade::CIFindFilePropriedade(int linha, int coluna, int tamanhoMax, LPCTSTR pasta)
    : CellEditor(linha, coluna), m_tamanhoMax(tamanhoMax), m_pasta(pasta) {}

BOOL CIFindFilePropriedade::Create(CWnd* pai, const CRect& rc, LPCTSTR texto) {
  return CreateFieldWithButton(this, m_botao, new CIBtFindFile(this, m_pasta), pai, rc, kButtonWidth, kEditorId, texto);
}

void CIFindFilePropriedade::OnChar(UINT ch, UINT repeat, UINT flags) {
  if (ch != VK_BACK && GetWindowTextLength() >= m_tamanhoMax) return;
  CEdit::OnChar(ch, repeat, flags);
}

void CIFindFilePropriedade::SendResult() {
  CString texto;
  GetWindowText(texto);
  SendText(this, WM_FINDFILE_ENDEDIT, m_linha, m_coluna, texto);
}

}  // namespace ListView
