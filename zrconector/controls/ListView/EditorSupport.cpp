#include "controls/ListView/EditorSupport.h"

#include <new>

#include "controls/ListView/CIListViewEdit.h"

namespace ListView {

CIListViewEdit* GridOf(const CWnd* wnd) {
  if (!wnd) return nullptr;
  return dynamic_cast<CIListViewEdit*>(CWnd::FromHandlePermanent(wnd->m_hWnd));
}

void EditRow(CIListViewEdit* grid, int linha, int coluna) {
  // Row -1 would select every row; a row past the end exists nowhere.
  if (linha >= 0 && linha < grid->GetItemCount())
    grid->SetItemState(linha, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  grid->BeginEdit(linha, coluna);
}

void TakeParentFont(CWnd* editor) {
  HWND pai = ::GetParent(editor->m_hWnd);
  if (!pai) return;
  editor->SendMessage(WM_SETFONT, static_cast<WPARAM>(::SendMessageW(pai, WM_GETFONT, 0, 0)), TRUE);
}

bool IsEditorKey(const MSG* msg) {
  if (msg->message != WM_KEYDOWN) return false;
  switch (msg->wParam) {
    case VK_RETURN:
    case VK_DELETE:
    case VK_ESCAPE:
    case VK_TAB:
    case VK_UP:
    case VK_DOWN: return true;
  }
  return GetKeyState(VK_CONTROL) < 0;
}

BOOL RouteKey(CWnd* editor, MSG* msg, bool repinta) {
  if (!IsEditorKey(msg)) return FALSE;
  HWND janela = editor->m_hWnd;
  ::TranslateMessage(msg);
  ::DispatchMessageW(msg);
  // Tab, Enter and Escape may have closed the editor (and deleted it).
  if (repinta && ::IsWindow(janela)) ::InvalidateRect(janela, nullptr, TRUE);
  return TRUE;
}

void SendText(CWnd* editor, UINT mensagem, int linha, int coluna, const CString& texto) {
  auto* r = new (std::nothrow) TextResult{linha, coluna, texto};
  HWND pai = ::GetParent(editor->m_hWnd);
  if (pai) ::SendMessageW(pai, mensagem, 0, reinterpret_cast<LPARAM>(r));
  else delete r;
}

void SendIndex(CWnd* editor, UINT mensagem, int linha, int coluna, int indice) {
  auto* r = new (std::nothrow) IndexResult{linha, coluna, indice};
  HWND pai = ::GetParent(editor->m_hWnd);
  if (pai) ::SendMessageW(pai, mensagem, 0, reinterpret_cast<LPARAM>(r));
  else delete r;
}

bool IsNumericChar(UINT ch) {
  return (ch >= u'0' && ch <= u'9') || ch == u'.' || ch == u'-' || ch == u',' || ch == VK_RETURN;
}

}  // namespace ListView
