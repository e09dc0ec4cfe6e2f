#include "controls/builtin.h"

#include "controls/combobox.h"

#include "core/class_registry.h"
#include "zrui/commctrl.h"

namespace zrui::detail {

const std::vector<BuiltinClass>& BuiltinClasses() {
  static const std::vector<BuiltinClass> classes = {
      {WC_BUTTONW, ButtonProc},
      {WC_STATICW, StaticProc},
      {WC_EDITW, EditProc},
      {WC_COMBOBOXW, ComboBoxProc},
      {WC_DIALOGW, DialogClassProc},
      {WC_LISTVIEWW, ListViewProc},
      {WC_HEADERW, HeaderProc},
      {WC_TREEVIEWW, TreeViewProc},
      {WC_TABCONTROLW, TabControlProc},
      {TOOLTIPS_CLASSW, TooltipProc},
      {kComboListClass, ComboListProc},
  };
  return classes;
}

namespace {
// The built-in classes exist as soon as the library is loaded.
[[maybe_unused]] const bool g_registered = [] {
  for (const BuiltinClass& b : BuiltinClasses()) RegisterSystemClass(b.name, b.proc);
  return true;
}();
}  // namespace

void NotifyCommand(HWND h, UINT code) {
  HWND parent = GetParent(h);
  if (!parent) return;
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(h)), static_cast<WORD>(code)),
               reinterpret_cast<LPARAM>(h));
}

LRESULT NotifyParent(HWND h, NMHDR* hdr, UINT code) {
  HWND parent = GetParent(h);
  if (!parent) return 0;
  hdr->hwndFrom = h;
  hdr->idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(h));
  hdr->code = code;
  return SendMessageW(parent, WM_NOTIFY, hdr->idFrom, reinterpret_cast<LPARAM>(hdr));
}

HFONT ControlFont(HFONT stored) {
  return stored ? stored : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HBRUSH CtlColor(HWND h, HDC dc, UINT msg) {
  HWND parent = GetParent(h);
  LRESULT r = parent ? SendMessageW(parent, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(h))
                     : DefWindowProcW(h, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(h));
  auto* brush = reinterpret_cast<HBRUSH>(r);
  if (!brush) brush = reinterpret_cast<HBRUSH>(DefWindowProcW(h, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(h)));
  RECT rc;
  GetClientRect(h, &rc);
  FillRect(dc, &rc, brush);
  return brush;
}

bool IsComboEdit(HWND h) {
  HWND p = GetParent(h);
  return p && GetDlgCtrlID(h) == IDC_COMBO_EDIT && GetClassNameString(p) == WC_COMBOBOXW;
}

int WheelRows(WPARAM w) { return -3 * GET_WHEEL_DELTA_WPARAM(w) / WHEEL_DELTA; }

}  // namespace zrui::detail
