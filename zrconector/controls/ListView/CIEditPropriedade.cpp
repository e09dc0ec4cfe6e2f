#include "controls/ListView/CIEditPropriedade.h"

#include "controls/ListView/CIListViewEdit.h"
#include "controls/ListView/EditorSupport.h"

namespace ListView {

namespace {
constexpr UINT kIdEditor = 1021;
}

BEGIN_MESSAGE_MAP(CIEditPropriedade, CEdit)
  ON_WM_CREATE()
  ON_WM_CHAR()
  ON_WM_KEYDOWN()
  ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CIEditPropriedade::CIEditPropriedade(int linha, int coluna, int filtro, int tamanhoMax)
    : m_linha(linha), m_coluna(coluna), m_filtro(filtro), m_tamanhoMax(tamanhoMax) {}

BOOL CIEditPropriedade::Create(CWnd* pai, const CRect& rc, LPCTSTR texto) {
  if (!CEdit::Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, rc, pai, kIdEditor)) return FALSE;
  SetWindowText(texto);
  SetFocus();
  SetSel(0, -1);
  SendMessage(EM_SCROLLCARET);
  return TRUE;
}

int CIEditPropriedade::OnCreate(LPCREATESTRUCT cs) {
  if (CEdit::OnCreate(cs) == -1) return -1;
  TomaFonteDoPai(this);
  SetFocus();
  SetSel(0, -1);
  return 0;
}

BOOL CIEditPropriedade::PreTranslateMessage(MSG* msg) {
  return EncaminhaTecla(this, msg) || CEdit::PreTranslateMessage(msg);
}

void CIEditPropriedade::OnChar(UINT ch, UINT repeat, UINT flags) {
  if (ch != VK_BACK) {
    if (GetWindowTextLength() >= m_tamanhoMax) return;
    if (m_filtro == 0 && !CaracterNumerico(ch)) return;
  }
  CEdit::OnChar(ch, repeat, flags);
}

void CIEditPropriedade::OnKeyDown(UINT vk, UINT repeat, UINT flags) {
  CIListViewEdit* grid = GridOf(GetParent());
  int linha = m_linha, coluna = m_coluna;
  switch (vk) {
    case VK_TAB:
      if (grid) EditaLinha(grid, GetKeyState(VK_SHIFT) < 0 ? linha - 1 : linha + 1, coluna);
      return;
    case VK_RETURN:
      if (!grid) return;
      if (grid->IsMultiRowEditing()) {
        CString texto;
        GetWindowText(texto);
        grid->SetItemState(linha, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        grid->BeginEdit(linha, coluna, texto);
      } else {
        EditaLinha(grid, GetKeyState(VK_SHIFT) < 0 ? linha - 1 : linha + 1, coluna);
      }
      return;
    case VK_ESCAPE:
      // Ends as any focus loss does: what was typed is kept.
      if (CWnd* pai = GetParent()) pai->SetFocus();
      return;
  }
  CEdit::OnKeyDown(vk, repeat, flags);
}

void CIEditPropriedade::OnKillFocus(CWnd* novo) {
  CEdit::OnKillFocus(novo);
  CString texto;
  GetWindowText(texto);
  // Pasting may have gone past the length that typing respects.
  if (texto.GetLength() > m_tamanhoMax) texto = texto.Left(m_tamanhoMax);
  EnviaTexto(this, WM_EDIT_ENDEDIT, m_linha, m_coluna, texto);
  DestroyWindow();
}

void CIEditPropriedade::PostNcDestroy() { delete this; }

}  // namespace ListView
