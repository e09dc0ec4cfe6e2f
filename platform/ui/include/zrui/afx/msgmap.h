// Message maps: tables that route window messages, commands and
// notifications to member functions, written with the MFC macros:
//
//   BEGIN_MESSAGE_MAP(CMyDialog, CDialog)
//     ON_WM_SIZE()
//     ON_BN_CLICKED(IDC_APPLY, &CMyDialog::OnApply)
//     ON_NOTIFY(LVN_ITEMCHANGED, IDC_LIST, &CMyDialog::OnItemChanged)
//     ON_REGISTERED_MESSAGE(WM_MY_MESSAGE, &CMyDialog::OnMyMessage)
//   END_MESSAGE_MAP()
//
// Each entry carries a small function (a captureless lambda) that unpacks
// the message's parameters and calls the member with its usual signature.
#pragma once

#include "zrui/winmsg.h"

class CCmdTarget;

struct AfxMsgCall {
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  LRESULT* result = nullptr;
};

// Returns true when the message counts as handled (the _EX forms return
// what the member returned).
using AFX_THUNK = bool (*)(CCmdTarget* self, AfxMsgCall& call);

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;         // message; WM_COMMAND / WM_NOTIFY for commands
  UINT nCode;            // notification code
  UINT nID;              // first control id
  UINT nLastID;          // last control id
  const UINT* pnMessage; // registered message (or registered code) read at dispatch
  AFX_THUNK thunk;       // nullptr ends the table
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

// Reflected messages: a parent hands WM_COMMAND/WM_NOTIFY/... back to the
// control that sent them as WM_REFLECT_BASE + message.
constexpr UINT WM_REFLECT_BASE = 0xBC00;
// MFC's single entry for all WM_CTLCOLOR... messages.
constexpr UINT WM_CTLCOLOR = 0x0019;
constexpr UINT kRegisteredMarker = 0xC000;

#define afx_msg

#define DECLARE_MESSAGE_MAP()                               \
 protected:                                                 \
  static const AFX_MSGMAP* GetThisMessageMap();             \
  const AFX_MSGMAP* GetMessageMap() const override;         \
                                                            \
 private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                      \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                                 \
    using ThisClass = theClass;                                                     \
    using TheBaseClass = baseClass;                                                 \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                           \
  {0, 0, 0, 0, nullptr, nullptr}                                                    \
  }                                                                                 \
  ;                                                                                 \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
  return &messageMap;                                                               \
  }

#define ZR_SELF static_cast<ThisClass*>(self)
#define ZR_THUNK(body) [](CCmdTarget* self, AfxMsgCall& c) -> bool { (void)self; (void)c; body }

// ---- commands and control notifications (WM_COMMAND) ----
#define ON_COMMAND(id, memberFxn) \
  {WM_COMMAND, 0, static_cast<UINT>(id), static_cast<UINT>(id), nullptr, ZR_THUNK((ZR_SELF->*(memberFxn))(); return true;)},
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                        \
  {WM_COMMAND, 0, static_cast<UINT>(id), static_cast<UINT>(idLast), nullptr,          \
   ZR_THUNK((ZR_SELF->*(memberFxn))(static_cast<UINT>(LOWORD(c.wParam))); return true;)},
#define ON_CONTROL(code, id, memberFxn)                                                        \
  {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), nullptr, \
   ZR_THUNK((ZR_SELF->*(memberFxn))(); return true;)},
#define ON_CONTROL_RANGE(code, id, idLast, memberFxn)                                              \
  {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(idLast), nullptr, \
   ZR_THUNK((ZR_SELF->*(memberFxn))(static_cast<UINT>(LOWORD(c.wParam))); return true;)},
// A control notification whose code is the low word of a registered message,
// read when the message arrives (the number exists only after registration).
#define ON_REGISTERED_CONTROL(codeVariable, id, memberFxn)                                        \
  {WM_COMMAND, 0, static_cast<UINT>(id), static_cast<UINT>(id), &(codeVariable),                  \
   ZR_THUNK((ZR_SELF->*(memberFxn))(); return true;)},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)

