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

namespace ListView {

class CIBtFindFile;

class CIFindFilePropriedade : public CEdit {
 public:
  CIFindFilePropriedade(int linha, int coluna, int tamanhoMax, LPCTSTR pasta);

  // Creates the field and its button over `rc` (parent coordinates).
  BOOL Create(CWnd* pai, const CRect& rc, LPCTSTR texto);
  CIBtFindFile* GetButton() const { return m_botao; }

  BOOL PreTranslateMessage(MSG* msg) override;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg void OnChar(UINT ch, UINT repeat, UINT flags);
  afx_msg void OnKeyDown(UINT vk, UINT repeat, UINT flags);
  afx_msg void OnKillFocus(CWnd* novo);
  afx_msg void OnNcDestroy();
  void PostNcDestroy() override;
  DECLARE_MESSAGE_MAP()

 private:
  CIBtFindFile* m_botao = nullptr;
  int m_linha;
  int m_coluna;
  int m_tamanhoMax;
  CString m_pasta;
};

}  // namespace ListView
