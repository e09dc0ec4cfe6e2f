#include "controls/ListView/CIComboPropriedade.h"

#include <algorithm>

#include "controls/ListView/CIListViewEdit.h"
#include "controls/ListView/EditorSupport.h"

namespace ListView {

namespace {
constexpr UINT kIdLista = 1020;
constexpr int kEntradasVisiveis = 8;
constexpr int kMolduraCampo = 8;
}  // namespace

BEGIN_MESSAGE_MAP(CIComboPropriedade, CComboBox)
  ON_WM_CREATE()
  ON_WM_KEYDOWN()
  ON_WM_KILLFOCUS()
  ON_CBN_SELCHANGE_REFLECT(&CIComboPropriedade::OnSelChange)
END_MESSAGE_MAP()

CIComboPropriedade::CIComboPropriedade(int linha, int coluna) : m_linha(linha), m_coluna(coluna) {}

BOOL CIComboPropriedade::Create(CWnd* pai, const CRect& rc, const CStringList* valores, int indice) {
  if (!valores || valores->IsEmpty()) return FALSE;
  // A combo box's window height covers its field (framed, taller than the
  // row) and the dropped list below it.
  CRect janela(rc);
  janela.bottom = rc.bottom + kMolduraCampo + std::min(valores->GetCount(), kEntradasVisiveis) * kCharHeight;
  if (!CComboBox::Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, janela, pai, kIdLista)) return FALSE;
  for (POSITION pos = valores->GetHeadPosition(); pos;) AddString(valores->GetNext(pos));
  SetCurSel(indice);
  // The list has to hold the focus to report when the user leaves it.
  SetFocus();
  ShowDropDown(TRUE);
  return TRUE;
}

int CIComboPropriedade::OnCreate(LPCREATESTRUCT cs) {
  if (CComboBox::OnCreate(cs) == -1) return -1;
  TomaFonteDoPai(this);
  return 0;
}

BOOL CIComboPropriedade::PreTranslateMessage(MSG* msg) {
  return EncaminhaTecla(this, msg) || CComboBox::PreTranslateMessage(msg);
}

void CIComboPropriedade::OnKeyDown(UINT vk, UINT repeat, UINT flags) {
  CIListViewEdit* grid = GridOf(GetParent());
  int linha = m_linha, coluna = m_coluna;
  switch (vk) {
    case VK_TAB:
      if (grid) EditaLinha(grid, GetKeyState(VK_SHIFT) < 0 ? linha - 1 : linha + 1, coluna);
      return;
    case VK_ESCAPE:
      if (CWnd* pai = GetParent()) pai->SetFocus();
      return;
  }
  CComboBox::OnKeyDown(vk, repeat, flags);
}

void CIComboPropriedade::OnSelChange() { EnviaIndice(this, WM_COMBO_SELCHANGE, m_linha, m_coluna, GetCurSel()); }

void CIComboPropriedade::OnKillFocus(CWnd* novo) {
  CComboBox::OnKillFocus(novo);
  EnviaIndice(this, WM_COMBO_ENDEDIT, m_linha, m_coluna, GetCurSel());
  DestroyWindow();
}

void CIComboPropriedade::PostNcDestroy() { delete this; }

}  // namespace ListView
