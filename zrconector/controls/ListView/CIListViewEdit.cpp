#include "controls/ListView/CIListViewEdit.h"

#include <algorithm>
#include <memory>

#include "controls/ListView/CIColorPropriedade.h"
#include "controls/ListView/CIComboPropriedade.h"
#include "controls/ListView/CIEditComboPropriedade.h"
#include "controls/ListView/CIEditPropriedade.h"
#include "controls/ListView/CIFindFilePropriedade.h"

namespace ListView {

BEGIN_MESSAGE_MAP(CIListViewEdit, CListCtrl)
  ON_WM_LBUTTONDOWN()
  ON_WM_KEYDOWN()
  ON_MESSAGE(WM_GETDLGCODE, &CIListViewEdit::OnGetDlgCode)
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
  ON_WM_DESTROY()
  ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, &CIListViewEdit::OnCustomDraw)
  ON_NOTIFY_REFLECT(LVN_HOTTRACK, &CIListViewEdit::OnHotTrack)
  ON_NOTIFY_REFLECT(LVN_BEGINLABELEDIT, &CIListViewEdit::OnBeginLabelEdit)
  ON_NOTIFY_REFLECT_EX(LVN_DELETEITEM, &CIListViewEdit::OnDeleteItem)
  ON_NOTIFY_REFLECT_EX(LVN_DELETEALLITEMS, &CIListViewEdit::OnDeleteAllItems)
  ON_NOTIFY_REFLECT_EX(LVN_INSERTITEM, &CIListViewEdit::OnInsertItem)
  ON_REGISTERED_MESSAGE(WM_EDIT_ENDEDIT, &CIListViewEdit::OnEditEnd)
  ON_REGISTERED_MESSAGE(WM_COMBO_ENDEDIT, &CIListViewEdit::OnComboEnd)
  ON_REGISTERED_MESSAGE(WM_COMBO_SELCHANGE, &CIListViewEdit::OnComboSelChange)
  ON_REGISTERED_MESSAGE(WM_COLOR_ENDEDIT, &CIListViewEdit::OnColorEnd)
  ON_REGISTERED_MESSAGE(WM_FINDFILE_ENDEDIT, &CIListViewEdit::OnFindFileEnd)
END_MESSAGE_MAP()

CIListViewEdit::CIListViewEdit() = default;

CIListViewEdit::~CIListViewEdit() {
  // The window (if still there) goes first, so that its rows are freed.
  if (m_hWnd) DestroyWindow();
}

// ---- columns and rows ----

int CIListViewEdit::AddColumn(LPCTSTR titulo, int largura, BOOL textoPlano) {
  SetExtendedStyle(GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP | LVS_EX_DOUBLEBUFFER);
  ModifyStyle(0, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS);
  int coluna = static_cast<int>(m_titulos.size());
  int at = InsertColumn(coluna, titulo, 8, largura);
  if (at < 0) return at;
  m_titulos.emplace_back(titulo);
  if (textoPlano) m_colunasTexto.push_back(coluna);
  return at;
}

int CIListViewEdit::InsertRow(int linha, LPCTSTR texto) {
  int at = InsertItem(linha, texto);
  if (at < 0) return at;
  SetItemData(at, reinterpret_cast<DWORD_PTR>(new CELstPropriedadeSubItem(static_cast<int>(m_titulos.size()))));
  return at;
}

int CIListViewEdit::AddRow(LPCTSTR chave, const CStringList* valores, int tamanhoMax, int tipo, int filtro,
                           BOOL editavel, int indice) {
  CString primeiro = (valores && !valores->IsEmpty()) ? valores->GetHead() : CString();
  int linha = InsertRow(GetItemCount(), primeiro);
  if (linha >= 0) SetCell(linha, 0, chave, valores, tamanhoMax, tipo, filtro, editavel, indice);
  return linha;
}

int CIListViewEdit::AddRow(LPCTSTR chave, LPCTSTR valor, int tamanhoMax, int tipo, int filtro, BOOL editavel,
                           int indice) {
  CStringList valores;
  valores.AddTail(CString(valor));
  return AddRow(chave, &valores, tamanhoMax, tipo, filtro, editavel, indice);
}

