// CIEditComboPropriedade: the editable-list editor of a grid cell (kind 4):
// an owner-drawn combo box (CAutoCombo) whose entries show each value with
// its description, and whose text may be typed. The values are listed in
// reverse order (each is inserted at the top). Created with new by the grid;
// deletes itself when its window goes.
//
// On leaving (CBN_KILLFOCUS) it works out the chosen or typed value, updates
// the cell's values in the grid, and sends WM_COMBO_ENDEDIT with that value's
// index among the cell's values:
// - the grid's list flag clear: a text already among the values is chosen;
//   another text is appended to the values;
// - the flag set: the values keep their first entry and the typed text (an
//   empty list takes the text; the first or the last value changes nothing).
// Enter and Tab move to the next row (Shift: previous), Escape focuses the
// grid, Up and Down move in the list. With the list dropped, Escape closes
// it first, back on the text before it dropped, as in any combo box (Enter
// takes the entry moved to and moves on). An entry clicked in the dropped
// list ends the edit with that entry (the grid takes the focus, as after
// Escape); the keys that close the list keep the editor open.
#pragma once

#include <zrui/afx.h>
#include <zrui/afx/coll.h>

#include "controls/CAutoCombo.h"
#include "controls/ListView/CellEditor.h"

namespace ListView {

class CIEditComboPropriedade : public CellEditor<CAutoCombo> {
 public:
  CIEditComboPropriedade(int linha, int coluna, BOOL listaFixa);

  // Creates the editor over `rc` (parent coordinates): simple (list always
  // shown) with fewer than two values, drop-down otherwise; entry
  // count - indice - 1 (value `indice`) selected, its text all selected.
  BOOL Create(CWnd* pai, const CRect& rc, const CStringList* valores, const CStringList* descricoes, int indice);

  BOOL PreTranslateMessage(MSG* msg) override;

 protected:
  afx_msg void OnKillFocusCombo();
  afx_msg void OnEditChange();
  afx_msg void OnSelEndOk();
  afx_msg LRESULT OnEndAfterChoice(WPARAM, LPARAM);
  // Enter moves as Tab does.
  bool OnEnter(CIListViewEdit* grid) override;
  // The focus moves between the combo and its field: the editor ends when
  // it leaves both (CBN_KILLFOCUS), not on the combo's own focus loss.
  bool KeepsOpen(CWnd*) const override { return true; }
  // While the list is dropped.
  bool TakesEscape() const override { return GetDroppedState() != FALSE; }
  void SendResult() override;
  DECLARE_MESSAGE_MAP()

 private:
  // Posted to itself after an entry was clicked: ends the edit.
  static constexpr UINT kEndAfterChoice = WM_APP + 0x61;
  BOOL m_listaFixa;
};

}  // namespace ListView
