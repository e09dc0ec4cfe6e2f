// CCmdTarget and CWnd: the C++ object attached to a window. Messages reach
// the object through its message map (zrui/afx/msgmap.h); what the map does
// not handle goes to the window's original procedure (Default()).
#pragma once

#include "zrui/afx/cstring.h"
#include "zrui/afx/msgmap.h"
#include "zrui/afx/types.h"
#include "zrui/gdi.h"
#include "zrui/msgbox.h"
#include "zrui/winapi.h"

class CDC;
class CFont;
class CScrollBar;
class CDataExchange;

constexpr UINT CTLCOLOR_MSGBOX = 0;
constexpr UINT CTLCOLOR_EDIT = 1;
constexpr UINT CTLCOLOR_LISTBOX = 2;
constexpr UINT CTLCOLOR_BTN = 3;
constexpr UINT CTLCOLOR_DLG = 4;
constexpr UINT CTLCOLOR_SCROLLBAR = 5;
constexpr UINT CTLCOLOR_STATIC = 6;

class CCmdTarget {
 public:
  virtual ~CCmdTarget() = default;
  static const AFX_MSGMAP* GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;
};

class CWnd : public CCmdTarget {
 public:
  CWnd() = default;
  // Destroys the window if it still exists.
  ~CWnd() override;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;
  operator HWND() const { return m_hWnd; }
  HWND GetSafeHwnd() const { return m_hWnd; }

  // The object attached to a window, or a temporary one owned by the window
  // (valid until the window is destroyed). nullptr for no window.
  static CWnd* FromHandle(HWND h);
  // The attached object only.
  static CWnd* FromHandlePermanent(HWND h);

  BOOL Attach(HWND h);
  HWND Detach();
  // Routes the window's messages through this object; the window's previous
  // procedure handles what this object leaves to Default().
  BOOL SubclassWindow(HWND h);
  BOOL SubclassDlgItem(UINT id, CWnd* parent);
  HWND UnsubclassWindow();

