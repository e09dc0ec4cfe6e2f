#include "controls/ListView/CIBtFindFile.h"

#include "controls/ListView/CIFindFilePropriedade.h"
#include "controls/ListView/EditorSupport.h"

namespace ListView {

BEGIN_MESSAGE_MAP(CIBtFindFile, CBitmapButton)
  ON_CONTROL_REFLECT(BN_CLICKED, &CIBtFindFile::OnClicked)
END_MESSAGE_MAP()

CIBtFindFile::CIBtFindFile(CIFindFilePropriedade* editor, LPCTSTR pasta) : m_editor(editor), m_pasta(pasta) {}

BOOL CIBtFindFile::Create(CWnd* pai, const CRect& rc) {
  return CButton::Create(u"...", WS_CHILD | WS_VISIBLE, rc, pai, kButtonId);
}

void CIBtFindFile::OnClicked() {
  CFileDialog dlg(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, u"Drawings|*.dwg", GetParent());
  dlg.m_ofn.lpstrInitialDir = m_pasta;
  // The editor (and this button with it) may end while the dialog runs: it
  // is found again by its window afterwards, and neither is touched when it
  // has gone.
  const HWND janela = m_editor->m_hWnd;
  const int resultado = static_cast<int>(dlg.DoModal());
  auto* editor = dynamic_cast<CIFindFilePropriedade*>(CWnd::FromHandlePermanent(janela));
  if (!editor || !::IsWindow(janela)) return;
  if (resultado == IDOK) {
    editor->SetWindowText(dlg.GetFileTitle());
    editor->SetSel(0, -1);
  }
  editor->SetFocus();
}

}  // namespace ListView
