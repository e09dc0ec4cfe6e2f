// CellEditor: what every in-place editor of the grid does the same way,
// over the control it is made of (an edit field or a combo box):
// - creation: takes the grid's font (an edit field also takes the focus with
//   all its text selected);
// - key routing: the keys the dialog would take (RouteKey) go to the
//   editor first; Tab moves to the next row (Shift: previous), Escape
//   focuses the grid (so what was typed is kept), Enter does what the editor
//   says (OnEnter); while the control shows a list of its own (a combo's
//   dropped list, TakesEscape), Escape is the control's: it closes the list;
// - focus loss: sends the result (SendResult) and closes, unless the focus
//   went to the editor's own "..." button (or the editor says it stays open);
// - lifetime: created with new by the grid, it deletes its button and
//   itself when its window goes.
// The editor holds its row and column as numbers; the grid translates them
// when it takes the result.
#pragma once

#include <zrui/afx.h>

namespace ListView {

class CIListViewEdit;

template <class Base>
class CellEditor : public Base {
 public:
  BOOL PreTranslateMessage(MSG* msg) override;

 protected:
  CellEditor(int linha, int coluna) : m_linha(linha), m_coluna(coluna) {}

  // What Enter does; true when the key is taken. By default it moves to the
  // next row (nothing without a grid).
  virtual bool OnEnter(CIListViewEdit* grid);
  // Whether losing the focus to `novo` keeps the editor open.
  virtual bool KeepsOpen(CWnd* novo) const;
  // Sends the editor's result to its parent, once, as it ends.
  virtual void SendResult() = 0;
  // Whether the editor repaints after each key it takes (its look follows
  // its text).
  virtual bool RepaintsOnKey() const { return false; }
  // Whether Escape goes to the control itself now, not to the editor's
  // handling (a combo box's dropped list closes on it first, back on the
  // entry before it dropped).
  virtual bool TakesEscape() const { return false; }

  // Sends the result and closes the editor (which deletes it).
  void End();

  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg void OnKeyDown(UINT vk, UINT repeat, UINT flags);
  afx_msg void OnKillFocus(CWnd* novo);
  afx_msg void OnNcDestroy();
  void PostNcDestroy() override { delete this; }
  DECLARE_MESSAGE_MAP()

 protected:
  const int m_linha;
  const int m_coluna;
  // The "..." button beside the field, owned by the editor (null when none).
  CWnd* m_botao = nullptr;
};

}  // namespace ListView