// ---- notifications (WM_NOTIFY): void f(NMHDR*, LRESULT*) ----
#define ON_NOTIFY(code, id, memberFxn)                                                        \
  {WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), nullptr, \
   ZR_THUNK((ZR_SELF->*(memberFxn))(reinterpret_cast<NMHDR*>(c.lParam), c.result); return true;)},
#define ON_NOTIFY_EX(code, id, memberFxn)                                                     \
  {WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), nullptr, \
   ZR_THUNK(return (ZR_SELF->*(memberFxn))(static_cast<UINT>(c.wParam), reinterpret_cast<NMHDR*>(c.lParam), c.result) != 0;)},
#define ON_NOTIFY_RANGE(code, id, idLast, memberFxn)                                              \
  {WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(idLast), nullptr, \
   ZR_THUNK((ZR_SELF->*(memberFxn))(static_cast<UINT>(c.wParam), reinterpret_cast<NMHDR*>(c.lParam), c.result); return true;)},

// ---- reflected to the control that sent them ----
#define ON_NOTIFY_REFLECT(code, memberFxn)                                          \
  {WM_REFLECT_BASE + WM_NOTIFY, static_cast<UINT>(code), 0, 0, nullptr,             \
   ZR_THUNK((ZR_SELF->*(memberFxn))(reinterpret_cast<NMHDR*>(c.lParam), c.result); return true;)},
#define ON_NOTIFY_REFLECT_EX(code, memberFxn)                                       \
  {WM_REFLECT_BASE + WM_NOTIFY, static_cast<UINT>(code), 0, 0, nullptr,             \
   ZR_THUNK(return (ZR_SELF->*(memberFxn))(reinterpret_cast<NMHDR*>(c.lParam), c.result) != 0;)},
#define ON_CONTROL_REFLECT(code, memberFxn)                                         \
  {WM_REFLECT_BASE + WM_COMMAND, static_cast<UINT>(code), 0, 0, nullptr,            \
   ZR_THUNK((ZR_SELF->*(memberFxn))(); return true;)},
#define ON_CONTROL_REFLECT_EX(code, memberFxn)                                      \
  {WM_REFLECT_BASE + WM_COMMAND, static_cast<UINT>(code), 0, 0, nullptr,            \
   ZR_THUNK(return (ZR_SELF->*(memberFxn))() != 0;)},
#define ON_CBN_SELCHANGE_REFLECT(memberFxn) ON_CONTROL_REFLECT(CBN_SELCHANGE, memberFxn)
#define ON_CBN_KILLFOCUS_REFLECT(memberFxn) ON_CONTROL_REFLECT(CBN_KILLFOCUS, memberFxn)
#define ON_WM_CTLCOLOR_REFLECT()                                                    \
  {WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0, nullptr,                                 \
   ZR_THUNK(HBRUSH b = ZR_SELF->CtlColor(CDC::FromHandle(reinterpret_cast<HDC>(c.wParam)), \
                                         static_cast<UINT>(c.message - WM_CTLCOLOREDIT + 1)); \
            *c.result = reinterpret_cast<LRESULT>(b); return b != nullptr;)},

// ---- plain and registered messages: LRESULT f(WPARAM, LPARAM) ----
#define ON_MESSAGE(message, memberFxn) \
  {static_cast<UINT>(message), 0, 0, 0, nullptr, ZR_THUNK(*c.result = (ZR_SELF->*(memberFxn))(c.wParam, c.lParam); return true;)},
#define ON_REGISTERED_MESSAGE(messageVariable, memberFxn) \
  {kRegisteredMarker, 0, 0, 0, &(messageVariable), ZR_THUNK(*c.result = (ZR_SELF->*(memberFxn))(c.wParam, c.lParam); return true;)},

