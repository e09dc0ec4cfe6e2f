#include "controls/ListView/CIBtFindFile.h"

#include "controls/ListView/CIFindFilePropriedade.h"

namespace ListView {

namespace {
constexpr UINT kIdBotao = 1022;
}

BEGIN_MESSAGE_MAP(CIBtFindFile, CBitmapButton)
  ON_CONTROL_REFLECT(BN_CLICKED, &CIBtFindFile::OnClicked)
END_MESSAGE_MAP()

CIBtFindFile::CIBtFindFile(CIFindFilePropriedade* editor, LPCTSTR pasta) : m_editor(editor), m_pasta(pasta) {}

BOOL CIBtFindFile::Create(CWnd* pai, const CRect& rc) {
  return CButton::Create(u"...", WS_CHILD | WS_VISIBLE, rc, pai, kIdBotao);
}

void CIBtFindFile::OnClicked() {
  CFileDialog dlg(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, u"Drawings|*.dwg", GetParent());
  dlg.m_ofn.lpstrInitialDir = m_pasta;
  CIFindFilePropriedade* editor = m_editor;
  if (dlg.DoModal() == IDOK && ::IsWindow(editor->m_hWnd)) {
    editor->SetWindowText(dlg.GetFileTitle());
    editor->SetSel(0, -1);
  }
  if (::IsWindow(editor->m_hWnd)) editor->SetFocus();
}

}  // namespace ListView