  virtual BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                      UINT id, void* context = nullptr);
  virtual BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect,
                        CWnd* parent, UINT id, LPVOID param = nullptr);
  BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y, int width,
                int height, HWND parent, HMENU idOrMenu, LPVOID param = nullptr);
  virtual BOOL DestroyWindow();

  // ---- messages ----
  LRESULT SendMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) const;
  BOOL PostMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) const;
  LRESULT SendDlgItemMessage(int id, UINT msg, WPARAM w = 0, LPARAM l = 0) const;
  void SendMessageToDescendants(UINT msg, WPARAM w = 0, LPARAM l = 0, BOOL deep = TRUE) const;

  // ---- text, state, relations ----
  void SetWindowText(LPCTSTR text);
  void GetWindowText(CString& out) const;
  int GetWindowText(LPTSTR buf, int max) const;
  int GetWindowTextLength() const;
  BOOL EnableWindow(BOOL enable = TRUE);
  BOOL IsWindowEnabled() const;
  BOOL ShowWindow(int cmd);
  BOOL IsWindowVisible() const;
  CWnd* GetDlgItem(int id) const;
  int GetDlgCtrlID() const;
  int SetDlgCtrlID(int id);
  void SetDlgItemText(int id, LPCTSTR text);
  int GetDlgItemText(int id, CString& out) const;
  void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE);
  UINT GetDlgItemInt(int id, BOOL* ok = nullptr, BOOL isSigned = TRUE) const;
  void CheckDlgButton(int id, UINT check);
  UINT IsDlgButtonChecked(int id) const;
  CWnd* GetParent() const;
  CWnd* GetOwner() const;
  CWnd* GetTopLevelParent() const;
  CWnd* GetWindow(UINT cmd) const;
  CWnd* GetNextDlgTabItem(CWnd* ctl, BOOL previous = FALSE) const;
  BOOL IsChild(const CWnd* w) const;
  CWnd* SetFocus();
  static CWnd* GetFocus();
  static CWnd* GetActiveWindow();
  CWnd* SetCapture();
  static CWnd* GetCapture();
  CFont* GetFont() const;
  void SetFont(CFont* font, BOOL redraw = TRUE);
  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
  BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);

  // ---- geometry ----
  void GetWindowRect(LPRECT r) const;
  void GetClientRect(LPRECT r) const;
  void ClientToScreen(LPPOINT p) const;
  void ClientToScreen(LPRECT r) const;
  void ScreenToClient(LPPOINT p) const;
  void ScreenToClient(LPRECT r) const;
  void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
  void MoveWindow(LPCRECT r, BOOL repaint = TRUE);
  BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
  void CenterWindow(CWnd* alternateOwner = nullptr);

  // ---- painting ----
  void Invalidate(BOOL erase = TRUE);
  void InvalidateRect(LPCRECT r, BOOL erase = TRUE);
  void UpdateWindow();
  BOOL RedrawWindow(LPCRECT r = nullptr, HRGN rgn = nullptr, UINT flags = RDW_INVALIDATE | RDW_ERASE);
  void SetRedraw(BOOL redraw = TRUE);
  CDC* GetDC();
  int ReleaseDC(CDC* dc);

  UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs, void* proc);
  BOOL KillTimer(UINT_PTR id);
  int MessageBox(LPCTSTR text, LPCTSTR caption = nullptr, UINT type = MB_OK);

  // ---- data exchange ----
  BOOL UpdateData(BOOL saveAndValidate = TRUE);
  virtual void DoDataExchange(CDataExchange* dx);

  // ---- message processing ----
  virtual BOOL PreTranslateMessage(MSG* msg);
  virtual LRESULT WindowProc(UINT msg, WPARAM w, LPARAM l);
  virtual BOOL OnWndMsg(UINT msg, WPARAM w, LPARAM l, LRESULT* result);
  virtual LRESULT DefWindowProc(UINT msg, WPARAM w, LPARAM l);
  virtual BOOL OnCommand(WPARAM w, LPARAM l);
  virtual BOOL OnNotify(WPARAM w, LPARAM l, LRESULT* result);
  // A message the parent reflected back to this control.
  virtual BOOL OnChildNotify(UINT msg, WPARAM w, LPARAM l, LRESULT* result);
  BOOL ReflectChildNotify(UINT msg, WPARAM w, LPARAM l, LRESULT* result);
  // Hands a parent's message back to the control `child` (if it has an object).
  static BOOL ReflectMessage(HWND child, UINT msg, WPARAM w, LPARAM l, LRESULT* result);
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
  virtual void PreSubclassWindow();
  // Called after the window is gone (WM_NCDESTROY); objects that own
  // themselves delete themselves here.
  virtual void PostNcDestroy();
  // Passes the message being handled to the window's original procedure.
  LRESULT Default();

  static const AFX_MSGMAP* GetThisMessageMap();
  const AFX_MSGMAP* GetMessageMap() const override;

  // ---- default handlers (each passes the message on with Default()) ----
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg void OnDestroy();
  afx_msg void OnNcDestroy();
  afx_msg void OnClose();
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnMove(int x, int y);
  afx_msg void OnSizing(UINT side, LPRECT rect);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* mmi);
  afx_msg void OnSetFocus(CWnd* oldWnd);
  afx_msg void OnKillFocus(CWnd* newWnd);
  afx_msg void OnChar(UINT ch, UINT repeat, UINT flags);
  afx_msg void OnKeyDown(UINT vk, UINT repeat, UINT flags);
  afx_msg void OnKeyUp(UINT vk, UINT repeat, UINT flags);
  afx_msg void OnLButtonDown(UINT flags, CPoint p);
  afx_msg void OnLButtonUp(UINT flags, CPoint p);
  afx_msg void OnLButtonDblClk(UINT flags, CPoint p);
  afx_msg void OnRButtonDown(UINT flags, CPoint p);
  afx_msg void OnRButtonUp(UINT flags, CPoint p);
  afx_msg void OnMouseMove(UINT flags, CPoint p);
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
  afx_msg void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
  afx_msg void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
  afx_msg void OnTimer(UINT_PTR id);
  afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized);
  afx_msg void OnShowWindow(BOOL show, UINT status);
  afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
  afx_msg void OnDrawItem(int id, LPDRAWITEMSTRUCT dis);
  afx_msg void OnMeasureItem(int id, LPMEASUREITEMSTRUCT mis);
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnEnable(BOOL enable);
  afx_msg void OnWindowPosChanged(WINDOWPOS* wp);
  afx_msg void OnSysCommand(UINT id, LPARAM l);

 protected:
  WNDPROC m_pfnSuper = nullptr;
  friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
  friend void AfxAttachCreatedWindow(HWND h, void* object);
  bool m_temporary = false;
  friend struct AfxTemporaryWnd;

 private:
  const AFX_MSGMAP_ENTRY* FindEntry(UINT msg, UINT code, UINT id) const;
};

LRESULT CALLBACK AfxWndProc(HWND h, UINT msg, WPARAM w, LPARAM l);
// The next window this thread creates gets `wnd` attached before its first
// message (used by Create and by dialogs).
void AfxHookWindowCreate(CWnd* wnd);

class CScrollBar : public CWnd {};