// ---- window messages with their usual handler signatures ----
#define ZR_ON_WM(msg, call) {msg, 0, 0, 0, nullptr, ZR_THUNK(call return true;)},
#define ON_WM_CREATE() ZR_ON_WM(WM_CREATE, *c.result = ZR_SELF->OnCreate(reinterpret_cast<LPCREATESTRUCT>(c.lParam));)
#define ON_WM_DESTROY() ZR_ON_WM(WM_DESTROY, ZR_SELF->OnDestroy();)
#define ON_WM_NCDESTROY() ZR_ON_WM(WM_NCDESTROY, ZR_SELF->OnNcDestroy();)
#define ON_WM_CLOSE() ZR_ON_WM(WM_CLOSE, ZR_SELF->OnClose();)
#define ON_WM_SIZE() ZR_ON_WM(WM_SIZE, ZR_SELF->OnSize(static_cast<UINT>(c.wParam), GET_X_LPARAM(c.lParam), GET_Y_LPARAM(c.lParam));)
#define ON_WM_MOVE() ZR_ON_WM(WM_MOVE, ZR_SELF->OnMove(GET_X_LPARAM(c.lParam), GET_Y_LPARAM(c.lParam));)
#define ON_WM_SIZING() ZR_ON_WM(WM_SIZING, ZR_SELF->OnSizing(static_cast<UINT>(c.wParam), reinterpret_cast<LPRECT>(c.lParam)); *c.result = TRUE;)
#define ON_WM_GETMINMAXINFO() ZR_ON_WM(WM_GETMINMAXINFO, ZR_SELF->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(c.lParam));)
#define ON_WM_SETFOCUS() ZR_ON_WM(WM_SETFOCUS, ZR_SELF->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(c.wParam)));)
#define ON_WM_KILLFOCUS() ZR_ON_WM(WM_KILLFOCUS, ZR_SELF->OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(c.wParam)));)
#define ZR_KEYARGS static_cast<UINT>(c.wParam), static_cast<UINT>(LOWORD(static_cast<DWORD_PTR>(c.lParam))), static_cast<UINT>(HIWORD(static_cast<DWORD_PTR>(c.lParam)))
#define ON_WM_CHAR() ZR_ON_WM(WM_CHAR, ZR_SELF->OnChar(ZR_KEYARGS);)
#define ON_WM_KEYDOWN() ZR_ON_WM(WM_KEYDOWN, ZR_SELF->OnKeyDown(ZR_KEYARGS);)
#define ON_WM_KEYUP() ZR_ON_WM(WM_KEYUP, ZR_SELF->OnKeyUp(ZR_KEYARGS);)
#define ZR_MOUSEARGS static_cast<UINT>(c.wParam), CPoint(GET_X_LPARAM(c.lParam), GET_Y_LPARAM(c.lParam))
#define ON_WM_LBUTTONDOWN() ZR_ON_WM(WM_LBUTTONDOWN, ZR_SELF->OnLButtonDown(ZR_MOUSEARGS);)
#define ON_WM_LBUTTONUP() ZR_ON_WM(WM_LBUTTONUP, ZR_SELF->OnLButtonUp(ZR_MOUSEARGS);)
#define ON_WM_LBUTTONDBLCLK() ZR_ON_WM(WM_LBUTTONDBLCLK, ZR_SELF->OnLButtonDblClk(ZR_MOUSEARGS);)
#define ON_WM_RBUTTONDOWN() ZR_ON_WM(WM_RBUTTONDOWN, ZR_SELF->OnRButtonDown(ZR_MOUSEARGS);)
#define ON_WM_RBUTTONUP() ZR_ON_WM(WM_RBUTTONUP, ZR_SELF->OnRButtonUp(ZR_MOUSEARGS);)
#define ON_WM_MOUSEMOVE() ZR_ON_WM(WM_MOUSEMOVE, ZR_SELF->OnMouseMove(ZR_MOUSEARGS);)
#define ON_WM_PAINT() ZR_ON_WM(WM_PAINT, ZR_SELF->OnPaint();)
#define ON_WM_ERASEBKGND() ZR_ON_WM(WM_ERASEBKGND, *c.result = ZR_SELF->OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(c.wParam)));)
#define ON_WM_CTLCOLOR()                                                                           \
  ZR_ON_WM(WM_CTLCOLOR, *c.result = reinterpret_cast<LRESULT>(ZR_SELF->OnCtlColor(                 \
                            CDC::FromHandle(reinterpret_cast<HDC>(c.wParam)),                      \
                            CWnd::FromHandle(reinterpret_cast<HWND>(c.lParam)),                    \
                            static_cast<UINT>(c.message - WM_CTLCOLOREDIT + 1)));)
