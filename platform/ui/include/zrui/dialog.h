// Dialog templates in dialog units, dialog creation, the dialog manager
// (default button, cancel, Tab order) and the modal loop.
#pragma once

#include <string>
#include <vector>

#include "zrui/winapi.h"

using DLGPROC = INT_PTR(CALLBACK*)(HWND, UINT, WPARAM, LPARAM);

// One control of a dialog template. Position and size are dialog units.
struct DialogItem {
  std::u16string className;
  std::u16string text;
  int id = 0;
  DWORD style = 0;  // WS_CHILD is implied
  DWORD exStyle = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
};

struct DialogTemplate {
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  DWORD exStyle = 0;
  std::u16string caption;
  int x = 0, y = 0, cx = 0, cy = 0;  // dialog units; cx, cy = client size
  std::vector<DialogItem> items;
};

// Dialog resources by id, as a module's resource file would provide them.
void RegisterDialogResource(UINT id, DialogTemplate t);
const DialogTemplate* FindDialogResource(UINT id);

HWND CreateDialogIndirectParamW(HINSTANCE, const DialogTemplate* t, HWND parent, DLGPROC proc, LPARAM param);
// Template names are MAKEINTRESOURCEW(id) of registered resources.
HWND CreateDialogParamW(HINSTANCE, LPCWSTR name, HWND parent, DLGPROC proc, LPARAM param);
INT_PTR DialogBoxIndirectParamW(HINSTANCE, const DialogTemplate* t, HWND parent, DLGPROC proc, LPARAM param);
INT_PTR DialogBoxParamW(HINSTANCE, LPCWSTR name, HWND parent, DLGPROC proc, LPARAM param);
// Marks the dialog as ended with a result; the modal loop returns it.
BOOL EndDialog(HWND dlg, INT_PTR result);
LRESULT DefDlgProcW(HWND h, UINT msg, WPARAM w, LPARAM l);
// Handles the dialog keys (Tab, Enter, Escape) for messages of the dialog
// and its controls, and dispatches the others. TRUE when it took the message.
BOOL IsDialogMessageW(HWND dlg, MSG* msg);
// Dialog units to pixels through the dialog font (7 x 13 cells: 4 horizontal
// units per average character width, 8 vertical units per character height).
BOOL MapDialogRect(HWND dlg, RECT* r);
LONG GetDialogBaseUnits();
HWND GetNextDlgTabItem(HWND dlg, HWND ctl, BOOL previous);
HWND GetNextDlgGroupItem(HWND dlg, HWND ctl, BOOL previous);
LRESULT SendDlgItemMessageW(HWND dlg, int id, UINT msg, WPARAM w, LPARAM l);
BOOL SetDlgItemTextW(HWND dlg, int id, LPCWSTR text);
UINT GetDlgItemTextW(HWND dlg, int id, LPWSTR buf, int max);
BOOL SetDlgItemInt(HWND dlg, int id, UINT value, BOOL isSigned);
UINT GetDlgItemInt(HWND dlg, int id, BOOL* ok, BOOL isSigned);
BOOL CheckDlgButton(HWND dlg, int id, UINT check);
UINT IsDlgButtonChecked(HWND dlg, int id);

// ---- toolkit extensions ----
namespace zrui {

// Runs the modal loop of an already created dialog: disables its owner,
// shows it, pumps messages until EndDialog, re-enables the owner. The dialog
// is not destroyed. Returns the result given to EndDialog.
INT_PTR RunModalLoop(HWND dlg);
bool IsDialogEnded(HWND dlg);
// Processes one queued message as a modal loop does: PreTranslateMessage of
// the C++ layer, dialog keys, translation and dispatch.
void ProcessQueuedMessage(MSG& msg);

}  // namespace zrui

// Builders that read like a resource script. Each adds WS_CHILD | WS_VISIBLE
// and the kind's usual styles; `style` is or-ed in, `remove` taken out
// (for example WS_VISIBLE or WS_TABSTOP).
namespace zrui::rc {

DialogItem LTEXT(std::u16string text, int id, int x, int y, int cx, int cy, DWORD style = 0);
DialogItem CTEXT(std::u16string text, int id, int x, int y, int cx, int cy, DWORD style = 0);
DialogItem RTEXT(std::u16string text, int id, int x, int y, int cx, int cy, DWORD style = 0);
DialogItem PUSHBUTTON(std::u16string text, int id, int x, int y, int cx, int cy, DWORD style = 0);
DialogItem DEFPUSHBUTTON(std::u16string text, int id, int x, int y, int cx, int cy, DWORD style = 0);
DialogItem GROUPBOX(std::u16string text, int id, int x, int y, int cx, int cy, DWORD style = 0);
DialogItem CHECKBOX(std::u16string text, int id, int x, int y, int cx, int cy, DWORD style = 0);
DialogItem EDITTEXT(int id, int x, int y, int cx, int cy, DWORD style = 0);
DialogItem COMBOBOX(int id, int x, int y, int cx, int cy, DWORD style = 0);
DialogItem CONTROL(std::u16string text, int id, std::u16string className, DWORD style, int x, int y,
                   int cx, int cy, DWORD exStyle = 0);
// Removes style bits from an item (the "NOT WS_VISIBLE" of resource scripts).
DialogItem NOT(DialogItem item, DWORD remove);

}  // namespace zrui::rc