void CIListViewEdit::SetCell(int linha, int coluna, LPCTSTR chave, const CStringList* valores, int tamanhoMax,
                             int tipo, int filtro, BOOL editavel, int indice) {
  if (linha < 0 || linha >= GetItemCount()) return;
  CIListViewPropriedadeItem* c = Cell(linha, coluna);
  if (!c) return;
  c->m_chave = chave ? chave : u"";
  c->CopyValues(valores);
  c->m_indice = indice;
  c->m_tipo = tipo;
  c->m_filtro = filtro;
  c->m_tamanhoMax = tamanhoMax;
  c->m_editavel = editavel != FALSE;
  SetItemText(linha, coluna, c->Value(indice));
  if (tipo == kArquivo) {
    // The folder part of the first value, backslash included.
    CString primeiro = c->Value(0);
    m_pastaAtual = m_pastaBase + (primeiro.IsEmpty() ? CString() : primeiro.Left(primeiro.ReverseFind(u'\\') + 1));
  }
}

void CIListViewEdit::SetCell(int linha, int coluna, LPCTSTR chave, LPCTSTR valor, int tamanhoMax, int tipo,
                             int filtro, BOOL editavel, int indice) {
  CStringList valores;
  valores.AddTail(CString(valor));
  SetCell(linha, coluna, chave, &valores, tamanhoMax, tipo, filtro, editavel, indice);
}

void CIListViewEdit::SetCellText(int linha, int coluna, LPCTSTR texto) {
  CIListViewPropriedadeItem* c = Cell(linha, coluna);
  if (!c) return;
  c->m_valores.RemoveAll();
  c->m_valores.AddTail(CString(texto));
  c->m_indice = 0;
  SetItemText(linha, coluna, texto);
}

int CIListViewEdit::SetCellIndex(int linha, int coluna, int indice) {
  CIListViewPropriedadeItem* c = Cell(linha, coluna);
  if (!c) return indice;
  c->m_indice = indice;
  SetItemText(linha, coluna, c->Value(indice));
  return indice;
}

void CIListViewEdit::AppendCellValues(int linha, int coluna, const CStringList* valores) {
  if (CIListViewPropriedadeItem* c = Cell(linha, coluna)) c->AppendValues(valores);
}

void CIListViewEdit::ClearCellValues(int linha, int coluna) {
  if (CIListViewPropriedadeItem* c = Cell(linha, coluna)) c->m_valores.RemoveAll();
}

void CIListViewEdit::SetCellDescriptions(int linha, int coluna, const CStringList* descricoes) {
  if (CIListViewPropriedadeItem* c = Cell(linha, coluna)) c->CopyDescriptions(descricoes);
}

int CIListViewEdit::GetCellKind(int linha, int coluna) const {
  const CIListViewPropriedadeItem* c = Cell(linha, coluna);
  return c ? c->m_tipo : -1;
}

BOOL CIListViewEdit::IsCellEditable(int linha, int coluna) const {
  const CIListViewPropriedadeItem* c = Cell(linha, coluna);
  return c && c->m_editavel;
}

CStringList* CIListViewEdit::GetCellValues(int linha, int coluna) const {
  CIListViewPropriedadeItem* c = Cell(linha, coluna);
  return c ? &c->m_valores : nullptr;
}

int CIListViewEdit::GetCellIndex(int linha, int coluna) const {
  const CIListViewPropriedadeItem* c = Cell(linha, coluna);
  return c ? c->m_indice : -1;
}

int CIListViewEdit::GetCellFilter(int linha, int coluna) const {
  const CIListViewPropriedadeItem* c = Cell(linha, coluna);
  return c ? c->m_filtro : -1;
}

int CIListViewEdit::GetCellMaxLength(int linha, int coluna) const {
  const CIListViewPropriedadeItem* c = Cell(linha, coluna);
  return c ? c->m_tamanhoMax : -1;
}

CString CIListViewEdit::GetCellValue(int linha, int coluna, int n) const {
  const CIListViewPropriedadeItem* c = Cell(linha, coluna);
  return c ? c->Value(n) : CString();
}

