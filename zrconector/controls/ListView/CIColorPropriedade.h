// CIColorPropriedade: the colour editor of a grid cell (kind 5): a text field
// 20 pixels narrower than the cell, painted in the colour its text names,
// and a "..." button (CIBtColor) that opens the host's colour dialog.
// Created with new by the grid; deletes its button and itself when its
// window goes.
//
// Characters: at most 3, only digits, ".", "," and Enter (no backspace:
// the Delete key erases).
// Tab moves to the next row (Shift: previous), Enter always to the next;
// Escape focuses the grid. Focus going to its own button keeps it open; any
// other focus loss sends the text with WM_COLOR_ENDEDIT and closes it.
#pragma once

#include <zrui/afx.h>

#include "controls/ListView/CellEditor.h"

namespace ListView {

class CIColorPropriedade : public CellEditor<CEdit> {
 public:
  CIColorPropriedade(int linha, int coluna);
  ~CIColorPropriedade() override;

  BOOL Create(CWnd* pai, const CRect& rc, LPCTSTR texto);

  // The integer a text starts with (0 when none), as the colour is read.
  static int LeadingInteger(const CString& texto);
  // The colour a text names: below 256 an index of the drawing palette
  // (0 by block and 256 by layer are black), otherwise the packed value's
  // bytes, read through OdCmColor with colour method 0xC8.
  static COLORREF TextColour(const CString& texto);
  // Each of red, green and blue taken from 255.
  static COLORREF Complement(COLORREF cor);

 protected:
  afx_msg void OnChar(UINT ch, UINT repeat, UINT flags);
  afx_msg HBRUSH CtlColor(CDC* dc, UINT ctlColor);
  // The field's colour follows its text: it repaints after every key.
  bool RepaintsOnKey() const override { return true; }
  void SendResult() override;
  DECLARE_MESSAGE_MAP()

 private:
  CBrush m_pincel;
  COLORREF m_cor = 0;
};

}  // namespace ListView
