// CIBtColor: the "..." button of the colour editor (CIColorPropriedade). A
// click reads the editor's text as an integer clamped to 0..256 and opens the
// colour dialog of the active document's function interface there; when the
// user confirms (RTNORM) the editor shows the chosen index ("%d"). The focus
// returns to the editor in any case. Without an active document nothing opens.
#pragma once

#include <zrui/afx.h>

namespace ListView {

class CIColorPropriedade;

class CIBtColor : public CBitmapButton {
 public:
  // `editor` must outlive the button (it owns it).
  explicit CIBtColor(CIColorPropriedade* editor);

  BOOL Create(CWnd* pai, const CRect& rc);

 protected:
  afx_msg void OnClicked();
  DECLARE_MESSAGE_MAP()

 private:
  CIColorPropriedade* m_editor;
};

}  // namespace ListView
