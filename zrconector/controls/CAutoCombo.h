// CAutoCombo: the owner-drawn combo box of the module's dialogs. Each entry
// shows its text on the left and, in second-text mode, a second text
// attached to the entry, right-aligned in a dimmer colour.
//
// In second-text mode the control owns the copies of the second texts it
// attaches to entries: a copy is freed when its entry is deleted, when the
// list is emptied, when the window is destroyed and with the object.
#pragma once

#include <unordered_set>

#include <zrui/afx.h>

class CAutoCombo : public CComboBox {
 public:
  CAutoCombo();
  ~CAutoCombo() override;

  using CWnd::Attach;
  // Subclasses the combo box `id` of `parent` with this object and stores
  // the mode. Returns FALSE only when the parent has no such control.
  BOOL Attach(UINT id, CWnd* parent, BOOL secondText);

  // Appends an entry; in second-text mode its data becomes a new copy of the
  // same text. Returns the index (CB_ERR on failure).
  int AddString(LPCTSTR text);
  // Inserts an entry at `index` (-1: at the end); in second-text mode, when
  // a second text is given (even an empty one), the entry's data becomes a
  // new copy of it. Returns the index (CB_ERR on failure).
  int InsertString(int index, LPCTSTR text, LPCTSTR secondText = nullptr);

  // Selects an entry from code and tells the parent window as if the user
  // had chosen it: WM_COMMAND with CBN_SELCHANGE and this control's id. A
  // control without a parent window only changes its selection.
  void SelectAndNotify(int index);

  // The second text of an entry; empty when it has none.
  CString GetSecondText(int index) const;
  bool IsSecondTextMode() const { return m_secondText; }
  // For a control created in code rather than attached to a dialog item:
  // entries added from now on carry their second texts.
  void SetSecondTextMode(BOOL secondText) { m_secondText = secondText != FALSE; }
  // Last index given to SelectAndNotify (16 bits, as stored).
  short GetLastSelection() const { return m_lastSelection; }

  void DrawItem(LPDRAWITEMSTRUCT dis) override;

  // Empty unless the owner creates it; drawing selects it and restores the
  // previous font afterwards. Released with the control.
  CFont m_font;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  LRESULT WindowProc(UINT msg, WPARAM w, LPARAM l) override;
  DECLARE_MESSAGE_MAP()

 private:
  CString* CopyOf(int index) const;
  void FreeCopy(int index);
  void FreeAllCopies();

  short m_lastSelection = -1;
  bool m_secondText = false;
  COLORREF m_clrText;          // window text
  COLORREF m_clrSelText;       // highlight text, main text of a selected entry
  COLORREF m_clrSelSecond;     // highlight text, second text of a selected entry
  COLORREF m_clrGray;          // grey text, second text of an unselected entry
  COLORREF m_clrHighlight;     // background of a selected entry
  std::unordered_set<CString*> m_copies;
};
