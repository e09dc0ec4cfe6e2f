// CIComboPropriedade: the list editor of a grid cell (kind 0): a drop-down
// list of the cell's values, open from the start. Created with new by the
// grid; deletes itself when its window goes.
//
// Choosing an entry sends WM_COMBO_SELCHANGE and keeps the editor open; on
// focus loss the current selection goes with WM_COMBO_ENDEDIT and the
// editor closes. Tab moves to the next row (Shift: previous); Enter does
// nothing beyond closing the list; Escape closes the dropped list first,
// back on the entry chosen before it dropped (sent as any choice), and
// with the list closed focuses the grid.
#pragma once

#include <zrui/afx.h>
#include <zrui/afx/coll.h>

#include "controls/ListView/CellEditor.h"

namespace ListView {

class CIComboPropriedade : public CellEditor<CComboBox> {
 public:
  CIComboPropriedade(int linha, int coluna);

  // Creates the list over `rc` (parent coordinates) with the values in
  // order, entry `indice` selected, focused and dropped. With no values it
  // creates nothing and returns FALSE (the caller deletes the object). The
  // window reaches below the cell far enough to show up to 8 entries.
  BOOL Create(CWnd* pai, const CRect& rc, const CStringList* valores, int indice);

 protected:
  afx_msg void OnSelChange();
  // Enter is the list's own (it closes the list).
  bool OnEnter(CIListViewEdit*) override { return false; }
  // While the list is dropped.
  bool TakesEscape() const override { return GetDroppedState() != FALSE; }
  void SendResult() override;
  DECLARE_MESSAGE_MAP()
};

}  // namespace ListView
