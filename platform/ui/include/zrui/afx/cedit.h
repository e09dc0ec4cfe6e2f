// CEdit: the edit control. Adds no data to CWnd.
#pragma once

#include "zrui/afx/cgdi.h"
#include "zrui/afx/cwnd.h"

class CEdit : public CWnd {
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  void LimitText(int maxChars = 0);
  void SetLimitText(UINT maxChars);
  UINT GetLimitText() const;
  void SetSel(int start, int end, BOOL noScroll = FALSE);
  void SetSel(DWORD selection, BOOL noScroll = FALSE);
  void GetSel(int& start, int& end) const;
  DWORD GetSel() const;
  void ReplaceSel(LPCTSTR text, BOOL canUndo = FALSE);
  BOOL SetReadOnly(BOOL readOnly = TRUE);
  BOOL GetModify() const;
  void SetModify(BOOL modified = TRUE);
  int LineLength(int line = -1) const;
  void Clear();
  void Copy();
  void Cut();
  void Paste();
};
