#include "controls/ListView/CIBtColor.h"

#include <algorithm>

#include "FxDocumentManager.h"
#include "controls/ListView/CIColorPropriedade.h"

namespace ListView {

namespace {
constexpr UINT kIdBotao = 1022;
}

BEGIN_MESSAGE_MAP(CIBtColor, CBitmapButton)
  ON_CONTROL_REFLECT(BN_CLICKED, &CIBtColor::OnClicked)
END_MESSAGE_MAP()

CIBtColor::CIBtColor(CIColorPropriedade* editor) : m_editor(editor) {}

BOOL CIBtColor::Create(CWnd* pai, const CRect& rc) {
  return CButton::Create(u"...", WS_CHILD | WS_VISIBLE, rc, pai, kIdBotao);
}

void CIBtColor::OnClicked() {
  CIColorPropriedade* editor = m_editor;
  CString texto;
  editor->GetWindowText(texto);
  int inicial = std::clamp(CIColorPropriedade::Inteiro(texto), 0, 256);
  if (CFxDocument* doc = ACTIVE_DOCUMENT()) {
    int escolhido = 0;
    if (doc->GetFunctionInterface()->ColorDialog(editor->m_hWnd, inicial, 0, &escolhido) == RTNORM &&
        ::IsWindow(editor->m_hWnd)) {
      CString novo;
      novo.Format(u"%d", escolhido);
      editor->SetWindowText(novo);
      editor->Invalidate();
    }
  }
  if (::IsWindow(editor->m_hWnd)) editor->SetFocus();
}

}  // namespace ListView
