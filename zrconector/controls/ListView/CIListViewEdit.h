// CIListViewEdit: a report list whose cells carry property records
// (CIListViewPropriedadeItem). A click on an editable cell opens the in-place
// editor of the cell's kind over the cell; the editor reports its result with
// a registered message (EditMessages.h), the grid stores it (and copies it to
// the rows captured for multi-row editing) and tells its parent with
// WM_COMMAND: low word the grid's id, high word the low 16 bits of
// WM_LIST_PROPRIEDADE_BEGINEDIT, _ENDEDIT or _SELCHANGE, lParam the grid.
//
// REQUIRES: ListView::RegisterMessages() ran (the module does it on load).
// The parent must be an object of the C++ layer, so that custom draw and the
// list's notifications are reflected back here.
//
// Where ours differs from a plain list: each row's item data is its
// CELstPropriedadeSubItem, created by InsertRow and freed with the row.
//
// Keys, for what a click does: with a row selected, F2, Space and Enter open
// its value editor, F4 and Alt+Down (or Alt+Up) open it with its list
// dropped; Up, Down, Home, End, Page Up and Page Down move between rows. The
// grid asks the dialog for Enter only while it can open an editor with it
// (WM_GETDLGCODE), so Enter elsewhere and Escape stay the dialog's. Inside an
// editor the editors' own keys apply (Tab, Enter, Escape: ListView editors).
#pragma once

#include <list>
#include <vector>

#include <zrui/afx.h>

#include "controls/ListView/CELstPropriedadeSubItem.h"
#include "controls/ListView/EditMessages.h"

namespace ListView {

class CIListViewEdit : public CListCtrl {
 public:
  CIListViewEdit();
  ~CIListViewEdit() override;

  // Appends a column: full-row select, info tips, double buffering, report,
  // single selection, selection always shown; format 8. A plain-text column
  // shows its read-only cells in button-text colour instead of grey.
  int AddColumn(LPCTSTR titulo, int largura, BOOL textoPlano = FALSE);

  // Inserts a row with one empty, read-only record per column. Returns the
  // row's index (-1 on failure).
  int InsertRow(int linha, LPCTSTR texto);
  // Appends a row and fills its column-0 cell; the shown text is the value at
  // `indice`. Returns the row's index.
  int AddRow(LPCTSTR chave, const CStringList* valores, int tamanhoMax, int tipo, int filtro, BOOL editavel,
             int indice);
  int AddRow(LPCTSTR chave, LPCTSTR valor, int tamanhoMax, int tipo, int filtro, BOOL editavel, int indice = 0);
  // Fills one cell of an existing row; a row beyond the list is ignored. A
  // file cell (kind 3) sets the current folder: the base folder followed by
  // the first value up to its last backslash.
  void SetCell(int linha, int coluna, LPCTSTR chave, const CStringList* valores, int tamanhoMax, int tipo,
               int filtro, BOOL editavel, int indice);
  void SetCell(int linha, int coluna, LPCTSTR chave, LPCTSTR valor, int tamanhoMax, int tipo, int filtro,
               BOOL editavel, int indice = 0);
  // The values become the one text, index 0, and the cell shows it.
  void SetCellText(int linha, int coluna, LPCTSTR texto);
  // The cell shows value `indice` (empty when out of range), which becomes
  // its selected index. Returns the index.
  int SetCellIndex(int linha, int coluna, int indice);
  void AppendCellValues(int linha, int coluna, const CStringList* valores);
  void ClearCellValues(int linha, int coluna);
  void SetCellDescriptions(int linha, int coluna, const CStringList* descricoes);

  // Getters; for a row without cell records: kind -1, not editable, no list
  // (null), index, filter and length -1, empty texts. A column outside the
  // row raises CInvalidArgException* (thrown as a pointer), as do the setters.
  int GetCellKind(int linha, int coluna) const;
  BOOL IsCellEditable(int linha, int coluna) const;
  // The cell's own list (owned by the cell), or null.
  CStringList* GetCellValues(int linha, int coluna) const;
  int GetCellIndex(int linha, int coluna) const;
  int GetCellFilter(int linha, int coluna) const;
  int GetCellMaxLength(int linha, int coluna) const;
  CString GetCellValue(int linha, int coluna, int n) const;
  CString GetCellKey(int linha, int coluna) const;

