// CIEditPropriedade: the text editor of a grid cell (kind 1). Created with
// new by the grid; it deletes itself when its window goes.
//
// Characters: backspace always; any other only while the text is shorter
// than the maximum length, and with filter 0 only digits, ".", "-", "," and
// Enter. Tab moves to the next row (Shift: previous); Enter does the same,
// or, while the grid edits several rows, reopens this cell with the typed
// text so that the captured rows take it. Escape focuses the grid. On focus
// loss the text (cut to the maximum length) goes to the parent with
// WM_EDIT_ENDEDIT and the editor closes. Under a parent that is not the grid
// Tab and Enter do nothing.
#pragma once

#include <zrui/afx.h>

#include "controls/ListView/CellEditor.h"

namespace ListView {

class CIEditPropriedade : public CellEditor<CEdit> {
 public:
  CIEditPropriedade(int linha, int coluna, int filtro, int tamanhoMax);

  // Creates the editor over `rc` (parent coordinates) showing `texto`,
  // focused with all of it selected.
  BOOL Create(CWnd* pai, const CRect& rc, LPCTSTR texto);

 protected:
  afx_msg void OnChar(UINT ch, UINT repeat, UINT flags);
  bool OnEnter(CIListViewEdit* grid) override;
  void SendResult() override;
  DECLARE_MESSAGE_MAP()

 private:
  int m_filtro;
  int m_tamanhoMax;
};

}  // namespace ListView
