// Standard controls of the MFC-shaped layer: CStatic, CButton,
// CBitmapButton, CEdit, CComboBox. Like their originals they add no data to
// CWnd (except CBitmapButton), so a CWnd* of such a control may be cast.
#pragma once

#include "zrui/afx/cgdi.h"
#include "zrui/afx/cwnd.h"

class CStatic : public CWnd {
 public:
  BOOL Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
  HBITMAP SetBitmap(HBITMAP bitmap);
  HBITMAP GetBitmap() const;
};

class CButton : public CWnd {
 public:
  BOOL Create(LPCTSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int GetCheck() const;
  void SetCheck(int check);
  UINT GetState() const;
  void SetState(BOOL highlight);
  UINT GetButtonStyle() const;
  void SetButtonStyle(UINT style, BOOL redraw = TRUE);
  HBITMAP SetBitmap(HBITMAP bitmap);
  HBITMAP GetBitmap() const;
  // Owner-drawn buttons (BS_OWNERDRAW) draw here.
  virtual void DrawItem(LPDRAWITEMSTRUCT dis);
  BOOL OnChildNotify(UINT msg, WPARAM w, LPARAM l, LRESULT* result) override;
};

// An owner-drawn button showing one of up to four bitmaps: normal, selected
// (pressed), focused and disabled. Without bitmaps it shows its caption.
class CBitmapButton : public CButton {
 public:
  BOOL LoadBitmaps(UINT normal, UINT selected = 0, UINT focused = 0, UINT disabled = 0);
  BOOL AutoLoad(UINT id, CWnd* parent);
  void SizeToContent();
  void DrawItem(LPDRAWITEMSTRUCT dis) override;

  CBitmap m_bitmap;
  CBitmap m_bitmapSel;
  CBitmap m_bitmapFocus;
  CBitmap m_bitmapDisabled;
};

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

class CComboBox : public CWnd {
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int AddString(LPCTSTR text);
  int InsertString(int index, LPCTSTR text);
  int DeleteString(UINT index);
  void ResetContent();
  int GetCount() const;
  int GetCurSel() const;
  int SetCurSel(int index);
  int GetLBText(int index, LPTSTR buf) const;
  void GetLBText(int index, CString& out) const;
  int GetLBTextLen(int index) const;
  DWORD_PTR GetItemData(int index) const;
  int SetItemData(int index, DWORD_PTR data);
  void* GetItemDataPtr(int index) const;
  int SetItemDataPtr(int index, void* data);
  int FindString(int startAfter, LPCTSTR text) const;
  int FindStringExact(int startAfter, LPCTSTR text) const;
  int SelectString(int startAfter, LPCTSTR text);
  void ShowDropDown(BOOL show = TRUE);
  BOOL GetDroppedState() const;
  BOOL LimitText(int maxChars);
  BOOL SetEditSel(int start, int end);
  DWORD GetEditSel() const;
  int SetItemHeight(int index, UINT height);
  int GetItemHeight(int index) const;
  int GetTopIndex() const;
  void GetDroppedControlRect(LPRECT r) const;
  void Clear();
  void Copy();
  void Cut();
  void Paste();

  // Owner drawing, called through the parent's reflected messages.
  virtual void DrawItem(LPDRAWITEMSTRUCT dis);
  virtual void MeasureItem(LPMEASUREITEMSTRUCT mis);
  virtual int CompareItem(LPCOMPAREITEMSTRUCT cis);
  virtual void DeleteItem(LPDELETEITEMSTRUCT dis);
  BOOL OnChildNotify(UINT msg, WPARAM w, LPARAM l, LRESULT* result) override;
};
