// Simulated user input: every action goes through the thread's queue and
// the same processing as real input, then the queue is pumped.
#include "core/input_routing.h"
#include "core/message_queue.h"
#include "core/window_store.h"
#include "controls/builtin.h"
#include "zrui/testing.h"

using namespace zrui::detail;

namespace zrui {
namespace {

BYTE Mods(Keys k) {
  return static_cast<BYTE>((k.shift ? kModShift : 0) | (k.control ? kModControl : 0) | (k.alt ? kModAlt : 0));
}

WPARAM MouseFlags(Keys k, WPARAM buttons) {
  return buttons | (k.shift ? MK_SHIFT : 0) | (k.control ? MK_CONTROL : 0);
}

// The pointer is over `h` whatever lies on top of it: a test names the
// window it clicks. The capture still takes the message.
void PostMouse(HWND h, UINT msg, WPARAM w, POINT client, BYTE mods) { PostMouseTo(h, msg, w, client, mods); }

}  // namespace

bool ClickAt(HWND h, POINT p, Keys keys) {
  if (!CanTakeInput(h)) return false;
  BYTE mods = Mods(keys);
  PostMouse(h, WM_LBUTTONDOWN, MouseFlags(keys, MK_LBUTTON), p, mods);
  Pump();
  if (IsWindow(h)) PostMouse(h, WM_LBUTTONUP, MouseFlags(keys, 0), p, mods);
  Pump();
  return true;
}

bool Click(HWND h) {
  RECT rc;
  if (!GetClientRect(h, &rc)) return false;
  return ClickAt(h, POINT{rc.right / 2, rc.bottom / 2});
}

bool DoubleClickAt(HWND h, POINT p) {
  if (!ClickAt(h, p)) return false;
  if (!CanTakeInput(h)) return true;
  PostMouse(h, WM_LBUTTONDBLCLK, MK_LBUTTON, p, 0);
  PostMouse(h, WM_LBUTTONUP, 0, p, 0);
  Pump();
  return true;
}

bool RightClickAt(HWND h, POINT p) {
  if (!CanTakeInput(h)) return false;
  PostMouse(h, WM_RBUTTONDOWN, MK_RBUTTON, p, 0);
  PostMouse(h, WM_RBUTTONUP, 0, p, 0);
  Pump();
  return true;
}

bool MouseMove(HWND h, POINT p) {
  if (!CanTakeInput(h)) return false;
  PostMouse(h, WM_MOUSEMOVE, 0, p, 0);
  Pump();
  return true;
}

void PressKey(UINT vk, Keys keys) {
  if (!InputKeyDown(vk, keys)) return;
  Pump();
  InputKeyUp(vk, keys);
  Pump();
}

void Type(const std::u16string& text) {
  for (char16_t c : text) {
    if (!GetFocus() || !InputChar(c)) return;
    Pump();
  }
}

bool ChooseComboItem(HWND combo, int index) {
  if (!CanTakeInput(combo) || GetClassNameString(combo) != WC_COMBOBOXW) return false;
  LRESULT n = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  if (index < 0 || index >= n) return false;
  HWND f = GetFocus();
  if (f != combo && !IsChild(combo, f)) SetFocus(combo);
  PostInput(combo, ZM_USERCHOOSE, static_cast<WPARAM>(index), 0, 0);
  Pump();
  return true;
}

bool FocusByClick(HWND h) {
  if (!CanTakeInput(h)) return false;
  SetFocus(h);
  Pump();
  return true;
}

bool DragResize(HWND h, UINT edge, int width, int height) {
  if (!IsWindow(h) || (WindowStyle(h) & WS_CHILD)) return false;
  RECT r;
  GetWindowRect(h, &r);
  MINMAXINFO mmi;
  mmi.ptMinTrackSize = POINT{2 * kCharWidth, 2 * kCharHeight};
  mmi.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SendMessageW(h, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  width = std::clamp<int>(width, mmi.ptMinTrackSize.x, std::max(mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x));
  height = std::clamp<int>(height, mmi.ptMinTrackSize.y, std::max(mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y));
  bool left = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
  bool top = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
  bool horizontal = edge != WMSZ_TOP && edge != WMSZ_BOTTOM;
  bool vertical = edge != WMSZ_LEFT && edge != WMSZ_RIGHT;
  if (horizontal) {
    if (left) r.left = r.right - width;
    else r.right = r.left + width;
  }
  if (vertical) {
    if (top) r.top = r.bottom - height;
    else r.bottom = r.top + height;
  }
  SendMessageW(h, WM_SIZING, edge, reinterpret_cast<LPARAM>(&r));
  SetWindowPos(h, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  Pump();
  return true;
}

void CloseByTitleBar(HWND h) {
  PostMessageW(h, WM_SYSCOMMAND, SC_CLOSE, 0);
  Pump();
}

}  // namespace zrui