  // Opens the editor of the cell (focusing the grid first, which ends an
  // open editor). FALSE for a row outside the list or a read-only cell;
  // TRUE otherwise, even when no editor opens (kind 2, a list without
  // values): the grid is then editing until the next end message.
  BOOL BeginEdit(int linha, int coluna);
  // The same showing `texto` instead of the cell's text (no colour editor).
  BOOL BeginEdit(int linha, int coluna, LPCTSTR texto);

  bool IsEditing() const { return m_editando; }
  int GetEditRow() const { return m_linhaEdicao; }
  int GetLastEditRow() const { return m_ultimaLinhaEdicao; }
  // Rows captured by the last click for multi-row editing, and whether it is on.
  bool IsMultiRowEditing() const { return m_multiLinhasAtivo; }
  const std::list<int>& GetMultiRows() const { return m_multiLinhas; }
  CString GetCurrentFolder() const { return m_pastaAtual; }

  // Set by the owner (the grid offers no setter):
  // the editable-list editor keeps the first value and one typed value;
  BOOL m_bListaFixa = FALSE;
  // read-only cells are not dimmed;
  BOOL m_bSemEsmaecer = FALSE;
  // file cells look for drawings below this folder.
  CString m_pastaBase;

  // The row an open editor was given (its row at BeginEdit), now that rows
  // may have been inserted or deleted meanwhile: -1 when it was deleted.
  // Editors that reach into their cell go through it.
  int CurrentRow(int linha) const;

 protected:
  afx_msg void OnLButtonDown(UINT flags, CPoint p);
  afx_msg void OnKeyDown(UINT vk, UINT repeat, UINT flags);
  afx_msg LRESULT OnGetDlgCode(WPARAM w, LPARAM l);
  afx_msg void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
  afx_msg void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
  afx_msg void OnDestroy();
  afx_msg void OnCustomDraw(NMHDR* hdr, LRESULT* result);
  afx_msg void OnHotTrack(NMHDR* hdr, LRESULT* result);
  afx_msg void OnBeginLabelEdit(NMHDR* hdr, LRESULT* result);
  afx_msg BOOL OnDeleteItem(NMHDR* hdr, LRESULT* result);
  afx_msg BOOL OnDeleteAllItems(NMHDR* hdr, LRESULT* result);
  afx_msg BOOL OnInsertItem(NMHDR* hdr, LRESULT* result);
  afx_msg LRESULT OnEditEnd(WPARAM w, LPARAM l);
  afx_msg LRESULT OnComboEnd(WPARAM w, LPARAM l);
  afx_msg LRESULT OnComboSelChange(WPARAM w, LPARAM l);
  afx_msg LRESULT OnColorEnd(WPARAM w, LPARAM l);
  afx_msg LRESULT OnFindFileEnd(WPARAM w, LPARAM l);
  DECLARE_MESSAGE_MAP()

 private:
  CELstPropriedadeSubItem* RowRecords(int linha) const;
  // The cell's record; null without row data; throws for a bad column.
  CIListViewPropriedadeItem* Cell(int linha, int coluna) const;
  BOOL OpenEditor(int linha, int coluna, const CString* texto);
  // The selected row and the column of its value editor (the first editable
  // column after the label, else the label's own); false when there is no
  // selected row or nothing in it can be edited.
  bool KeyboardCell(int& linha, int& coluna) const;
  void ShowColumn(int coluna);
  bool CellAt(CPoint p, int& linha, int& coluna) const;
  void NotifyParent(UINT mensagem);
  CFont* UnderlinedFont();
  void FreeRows();
  bool InMultiRowSet(int linha) const;
  void TakeResult(LPARAM l, bool copiaConjunto, bool texto);

  std::vector<CString> m_titulos;   // headings; the column count
  std::vector<int> m_colunasTexto;  // plain-text columns
  CFont m_fonteSublinhada;          // made from the list's font on first use
  bool m_editando = false;
  int m_linhaEdicao = -1;
  int m_ultimaLinhaEdicao = -1;
  // The edited row as BeginEdit saw it, and where it is now after rows were
  // inserted or deleted meanwhile (-1: deleted).
  int m_linhaInicioEdicao = -1;
  CString m_pastaAtual;
  std::list<int> m_multiLinhas;
  bool m_multiLinhasAtivo = false;
};

}  // namespace ListView
