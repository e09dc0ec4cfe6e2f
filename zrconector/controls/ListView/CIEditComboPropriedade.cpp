#include "controls/ListView/CIEditComboPropriedade.h"

#include <algorithm>

#include "controls/ListView/CIListViewEdit.h"
#include "controls/ListView/EditorSupport.h"

namespace ListView {

namespace {

// Position of `texto` in the list, counted from the head; -1 when absent.
int PositionIn(const CStringList& lista, const CString& texto) {
  int i = 0;
  for (POSITION pos = lista.GetHeadPosition(); pos; ++i)
    if (lista.GetNext(pos) == texto) return i;
  return -1;
}
}  // namespace

BEGIN_MESSAGE_MAP(CIEditComboPropriedade, CellEditor<CAutoCombo>)
  ON_CBN_KILLFOCUS_REFLECT(&CIEditComboPropriedade::OnKillFocusCombo)
  ON_CONTROL_REFLECT(CBN_EDITCHANGE, &CIEditComboPropriedade::OnEditChange)
  ON_CONTROL_REFLECT(CBN_SELENDOK, &CIEditComboPropriedade::OnSelEndOk)
  ON_MESSAGE(kEndAfterChoice, &CIEditComboPropriedade::OnEndAfterChoice)
END_MESSAGE_MAP()

CIEditComboPropriedade::CIEditComboPropriedade(int linha, int coluna, BOOL listaFixa)
    : CellEditor(linha, coluna), m_listaFixa(listaFixa) {}

BOOL CIEditComboPropriedade::Create(CWnd* pai, const CRect& rc, const CStringList* valores,
                                    const CStringList* descricoes, int indice) {
  int n = valores ? valores->GetCount() : 0;
  DWORD tipo = n < 2 ? CBS_SIMPLE : CBS_DROPDOWN;
  // The window covers the framed field and the list below it.
  CRect janela(rc);
  janela.bottom = rc.bottom + kFieldFrame + std::max(1, std::min(n, kVisibleEntries)) * kCharHeight;
  SetSecondTextMode(TRUE);
  if (!CComboBox::Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | tipo, janela, pai,
                         kListId))
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

BOOL CIEditComboPropriedade::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN) {
    switch (msg->wParam) {
      case VK_RETURN:
      case VK_ESCAPE:
      case VK_TAB:
      case VK_UP:
      case VK_DOWN:
        // To the combo itself, whichever of its windows has the focus: Up
        // and Down move in the list, the others as in every editor.
        ::SendMessageW(m_hWnd, WM_KEYDOWN, msg->wParam, 0);
        return TRUE;
    }
  }
  // Delete and keys with Ctrl go to the combo as in the other editors.
  return CellEditor::PreTranslateMessage(msg);
}

bool CIEditComboPropriedade::OnEnter(CIListViewEdit* grid) {
  if (grid) EditRow(grid, GetKeyState(VK_SHIFT) < 0 ? m_linha - 1 : m_linha + 1, m_coluna);
  return true;
}

void CIEditComboPropriedade::OnEditChange() {
  // Typing leaves no entry chosen, as the platform's combo box does with its
  // list closed; the toolkit's keeps the last choice.
  if (GetCurSel() >= 0) SetCurSel(-1);
}

void CIEditComboPropriedade::OnSelEndOk() {
  // An entry clicked in the dropped list: the choice is made, and the edit
  // ends, so that the dialog hears of the new value at once
  // (the connectors screen enables its apply button only then, and a press
  // on a disabled button goes nowhere). Keys that close the list (F4,
  // Alt+Down) keep the editor open, as the combo box does. Posted: the combo
  // is still inside its own handling of the press.
  if (GetKeyState(VK_LBUTTON) < 0) PostMessage(kEndAfterChoice);
}

LRESULT CIEditComboPropriedade::OnEndAfterChoice(WPARAM, LPARAM) {
  // As Escape: the grid takes the focus and the editor ends on losing it.
  if (CWnd* pai = GetParent()) pai->SetFocus();
  return 0;
}

void CIEditComboPropriedade::OnKillFocusCombo() { End(); }

void CIEditComboPropriedade::SendResult() {
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
  const int linha = grid ? grid->CurrentRow(m_linha) : -1;
  CStringList* valores = linha >= 0 ? grid->GetCellValues(linha, m_coluna) : nullptr;
  if (valores) {
    if (!m_listaFixa) {
      int p = PositionIn(*valores, texto);
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
  SendIndex(this, WM_COMBO_ENDEDIT, m_linha, m_coluna, n - i - 1);
}

}  // namespace ListView
