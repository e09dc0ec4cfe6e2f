// The message-based core of the toolkit: window classes, windows, messages,
// queues, focus and geometry, with the names and contracts of the classic
// Windows API. Every window belongs to the thread that created it; messages
// sent from another thread are delivered on that thread (see README.md).
#pragma once

#include <functional>
#include <string>

#include "zrui/ctlconst.h"
#include "zrui/winmsg.h"
#include "zrui/wintypes.h"

// ---- window classes ----
struct WNDCLASSW {
  UINT style = 0;
  WNDPROC lpfnWndProc = nullptr;
  int cbClsExtra = 0;
  int cbWndExtra = 0;
  HINSTANCE hInstance = nullptr;
  HICON hIcon = nullptr;
  HCURSOR hCursor = nullptr;
  HBRUSH hbrBackground = nullptr;
  LPCWSTR lpszMenuName = nullptr;
  LPCWSTR lpszClassName = nullptr;
};
// Registers a class; a second registration of the same name fails (returns 0).
WORD RegisterClassW(const WNDCLASSW* wc);
BOOL GetClassInfoW(HINSTANCE, LPCWSTR className, WNDCLASSW* out);
int GetClassNameW(HWND h, LPWSTR buf, int max);
std::u16string GetClassNameString(HWND h);

// Window class names of the built-in controls.
inline constexpr const char16_t* WC_BUTTONW = u"Button";
inline constexpr const char16_t* WC_STATICW = u"Static";
inline constexpr const char16_t* WC_EDITW = u"Edit";
inline constexpr const char16_t* WC_COMBOBOXW = u"ComboBox";
inline constexpr const char16_t* WC_DIALOGW = u"#32770";

// Returns a message number in 0xC000..0xFFFF, the same for the same name
// (compared ignoring case) for the life of the process.
UINT RegisterWindowMessageW(LPCWSTR name);

// ---- creation and destruction ----
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menuOrId,
                     HINSTANCE instance, LPVOID param);
// Sends WM_DESTROY, destroys children and owned windows, then WM_NCDESTROY.
// Only the owning thread may destroy a window (FALSE otherwise).
BOOL DestroyWindow(HWND h);
BOOL IsWindow(HWND h);

// ---- messages ----
LRESULT SendMessageW(HWND h, UINT msg, WPARAM w, LPARAM l);
BOOL PostMessageW(HWND h, UINT msg, WPARAM w, LPARAM l);
void PostQuitMessage(int exitCode);
BOOL GetMessageW(MSG* msg, HWND h, UINT filterMin, UINT filterMax);
BOOL PeekMessageW(MSG* msg, HWND h, UINT filterMin, UINT filterMax, UINT removeMsg);
// Blocks until a message is posted or sent to this thread.
BOOL WaitMessage();
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageW(const MSG* msg);
LRESULT CallWindowProcW(WNDPROC proc, HWND h, UINT msg, WPARAM w, LPARAM l);
LRESULT DefWindowProcW(HWND h, UINT msg, WPARAM w, LPARAM l);
// True while the current thread handles a message sent by another thread.
BOOL InSendMessage();

#define SendMessage SendMessageW
#define PostMessage PostMessageW
#define DefWindowProc DefWindowProcW
#define CallWindowProc CallWindowProcW
#define RegisterWindowMessage RegisterWindowMessageW

// ---- window data ----
LONG_PTR GetWindowLongPtrW(HWND h, int index);
LONG_PTR SetWindowLongPtrW(HWND h, int index, LONG_PTR value);
inline LONG GetWindowLongW(HWND h, int index) { return static_cast<LONG>(GetWindowLongPtrW(h, index)); }
inline LONG SetWindowLongW(HWND h, int index, LONG v) {
  return static_cast<LONG>(SetWindowLongPtrW(h, index, v));
}
int GetDlgCtrlID(HWND h);
HWND GetDlgItem(HWND dialog, int id);
HWND GetParent(HWND h);
HWND SetParent(HWND child, HWND newParent);
HWND GetAncestor(HWND h, UINT flags);
HWND GetWindow(HWND h, UINT cmd);
BOOL IsChild(HWND parent, HWND h);
HWND GetTopWindow(HWND h);
HWND GetNextWindow(HWND h, UINT cmd);

// ---- text ----
BOOL SetWindowTextW(HWND h, LPCWSTR text);
int GetWindowTextW(HWND h, LPWSTR buf, int max);
int GetWindowTextLengthW(HWND h);
// Convenience: the whole text through WM_GETTEXTLENGTH/WM_GETTEXT (from
// another thread: the stored text, as GetWindowTextW does).
std::u16string GetWindowTextString(HWND h);

// ---- state ----
BOOL EnableWindow(HWND h, BOOL enable);  // returns TRUE when it was disabled before
BOOL IsWindowEnabled(HWND h);
BOOL ShowWindow(HWND h, int cmd);        // returns TRUE when it was visible before
// Visible: the window and all of its ancestors have WS_VISIBLE.
BOOL IsWindowVisible(HWND h);

