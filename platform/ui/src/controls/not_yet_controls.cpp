// List view, header, tree view, tab control and tooltip classes are
// registered but not implemented yet: their windows behave as plain windows.
#include "controls/builtin.h"
namespace zrui::detail {
LRESULT CALLBACK ListViewProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }
LRESULT CALLBACK HeaderProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }
LRESULT CALLBACK TreeViewProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }
LRESULT CALLBACK TabControlProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }
LRESULT CALLBACK TooltipProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }
}  // namespace zrui::detail
