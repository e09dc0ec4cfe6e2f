#include "controls/ListView/CIEditComboPropriedade.h"

#include <algorithm>

#include "controls/ListView/CIListViewEdit.h"
#include "controls/ListView/EditorSupport.h"

namespace ListView {

namespace {
constexpr UINT kIdLista = 1020;
constexpr int kEntradasVisiveis = 8;
constexpr int kMolduraCampo = 8;

// Position of `texto` in the list, counted from the head; -1 when absent.
int PosicaoEm(const CStringList& lista, const CString& texto) {
  int i = 0;
  for (POSITION pos = lista.GetHeadPosition(); pos; ++i)
    if (lista.GetNext(pos) == texto) return i;
  return -1;
}
}  // namespace

BEGIN_MESSAGE_MAP(CIEditComboPropriedade, CAutoCombo)
  ON_WM_CREATE()
  ON_CBN_KILLFOCUS_REFLECT(&CIEditComboPropriedade::OnKillFocusCombo)
  ON_CONTROL_REFLECT(CBN_EDITCHANGE, &CIEditComboPropriedade::OnEditChange)
END_MESSAGE_MAP()

CIEditComboPropriedade::CIEditComboPropriedade(int linha, int coluna, BOOL listaFixa)
    : m_linha(linha), m_coluna(coluna), m_listaFixa(listaFixa) {}

BOOL CIEditComboPropriedade::Create(CWnd* pai, const CRect& rc, const CStringList* valores,
                                    const CStringList* descricoes, int indice) {
  int n = valores ? valores->GetCount() : 0;
  DWORD tipo = n < 2 ? CBS_SIMPLE : CBS_DROPDOWN;
  // The window covers the framed field and the list below it.
  CRect janela(rc);
  janela.bottom = rc.bottom + kMolduraCampo + std::max(1, std::min(n, kEntradasVisiveis)) * kCharHeight;
  SetSecondTextMode(TRUE);
  if (!CComboBox::Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | tipo, janela, pai,
                         kIdLista))
    return FALSE;
  POSITION desc = descricoes ? descricoes->GetHeadPosition() : nullptr;
  if (valores)
    for (POSITION pos = valores->GetHeadPosition(); pos;) {
      const CString& valor = valores->GetNext(pos);
      CString descricao = desc ? descricoes->GetNext(desc) : CString();
      InsertString(0, valor, descricao);
    }
  SetCurSel(n - indice - 1);
  SetFocus();
  SetEditSel(0, -1);
  return TRUE;
}

int CIEditComboPropriedade::OnCreate(LPCREATESTRUCT cs) {
  if (CAutoCombo::OnCreate(cs) == -1) return -1;
  TomaFonteDoPai(this);
  return 0;
}

BOOL CIEditComboPropriedade::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN) {
    switch (msg->wParam) {
      case VK_RETURN:
      case VK_ESCAPE:
      case VK_TAB:
      case VK_UP:
      case VK_DOWN: Tecla(static_cast<UINT>(msg->wParam)); return TRUE;
    }
  }
  // Delete and keys with Ctrl go to the combo as in the other editors.
  return EncaminhaTecla(this, msg) || CAutoCombo::PreTranslateMessage(msg);
}

void CIEditComboPropriedade::Tecla(UINT vk) {
  CIListViewEdit* grid = GridOf(GetParent());
  int linha = m_linha, coluna = m_coluna;
  switch (vk) {
    case VK_RETURN:
    case VK_TAB:
      if (grid) EditaLinha(grid, GetKeyState(VK_SHIFT) < 0 ? linha - 1 : linha + 1, coluna);
      return;
    case VK_ESCAPE:
      if (CWnd* pai = GetParent()) pai->SetFocus();
      return;
    default:
      // Up and Down move in the list, as the combo box does by itself.
      ::SendMessageW(m_hWnd, WM_KEYDOWN, vk, 0);
      return;
  }
}

void CIEditComboPropriedade::OnEditChange() {
  // Typing leaves no entry chosen, as the platform's combo box does with its
  // list closed; the toolkit's keeps the last choice.
  if (GetCurSel() >= 0) SetCurSel(-1);
}

void CIEditComboPropriedade::OnKillFocusCombo() {
  CString texto;
  GetWindowText(texto);
  int i = GetCurSel();
  if (i < 0) {
    i = 0;
    for (int k = 0; k < GetCount(); ++k) {
      CString entrada;
      GetLBText(k, entrada);
      if (entrada == texto) {  // case-sensitive, unlike FindStringExact
        i = k;
        break;
      }
    }
  }
  int n = GetCount();
  CIListViewEdit* grid = GridOf(GetParent());
  // The edited row where it is now (the owner may have changed the rows
  // while the editor was open); a row deleted meanwhile, or without cell
  // data, has no list to update.
  const int linha = grid ? grid->LinhaAtual(m_linha) : -1;
  CStringList* valores = linha >= 0 ? grid->GetCellValues(linha, m_coluna) : nullptr;
  if (valores) {
    if (!m_listaFixa) {
      int p = PosicaoEm(*valores, texto);
      if (p >= 0) {
        SetWindowText(texto);
        grid->SetItemText(linha, m_coluna, texto);
        i = valores->GetCount() - 1 - p;
      } else {
        valores->AddTail(texto);
      }
    } else if (valores->IsEmpty()) {
      valores->AddTail(texto);
    } else if (texto != valores->GetHead() && texto != valores->GetTail()) {
      CString primeiro = valores->GetHead();
      valores->RemoveAll();
      valores->AddTail(primeiro);
      valores->AddTail(texto);
    }
    n = valores->GetCount();
  }
  EnviaIndice(this, WM_COMBO_ENDEDIT, m_linha, m_coluna, n - i - 1);
  DestroyWindow();
}

void CIEditComboPropriedade::PostNcDestroy() { delete this; }

}  // namespace ListView