// ---- geometry (pixels) ----
BOOL GetWindowRect(HWND h, RECT* r);   // screen coordinates
BOOL GetClientRect(HWND h, RECT* r);   // (0, 0, width, height) of the client area
BOOL ClientToScreen(HWND h, POINT* p);
BOOL ScreenToClient(HWND h, POINT* p);
int MapWindowPoints(HWND from, HWND to, POINT* pts, UINT count);
BOOL MoveWindow(HWND h, int x, int y, int width, int height, BOOL repaint);
// Without SWP_NOZORDER and with `insertAfter` null (HWND_TOP) a top-level
// window goes to the top of the z-order; other insertion points are ignored.
BOOL SetWindowPos(HWND h, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
// Brings the top-level window of `h` to the top of the z-order, the windows
// it owns (its modal dialogs, dropped lists) staying above it.
BOOL BringWindowToTop(HWND h);
HWND WindowFromPoint(POINT screen);
HWND ChildWindowFromPoint(HWND parent, POINT client);
// Size of the virtual screen that top-level windows are placed on.
void SetScreenSize(int width, int height);
// Where ours differs: a front end whose screen can change size at any
// moment (a terminal) gives a function that GetSystemMetrics asks each time
// (it must answer from any thread; a size of 0 falls back to
// SetScreenSize's). nullptr removes it.
void SetScreenSizeSource(std::function<SIZE()> source);
int GetSystemMetrics(int index);
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;

// ---- scroll bars (state kept per window; controls update their own) ----
struct SCROLLINFO {
  UINT cbSize = sizeof(SCROLLINFO);
  UINT fMask = 0;
  int nMin = 0;
  int nMax = 0;
  UINT nPage = 0;
  int nPos = 0;
  int nTrackPos = 0;
};
constexpr UINT SIF_RANGE = 0x1;
constexpr UINT SIF_PAGE = 0x2;
constexpr UINT SIF_POS = 0x4;
constexpr UINT SIF_TRACKPOS = 0x10;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
int SetScrollInfo(HWND h, int bar, const SCROLLINFO* si, BOOL redraw);
BOOL GetScrollInfo(HWND h, int bar, SCROLLINFO* si);
int GetScrollPos(HWND h, int bar);
int SetScrollPos(HWND h, int bar, int pos, BOOL redraw);
BOOL GetScrollRange(HWND h, int bar, int* minPos, int* maxPos);
BOOL SetScrollRange(HWND h, int bar, int minPos, int maxPos, BOOL redraw);

// ---- painting requests (there is no screen: these only mark and notify) ----
BOOL InvalidateRect(HWND h, const RECT* r, BOOL erase);
BOOL UpdateWindow(HWND h);
BOOL RedrawWindow(HWND h, const RECT* r, HRGN rgn, UINT flags);

// ---- focus, activation, capture, keyboard state ----
HWND SetFocus(HWND h);
HWND GetFocus();
HWND GetActiveWindow();
// Activation (here and through SetFocus) brings the window to the top.
HWND SetActiveWindow(HWND h);
// The caret: one per process, owned by the window that created it (edit
// fields create theirs when they get the focus and destroy it when they
// lose it). Positions are client pixels of the owner; the bitmap is
// ignored. The renderers draw a shown caret: a reversed cell in text, a
// line in pictures.
BOOL CreateCaret(HWND h, HBITMAP bitmap, int width, int height);
BOOL DestroyCaret();
BOOL SetCaretPos(int x, int y);
BOOL GetCaretPos(POINT* p);
BOOL ShowCaret(HWND h);
BOOL HideCaret(HWND h);
HWND SetCapture(HWND h);
BOOL ReleaseCapture();
HWND GetCapture();
// High bit set (negative) while the key is down at the time of the message
// being handled (the state travels with each queued input message): Shift,
// Control and Alt (VK_MENU), and the mouse buttons (VK_LBUTTON, VK_RBUTTON,
// VK_MBUTTON) as the last mouse message taken from the queue had them, so
// that a handler can tell a choice made with the mouse from one made with a
// key.
SHORT GetKeyState(int vk);
SHORT GetAsyncKeyState(int vk);
BOOL GetCursorPos(POINT* p);
BOOL SetCursorPos(int x, int y);

// ---- rectangle helpers ----
BOOL SetRect(RECT* r, int l, int t, int rt, int b);
BOOL SetRectEmpty(RECT* r);
BOOL IsRectEmpty(const RECT* r);
BOOL PtInRect(const RECT* r, POINT p);
BOOL OffsetRect(RECT* r, int dx, int dy);
BOOL InflateRect(RECT* r, int dx, int dy);
BOOL IntersectRect(RECT* out, const RECT* a, const RECT* b);
BOOL UnionRect(RECT* out, const RECT* a, const RECT* b);
BOOL EqualRect(const RECT* a, const RECT* b);
BOOL CopyRect(RECT* out, const RECT* in);
int MulDiv(int number, int numerator, int denominator);

// ---- timers (fired from the thread's message loop) ----
UINT_PTR SetTimer(HWND h, UINT_PTR id, UINT elapseMs, void* unusedProc);
BOOL KillTimer(HWND h, UINT_PTR id);

// ---- cursors ----
#define IDC_ARROW MAKEINTRESOURCEW(32512)
#define IDC_IBEAM MAKEINTRESOURCEW(32513)
#define IDC_WAIT MAKEINTRESOURCEW(32514)
#define IDC_HAND MAKEINTRESOURCEW(32649)
HCURSOR LoadCursorW(HINSTANCE, LPCWSTR name);
HCURSOR SetCursor(HCURSOR c);
HCURSOR GetCursor();
// Id of the standard cursor (32512, 32649...), 0 for none.
int CursorId(HCURSOR c);

// ---- clipboard (process-wide text only) ----
void SetClipboardText(const std::u16string& text);
std::u16string GetClipboardText();

// ---- misc ----
BOOL MessageBeep(UINT type);
int MessageBeepCount();
DWORD GetTickCount();
