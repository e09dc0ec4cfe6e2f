// The process-wide window table. A record holds everything the core knows
// about a window; controls keep their own state behind `control`.
// Every field is guarded by WindowStore::mutex(); callers copy values out
// under the lock and never call a window procedure while holding it.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "zrui/winapi.h"

namespace zrui::detail {

using DLGPROC_T = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

struct DialogData {
  DLGPROC_T proc = nullptr;
  LONG_PTR msgResult = 0;
  LONG_PTR user = 0;
  INT_PTR result = 0;
  bool ended = false;
  UINT defId = 0;
  HWND lastFocus = nullptr;
  HFONT font = nullptr;
};

struct WindowRecord {
  HWND handle = nullptr;
  std::u16string className;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  UINT_PTR id = 0;
  HWND parent = nullptr;            // child windows
  HWND owner = nullptr;             // top-level windows
  std::vector<HWND> children;       // creation order = tab order
  RECT rect;                        // parent client coords, or screen
  unsigned long long zorder = 0;    // top-level windows: higher is nearer the top
  std::u16string text;
  std::thread::id thread;
  LONG_PTR userData = 0;
  bool destroying = false;
  SCROLLINFO scroll[2];             // SB_HORZ, SB_VERT
  bool dirty = true;                // needs painting
  std::unique_ptr<DialogData> dialog;
  // State of a built-in control, owned by the record (freed with it).
  std::shared_ptr<void> control;
  // The C++ object attached to the window (see the MFC-shaped layer), and a
  // temporary one made on request for windows without an attached object.
  void* object = nullptr;
  std::shared_ptr<void> tempObject;
};

class WindowStore {
 public:
  static std::mutex& mutex();
  // All lookups return nullptr for unknown or destroyed handles.
  // REQUIRES: mutex() held.
  static WindowRecord* find(HWND h);
  static HWND add(std::unique_ptr<WindowRecord> rec);
  static std::unique_ptr<WindowRecord> remove(HWND h);
  // Top-level windows bottom to top: z-order, with WS_EX_TOPMOST windows
  // (tooltips) above all others. A new window starts on top of its band.
  static std::vector<HWND> topLevelWindows();
  // Brings a top-level window to the top of its band, with the windows it
  // owns (directly or through other owned windows) kept above it in their
  // order, so an owner never covers its modal dialog or dropped list.
  static void raise(HWND h);
};

// Marks a window as needing paint and counts a change of the screen.
// REQUIRES: WindowStore::mutex() held.
void MarkDirty(WindowRecord* r);
// A counter that grows with every change that may alter what the screen
// shows (invalidation, text, geometry, visibility, windows made or gone).
unsigned long long ScreenGeneration();
// Counts a change of the screen that belongs to no window record (the caret).
// Any thread; makes ScreenChangeFd() readable when it is armed.
void NoteScreenChange();
// An eventfd that turns readable at the first change after ArmScreenChange().
// Made on first use, never closed.
int ScreenChangeFd();
// Drains the eventfd and arms it again.
void ArmScreenChange();

// Shorthands that lock, read one value and unlock.
std::thread::id WindowThread(HWND h, bool* ok);
WNDPROC WindowProc(HWND h);
HWND WindowParent(HWND h);
DWORD WindowStyle(HWND h);
// Non-client insets: top-level windows with a caption or frame draw a
// one-cell frame around their client area (7 pixels wide, 13 high); in the
// text profile bordered children of at least 3 x 3 cells do too.
RECT FrameInsets(DWORD style, bool child, int width = 0, int height = 0);
// The same for a window record. REQUIRES: WindowStore::mutex() held.
RECT FrameInsetsOf(const WindowRecord* r);

// Control state access. REQUIRES: called on the window's thread.
template <typename T>
T* ControlState(HWND h) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(h);
  return r ? static_cast<T*>(r->control.get()) : nullptr;
}
void SetControlState(HWND h, std::shared_ptr<void> state);

// Runs a window procedure for a message delivered on the current thread.
LRESULT Deliver(HWND h, UINT msg, WPARAM w, LPARAM l);

}  // namespace zrui::detail