#define ZR_SCROLLARGS static_cast<UINT>(LOWORD(c.wParam)), static_cast<UINT>(HIWORD(c.wParam)), reinterpret_cast<CScrollBar*>(CWnd::FromHandle(reinterpret_cast<HWND>(c.lParam)))
#define ON_WM_HSCROLL() ZR_ON_WM(WM_HSCROLL, ZR_SELF->OnHScroll(ZR_SCROLLARGS);)
#define ON_WM_VSCROLL() ZR_ON_WM(WM_VSCROLL, ZR_SELF->OnVScroll(ZR_SCROLLARGS);)
#define ON_WM_TIMER() ZR_ON_WM(WM_TIMER, ZR_SELF->OnTimer(static_cast<UINT_PTR>(c.wParam));)
#define ON_WM_ACTIVATE() ZR_ON_WM(WM_ACTIVATE, ZR_SELF->OnActivate(static_cast<UINT>(LOWORD(c.wParam)), CWnd::FromHandle(reinterpret_cast<HWND>(c.lParam)), static_cast<BOOL>(HIWORD(c.wParam)));)
#define ON_WM_SHOWWINDOW() ZR_ON_WM(WM_SHOWWINDOW, ZR_SELF->OnShowWindow(static_cast<BOOL>(c.wParam), static_cast<UINT>(c.lParam));)
#define ON_WM_SETCURSOR() ZR_ON_WM(WM_SETCURSOR, *c.result = ZR_SELF->OnSetCursor(CWnd::FromHandle(reinterpret_cast<HWND>(c.wParam)), static_cast<UINT>(LOWORD(static_cast<DWORD_PTR>(c.lParam))), static_cast<UINT>(HIWORD(static_cast<DWORD_PTR>(c.lParam))));)
#define ON_WM_DRAWITEM() ZR_ON_WM(WM_DRAWITEM, ZR_SELF->OnDrawItem(static_cast<int>(c.wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(c.lParam)); *c.result = TRUE;)
#define ON_WM_MEASUREITEM() ZR_ON_WM(WM_MEASUREITEM, ZR_SELF->OnMeasureItem(static_cast<int>(c.wParam), reinterpret_cast<LPMEASUREITEMSTRUCT>(c.lParam)); *c.result = TRUE;)
#define ON_WM_GETDLGCODE() ZR_ON_WM(WM_GETDLGCODE, *c.result = static_cast<LRESULT>(ZR_SELF->OnGetDlgCode());)
#define ON_WM_ENABLE() ZR_ON_WM(WM_ENABLE, ZR_SELF->OnEnable(static_cast<BOOL>(c.wParam));)
#define ON_WM_WINDOWPOSCHANGED() ZR_ON_WM(WM_WINDOWPOSCHANGED, ZR_SELF->OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(c.lParam));)
#define ON_WM_SYSCOMMAND() ZR_ON_WM(WM_SYSCOMMAND, ZR_SELF->OnSysCommand(static_cast<UINT>(c.wParam), c.lParam);)

// Run-time class information is not needed by this toolkit; the macros exist
// so that class declarations read as usual.
#define DECLARE_DYNAMIC(theClass)
#define IMPLEMENT_DYNAMIC(theClass, baseClass)
#define DECLARE_DYNCREATE(theClass)
#define IMPLEMENT_DYNCREATE(theClass, baseClass)
#define AFX_MANAGE_STATE(x)