CString CIListViewEdit::GetCellKey(int linha, int coluna) const {
  const CIListViewPropriedadeItem* c = Cell(linha, coluna);
  return c ? c->m_chave : CString();
}

CELstPropriedadeSubItem* CIListViewEdit::RowRecords(int linha) const {
  if (!m_hWnd || linha < 0 || linha >= GetItemCount()) return nullptr;
  return reinterpret_cast<CELstPropriedadeSubItem*>(GetItemData(linha));
}

CIListViewPropriedadeItem* CIListViewEdit::Cell(int linha, int coluna) const {
  CELstPropriedadeSubItem* l = RowRecords(linha);
  return l ? l->GetAt(coluna) : nullptr;
}

// ---- editing ----

BOOL CIListViewEdit::BeginEdit(int linha, int coluna) { return OpenEditor(linha, coluna, nullptr); }

BOOL CIListViewEdit::BeginEdit(int linha, int coluna, LPCTSTR texto) {
  CString t(texto);
  return OpenEditor(linha, coluna, &t);
}

BOOL CIListViewEdit::OpenEditor(int linha, int coluna, const CString* texto) {
  // Focusing the grid ends an open editor, which reports before the next opens.
  SetFocus();
  if (linha < 0 || linha >= GetItemCount()) return FALSE;
  CIListViewPropriedadeItem* c = Cell(linha, coluna);
  if (!c || !c->m_editavel) return FALSE;
  m_ultimaLinhaEdicao = linha;
  NotifyParent(WM_LIST_PROPRIEDADE_BEGINEDIT);
  // The parent may have changed the list while it was told.
  if (!m_hWnd || Cell(linha, coluna) != c) return FALSE;
  m_editando = true;
  m_linhaEdicao = m_linhaInicioEdicao = linha;
  EnsureVisible(linha, FALSE);
  ShowColumn(coluna);
  CRect rc;
  GetSubItemRect(linha, coluna, LVIR_LABEL, rc);
  CString mostrado = texto ? *texto : GetItemText(linha, coluna);
  switch (c->m_tipo) {
    case kLista: {
      auto* e = new CIComboPropriedade(linha, coluna);
      if (!e->Create(this, rc, &c->m_valores, c->m_indice)) delete e;
      break;
    }
    case kTexto: {
      auto* e = new CIEditPropriedade(linha, coluna, c->m_filtro, c->m_tamanhoMax);
      if (!e->Create(this, rc, mostrado)) delete e;
      break;
    }
    case kArquivo: {
      auto* e = new CIFindFilePropriedade(linha, coluna, c->m_tamanhoMax, m_pastaAtual);
      if (!e->Create(this, rc, mostrado)) delete e;
      break;
    }
    case kListaEditavel: {
      auto* e = new CIEditComboPropriedade(linha, coluna, m_bListaFixa);
      if (!e->Create(this, rc, &c->m_valores, &c->m_descricoes, c->m_indice)) delete e;
      break;
    }
    case kCor:
      if (!texto) {
        auto* e = new CIColorPropriedade(linha, coluna);
        if (!e->Create(this, rc, mostrado)) delete e;
      }
      break;
    default: break;  // kSemEditor
  }
  return TRUE;
}

void CIListViewEdit::ShowColumn(int coluna) {
  CHeaderCtrl* header = GetHeaderCtrl();
  CRect col;
  if (!header || !header->GetItemRect(coluna, &col)) return;
  int p = ::GetScrollPos(m_hWnd, SB_HORZ);
  CRect client;
  GetClientRect(&client);
  int left = col.left - p, right = col.right - p;
  if (col.Width() <= client.Width() && left >= 0) {
    if (right > client.right) Scroll(CSize(right - client.right, 0));
  } else if (left != 0) {
    Scroll(CSize(left, 0));
  }
}

bool CIListViewEdit::CellAt(CPoint p, int& linha, int& coluna) const {
  linha = HitTest(p);
  if (linha < 0) return false;
  // The first column whose label strictly contains x.
  for (int c = 0; c < static_cast<int>(m_titulos.size()); ++c) {
    CRect r;
    if (GetSubItemRect(linha, c, LVIR_LABEL, r) && r.left < p.x && p.x < r.right) {
      coluna = c;
      return true;
    }
  }
  return false;
}

