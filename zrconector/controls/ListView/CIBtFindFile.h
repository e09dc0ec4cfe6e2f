// CIBtFindFile: the "..." button of the file editor (CIFindFilePropriedade).
// A click asks for a drawing (filter "Drawings|*.dwg", initial folder the
// one given at creation); on OK the editor shows the file's name without
// folder and extension, all of it selected. The focus returns to the editor
// in any case, so the editor stays open.
#pragma once

#include <zrui/afx.h>

namespace ListView {

class CIFindFilePropriedade;

class CIBtFindFile : public CBitmapButton {
 public:
  // `editor` must outlive the button (it owns it).
  CIBtFindFile(CIFindFilePropriedade* editor, LPCTSTR pasta);

  // A child of `pai` over `rc`, caption "...".
  BOOL Create(CWnd* pai, const CRect& rc);

 protected:
  afx_msg void OnClicked();
  DECLARE_MESSAGE_MAP()

 private:
  CIFindFilePropriedade* m_editor;
  CString m_pasta;
};

}  // namespace ListView
