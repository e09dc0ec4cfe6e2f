// What the in-place editors share: finding the grid they edit, moving to
// another row, taking the grid's font, the keys they take from the dialog,
// and sending their result.
#pragma once

#include <zrui/afx.h>

namespace ListView {

class CIListViewEdit;

// The editors' windows: control ids, the "..." button's width, and how far a
// list editor reaches below its cell (its framed field and up to 8 entries).
inline constexpr UINT kListId = 1020;
inline constexpr UINT kEditorId = 1021;
inline constexpr UINT kButtonId = 1022;
inline constexpr int kButtonWidth = 20;
inline constexpr int kVisibleEntries = 8;
inline constexpr int kFieldFrame = 8;

// The grid when `wnd` is one, else null (an editor may live in another window).
CIListViewEdit* GridOf(const CWnd* wnd);

// Selects and focuses row `linha` (when it exists) and begins editing column
// `coluna` there. The calling editor usually ends (and deletes itself) on the
// way: the caller must not touch its members afterwards.
void EditRow(CIListViewEdit* grid, int linha, int coluna);

// WM_GETFONT of the parent, WM_SETFONT with redraw.
void TakeParentFont(CWnd* editor);

// Key-downs that an editor takes before the dialog does: Enter, Delete,
// Escape, Tab, Up, Down, and any key while Ctrl is held.
bool IsEditorKey(const MSG* msg);

// The key routing of every editor's PreTranslateMessage: a key of
// IsEditorKey is translated and dispatched straight to the editor, so the
// dialog never sees it (Enter would press its default button, Escape cancel
// it, Tab move the focus). Returns TRUE when the message was taken; the
// caller then passes nothing on. With `repinta` the editor repaints itself
// afterwards when the key left it open (the colour editor, whose colour
// follows its text). The key may end the editor: the caller must not touch
// its members after a TRUE.
BOOL RouteKey(CWnd* editor, MSG* msg, bool repinta = false);

// Sends a heap record to the editor's parent; a failed allocation sends null.
void SendText(CWnd* editor, UINT mensagem, int linha, int coluna, const CString& texto);
void SendIndex(CWnd* editor, UINT mensagem, int linha, int coluna, int indice);

// Creates an editor's field with its button at the right end of `rc`
// (`larguraBotao` pixels): the button first, so that the field can tell a
// click on it from leaving, then the field, which shows `texto` all selected
// and takes the focus. `botao` is the editor's member that owns `novo`; on
// failure it is deleted and left null.
template <class Botao>
BOOL CreateFieldWithButton(CEdit* campo, CWnd*& botao, Botao* novo, CWnd* pai, const CRect& rc, int larguraBotao,
                       UINT id, LPCTSTR texto) {
  const CRect area(rc.left, rc.top, rc.right - larguraBotao, rc.bottom);
  botao = novo;
  if (!novo->Create(pai, CRect(area.right, rc.top, rc.right, rc.bottom)) ||
      !campo->Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, area, pai, id)) {
    delete novo;
    botao = nullptr;
    return FALSE;
  }
  campo->SetWindowText(texto);
  campo->SetFocus();
  campo->SetSel(0, -1);
  return TRUE;
}

// Whether a typed character passes the numeric filter: digits, ".", "-", ","
// and Enter.
bool IsNumericChar(UINT ch);

}  // namespace ListView