void CIListViewEdit::OnLButtonDown(UINT flags, CPoint p) {
  m_multiLinhasAtivo = false;
  int linha = -1, coluna = -1;
  if (GetStyle() & LVS_SINGLESEL) {
    HWND self = m_hWnd;
    CListCtrl::OnLButtonDown(flags, p);
    if (!::IsWindow(self)) return;
    if (CellAt(p, linha, coluna)) BeginEdit(linha, coluna);
    return;
  }
  if (CellAt(p, linha, coluna) && !BeginEdit(linha, coluna)) {
    CListCtrl::OnLButtonDown(flags, p);
    return;
  }
  // The rows selected now take the value typed into one of them.
  m_multiLinhas.clear();
  for (int i = GetNextItem(-1, LVNI_SELECTED); i >= 0; i = GetNextItem(i, LVNI_SELECTED)) m_multiLinhas.push_back(i);
  m_multiLinhasAtivo = true;
}

bool CIListViewEdit::KeyboardCell(int& linha, int& coluna) const {
  linha = GetNextItem(-1, LVNI_SELECTED);
  if (linha < 0) return false;
  const int colunas = static_cast<int>(m_titulos.size());
  for (int c = 1; c < colunas; ++c)
    if (IsCellEditable(linha, c)) {
      coluna = c;
      return true;
    }
  coluna = 0;
  return colunas > 0 && IsCellEditable(linha, 0);
}

LRESULT CIListViewEdit::OnGetDlgCode(WPARAM, LPARAM l) {
  LRESULT code = Default();
  const MSG* msg = reinterpret_cast<const MSG*>(l);
  int linha = -1, coluna = -1;
  if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN && KeyboardCell(linha, coluna))
    code |= DLGC_WANTALLKEYS;
  return code;
}

void CIListViewEdit::OnKeyDown(UINT vk, UINT repeat, UINT flags) {
  constexpr UINT kF2 = VK_F1 + 1;
  const bool alt = GetKeyState(VK_MENU) < 0;
  const bool abre = vk == kF2 || vk == VK_SPACE || vk == VK_RETURN;
  const bool solta = (vk == VK_F4 && !alt) || (alt && (vk == VK_DOWN || vk == VK_UP));
  int linha = -1, coluna = -1;
  // Tabbing into the grid leaves no row selected: the editing keys act on the
  // row with the keyboard focus, or the first, which they select first.
  if ((abre || solta) && GetNextItem(-1, LVNI_SELECTED) < 0 && GetItemCount() > 0) {
    const int focused = GetNextItem(-1, LVNI_FOCUSED);
    SetItemState(focused >= 0 ? focused : 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }
  if (!(abre || solta) || !KeyboardCell(linha, coluna)) {
    CListCtrl::OnKeyDown(vk, repeat, flags);
    return;
  }
  m_multiLinhasAtivo = false;
  HWND self = m_hWnd;
  if (!BeginEdit(linha, coluna) || !::IsWindow(self) || !solta) return;
  // The editor has the focus now (a drop-down's field, or the combo itself).
  HWND editor = ::GetFocus();
  if (editor && ::GetParent(editor) != self) editor = ::GetParent(editor);
  if (editor && ::GetParent(editor) == self && GetClassNameString(editor) == WC_COMBOBOXW &&
      !::SendMessageW(editor, CB_GETDROPPEDSTATE, 0, 0))
    ::SendMessageW(editor, CB_SHOWDROPDOWN, TRUE, 0);
}

void CIListViewEdit::OnHScroll(UINT code, UINT pos, CScrollBar* bar) {
  // An open editor closes and reports before its cell moves.
  SetFocus();
  CListCtrl::OnHScroll(code, pos, bar);
}

void CIListViewEdit::OnVScroll(UINT code, UINT pos, CScrollBar* bar) {
  SetFocus();
  CListCtrl::OnVScroll(code, pos, bar);
}

void CIListViewEdit::NotifyParent(UINT mensagem) {
  HWND pai = ::GetParent(m_hWnd);
  if (!pai) return;
  ::SendMessageW(pai, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID()), static_cast<WORD>(LOWORD(mensagem))),
                 reinterpret_cast<LPARAM>(m_hWnd));
}

