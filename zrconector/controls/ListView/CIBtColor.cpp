#include "controls/ListView/CIBtColor.h"

#include <algorithm>

#include "zrfx/FxDocumentManager.h"
#include "controls/ListView/CIColorPropriedade.h"
#include "controls/ListView/EditorSupport.h"

namespace ListView {

BEGIN_MESSAGE_MAP(CIBtColor, CBitmapButton)
  ON_CONTROL_REFLECT(BN_CLICKED, &CIBtColor::OnClicked)
END_MESSAGE_MAP()

CIBtColor::CIBtColor(CIColorPropriedade* editor) : m_editor(editor) {}

BOOL CIBtColor::Create(CWnd* pai, const CRect& rc) {
  return CButton::Create(u"...", WS_CHILD | WS_VISIBLE, rc, pai, kButtonId);
}

void CIBtColor::OnClicked() {
  CString texto;
  m_editor->GetWindowText(texto);
  int inicial = std::clamp(CIColorPropriedade::LeadingInteger(texto), 0, 256);
  // The editor (and this button with it) may end while the picker runs: it
  // is found again by its window afterwards, and neither is touched when it
  // has gone.
  const HWND janela = m_editor->m_hWnd;
  int status = RTERROR, escolhido = 0;
  if (CFxDocument* doc = ACTIVE_DOCUMENT())
    status = doc->GetFunctionInterface()->ColorDialog(janela, inicial, 0, &escolhido);
  auto* editor = dynamic_cast<CIColorPropriedade*>(CWnd::FromHandlePermanent(janela));
  if (!editor || !::IsWindow(janela)) return;
  if (status == RTNORM) {
    CString novo;
    novo.Format(u"%d", escolhido);
    editor->SetWindowText(novo);
    editor->Invalidate();
  }
  editor->SetFocus();
}

}  // namespace ListView
