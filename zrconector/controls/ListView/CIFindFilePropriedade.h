// CIFindFilePropriedade: the drawing-file editor of a grid cell (kind 3): a
// text field 20 pixels narrower than the cell and a "..." button
// (CIBtFindFile) in those 20 pixels. Created with new by the grid; deletes
// its button and itself when its window goes.
//
// Characters: only the maximum length applies (backspace always passes).
// Tab moves to the next row (Shift: previous), Enter always to the next;
// Escape focuses the grid. Focus going to its own button keeps it open; any
// other focus loss sends the text with WM_FINDFILE_ENDEDIT and closes it.
#pragma once

#include <zrui/afx.h>

#include "controls/ListView/CellEditor.h"

namespace ListView {

class CIFindFilePropriedade : public CellEditor<CEdit> {
 public:
  CIFindFilePropriedade(int linha, int coluna, int tamanhoMax, LPCTSTR pasta);

  // Creates the field and its button over `rc` (parent coordinates).
  BOOL Create(CWnd* pai, const CRect& rc, LPCTSTR texto);

 protected:
  afx_msg void OnChar(UINT ch, UINT repeat, UINT flags);
  void SendResult() override;
  DECLARE_MESSAGE_MAP()

 private:
  int m_tamanhoMax;
  CString m_pasta;
};

}  // namespace ListView