int CIListViewEdit::CurrentRow(int linha) const {
  return (m_linhaInicioEdicao >= 0 && linha == m_linhaInicioEdicao) ? m_linhaEdicao : linha;
}

bool CIListViewEdit::InMultiRowSet(int linha) const {
  return std::find(m_multiLinhas.begin(), m_multiLinhas.end(), linha) != m_multiLinhas.end();
}

void CIListViewEdit::TakeResult(LPARAM l, bool conjunto, bool texto) {
  int linha, coluna;
  if (texto) {
    std::unique_ptr<TextResult> r(reinterpret_cast<TextResult*>(l));
    linha = CurrentRow(r->row);
    coluna = r->column;
    if (linha >= 0) {
      SetCellText(linha, coluna, r->text);
      // Rows removed meanwhile are no longer in the set.
      if (conjunto && InMultiRowSet(linha))
        for (int outra : m_multiLinhas)
          if (outra != linha && outra < GetItemCount()) SetCellText(outra, coluna, r->text);
    }
  } else {
    std::unique_ptr<IndexResult> r(reinterpret_cast<IndexResult*>(l));
    linha = CurrentRow(r->row);
    coluna = r->column;
    if (linha >= 0) {
      SetCellIndex(linha, coluna, r->index);
      if (conjunto && InMultiRowSet(linha))
        for (int outra : m_multiLinhas)
          if (outra != linha && outra < GetItemCount()) SetCellIndex(outra, coluna, r->index);
    }
  }
}

LRESULT CIListViewEdit::OnEditEnd(WPARAM, LPARAM l) {
  if (!l) return 0;
  TakeResult(l, true, true);
  m_editando = false;
  NotifyParent(WM_LIST_PROPRIEDADE_ENDEDIT);
  return 0;
}

LRESULT CIListViewEdit::OnColorEnd(WPARAM, LPARAM l) {
  if (!l) return 0;
  TakeResult(l, false, true);
  m_editando = false;
  NotifyParent(WM_LIST_PROPRIEDADE_ENDEDIT);
  return 0;
}

LRESULT CIListViewEdit::OnFindFileEnd(WPARAM w, LPARAM l) { return OnColorEnd(w, l); }

LRESULT CIListViewEdit::OnComboEnd(WPARAM, LPARAM l) {
  if (!l) return 0;
  TakeResult(l, true, false);
  Invalidate();
  m_editando = false;
  NotifyParent(WM_LIST_PROPRIEDADE_ENDEDIT);
  return 0;
}

LRESULT CIListViewEdit::OnComboSelChange(WPARAM, LPARAM l) {
  if (!l) return 0;
  TakeResult(l, true, false);
  NotifyParent(WM_LIST_PROPRIEDADE_SELCHANGE);
  return 0;
}

// ---- rows coming and going ----

BOOL CIListViewEdit::OnInsertItem(NMHDR* hdr, LRESULT*) {
  int at = reinterpret_cast<NMLISTVIEW*>(hdr)->iItem;
  for (int& l : m_multiLinhas)
    if (l >= at) ++l;
  if (m_linhaEdicao >= at) ++m_linhaEdicao;
  return FALSE;  // the parent hears of it too
}

BOOL CIListViewEdit::OnDeleteItem(NMHDR* hdr, LRESULT*) {
  auto* nm = reinterpret_cast<NMLISTVIEW*>(hdr);
  delete reinterpret_cast<CELstPropriedadeSubItem*>(nm->lParam);
  if (nm->iItem >= 0 && nm->iItem < GetItemCount()) SetItemData(nm->iItem, 0);
  int at = nm->iItem;
  m_multiLinhas.remove(at);
  for (int& l : m_multiLinhas)
    if (l > at) --l;
  if (m_linhaEdicao == at) m_linhaEdicao = -1;
  else if (m_linhaEdicao > at) --m_linhaEdicao;
  return FALSE;
}

BOOL CIListViewEdit::OnDeleteAllItems(NMHDR*, LRESULT*) {
  FreeRows();
  m_multiLinhas.clear();
  m_linhaEdicao = -1;
  return FALSE;
}

