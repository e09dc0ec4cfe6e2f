#include "controls/ListView/CIFindFilePropriedade.h"

#include "controls/ListView/CIBtFindFile.h"
#include "controls/ListView/CIListViewEdit.h"
#include "controls/ListView/EditorSupport.h"

namespace ListView {

namespace {
constexpr UINT kIdEditor = 1021;
constexpr int kLarguraBotao = 20;
}  // namespace

BEGIN_MESSAGE_MAP(CIFindFilePropriedade, CEdit)
  ON_WM_CREATE()
  ON_WM_CHAR()
  ON_WM_KEYDOWN()
  ON_WM_KILLFOCUS()
  ON_WM_NCDESTROY()
END_MESSAGE_MAP()

CIFindFilePropriedade::CIFindFilePropriedade(int linha, int coluna, int tamanhoMax, LPCTSTR pasta)
    : m_linha(linha), m_coluna(coluna), m_tamanhoMax(tamanhoMax), m_pasta(pasta) {}

BOOL CIFindFilePropriedade::Create(CWnd* pai, const CRect& rc, LPCTSTR texto) {
  return CriaCampoComBotao<CIBtFindFile>(this, m_botao, new CIBtFindFile(this, m_pasta), pai, rc, kLarguraBotao,
                                         kIdEditor, texto);
}

int CIFindFilePropriedade::OnCreate(LPCREATESTRUCT cs) {
  if (CEdit::OnCreate(cs) == -1) return -1;
  TomaFonteDoPai(this);
  SetFocus();
  SetSel(0, -1);
  return 0;
}

BOOL CIFindFilePropriedade::PreTranslateMessage(MSG* msg) {
  return EncaminhaTecla(this, msg) || CEdit::PreTranslateMessage(msg);
}

void CIFindFilePropriedade::OnChar(UINT ch, UINT repeat, UINT flags) {
  if (ch != VK_BACK && GetWindowTextLength() >= m_tamanhoMax) return;
  CEdit::OnChar(ch, repeat, flags);
}

void CIFindFilePropriedade::OnKeyDown(UINT vk, UINT repeat, UINT flags) {
  CIListViewEdit* grid = GridOf(GetParent());
  int linha = m_linha, coluna = m_coluna;
  switch (vk) {
    case VK_TAB:
      if (grid) EditaLinha(grid, GetKeyState(VK_SHIFT) < 0 ? linha - 1 : linha + 1, coluna);
      return;
    case VK_RETURN:
      if (grid) EditaLinha(grid, linha + 1, coluna);
      return;
    case VK_ESCAPE:
      if (CWnd* pai = GetParent()) pai->SetFocus();
      return;
  }
  CEdit::OnKeyDown(vk, repeat, flags);
}

void CIFindFilePropriedade::OnKillFocus(CWnd* novo) {
  CEdit::OnKillFocus(novo);
  if (novo && m_botao && novo->m_hWnd == m_botao->m_hWnd) return;
  CString texto;
  GetWindowText(texto);
  EnviaTexto(this, WM_FINDFILE_ENDEDIT, m_linha, m_coluna, texto);
  DestroyWindow();
}

void CIFindFilePropriedade::OnNcDestroy() {
  delete m_botao;
  m_botao = nullptr;
  CEdit::OnNcDestroy();
}

void CIFindFilePropriedade::PostNcDestroy() { delete this; }

}  // namespace ListView