void CIListViewEdit::FreeRows() {
  for (int i = 0; i < GetItemCount(); ++i) {
    delete reinterpret_cast<CELstPropriedadeSubItem*>(GetItemData(i));
    SetItemData(i, 0);
  }
}

void CIListViewEdit::OnDestroy() {
  FreeRows();
  m_multiLinhas.clear();
  m_fonteSublinhada.DeleteObject();
  CListCtrl::OnDestroy();
}

// ---- look ----

CFont* CIListViewEdit::UnderlinedFont() {
  if (!m_fonteSublinhada.GetSafeHandle()) {
    HFONT base = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (!base) base = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONT lf;
    ::GetObjectW(base, sizeof(lf), &lf);
    lf.lfUnderline = 1;
    m_fonteSublinhada.CreateFontIndirect(&lf);
  }
  return &m_fonteSublinhada;
}

void CIListViewEdit::OnCustomDraw(NMHDR* hdr, LRESULT* result) {
  auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(hdr);
  *result = CDRF_DODEFAULT;
  switch (cd->nmcd.dwDrawStage) {
    case CDDS_PREPAINT: *result = CDRF_NOTIFYITEMDRAW; return;
    case CDDS_ITEMPREPAINT: *result = CDRF_NOTIFYSUBITEMDRAW; return;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: break;
    default: return;
  }
  int linha = static_cast<int>(cd->nmcd.dwItemSpec), coluna = cd->iSubItem;
  CELstPropriedadeSubItem* l = RowRecords(linha);
  if (!l || coluna < 0 || coluna >= l->GetSize()) return;
  const CIListViewPropriedadeItem* c = l->GetAt(coluna);
  const bool selecionada = (cd->nmcd.uItemState & CDIS_SELECTED) != 0;
  if (c->m_editavel && c->m_tipo == kCor) {
    COLORREF cor = CIColorPropriedade::TextColour(GetItemText(linha, coluna));
    cd->clrTextBk = cor;
    cd->clrText = CIColorPropriedade::Complement(cor);
  } else if (selecionada) {
    // The selected row keeps the selection's own text colour: a link's
    // blue or a dimmed grey would not read on the selection's blue.
  } else if (c->m_editavel) {
    // Editable cells look like links; the one under the mouse is underlined.
    cd->clrText = GetSysColor(COLOR_HOTLIGHT);
    POINT p;
    ::GetCursorPos(&p);
    ScreenToClient(&p);
    int sob = -1, colSob = -1;
    if (CellAt(p, sob, colSob) && sob == linha && colSob == coluna) {
      ::SelectObject(cd->nmcd.hdc, UnderlinedFont()->GetSafeHandle());
      *result = CDRF_NEWFONT;
    }
  } else if (coluna != 0 && !m_bSemEsmaecer) {
    bool plano = std::find(m_colunasTexto.begin(), m_colunasTexto.end(), coluna) != m_colunasTexto.end();
    cd->clrText = GetSysColor(plano ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
  }
}

void CIListViewEdit::OnHotTrack(NMHDR* hdr, LRESULT* result) {
  auto* nm = reinterpret_cast<NMLISTVIEW*>(hdr);
  CPoint p(nm->ptAction);
  int linha = -1, coluna = -1;
  bool editavel = CellAt(p, linha, coluna) && IsCellEditable(linha, coluna);
  // Nothing here resets the cursor on each move, so the arrow comes back
  // explicitly off editable cells.
  ::SetCursor(::LoadCursorW(nullptr, editavel ? IDC_HAND : IDC_ARROW));
  // The row under an open editor is not repainted over the editor.
  int n = GetItemCount();
  bool aberto = m_editando && m_linhaEdicao >= 0;
  if (!aberto) {
    RedrawItems(0, n - 1);
  } else {
    if (m_linhaEdicao > 0) RedrawItems(0, m_linhaEdicao - 1);
    if (m_linhaEdicao + 1 < n) RedrawItems(m_linhaEdicao + 1, n - 1);
  }
  *result = 0;
}

void CIListViewEdit::OnBeginLabelEdit(NMHDR*, LRESULT* result) { *result = TRUE; }

}  // namespace ListView
