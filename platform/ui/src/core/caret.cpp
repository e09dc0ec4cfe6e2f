// The caret: one per process, as a front end shows one text cursor.
#include <mutex>

#include "core/window_store.h"
#include "zrui/metrics.h"
#include "zrui/winapi.h"

namespace zrui {
namespace {

struct Caret {
  std::mutex m;
  HWND owner = nullptr;
  POINT pos{0, 0};
  SIZE size{1, 13};
  int hideCount = 1;  // created hidden, as the original does
};

Caret& TheCaret() {
  static Caret* c = new Caret;
  return *c;
}

}  // namespace

bool GetCaretState(HWND* owner, POINT* pos, SIZE* size) {
  Caret& c = TheCaret();
  HWND h = nullptr;
  {
    std::lock_guard lock(c.m);
    if (!c.owner || c.hideCount > 0) return false;
    h = c.owner;
    *pos = c.pos;
    *size = c.size;
  }
  // A caret left in a window that no longer shows is nowhere on the screen.
  if (!IsWindowVisible(h)) return false;
  *owner = h;
  return true;
}

}  // namespace zrui

using zrui::TheCaret;

BOOL CreateCaret(HWND h, HBITMAP, int width, int height) {
  zrui::detail::NoteScreenChange();
  if (!IsWindow(h)) return FALSE;
  auto& c = TheCaret();
  std::lock_guard lock(c.m);
  c.owner = h;
  c.pos = POINT{0, 0};
  c.size = SIZE{width > 0 ? width : 1, height > 0 ? height : zrui::GetMetrics().cellHeight};
  c.hideCount = 1;
  return TRUE;
}

BOOL DestroyCaret() {
  zrui::detail::NoteScreenChange();
  auto& c = TheCaret();
  std::lock_guard lock(c.m);
  if (!c.owner) return FALSE;
  c.owner = nullptr;
  return TRUE;
}

BOOL SetCaretPos(int x, int y) {
  auto& c = TheCaret();
  std::lock_guard lock(c.m);
  if (!c.owner) return FALSE;
  // Fields place their caret while painting: only a move is a change.
  if (c.pos.x != x || c.pos.y != y) zrui::detail::NoteScreenChange();
  c.pos = POINT{x, y};
  return TRUE;
}

BOOL GetCaretPos(POINT* p) {
  auto& c = TheCaret();
  std::lock_guard lock(c.m);
  if (!p) return FALSE;
  *p = c.pos;
  return TRUE;
}

BOOL ShowCaret(HWND h) {
  zrui::detail::NoteScreenChange();
  auto& c = TheCaret();
  std::lock_guard lock(c.m);
  if (!c.owner || (h && h != c.owner)) return FALSE;
  if (c.hideCount > 0) --c.hideCount;
  return TRUE;
}

BOOL HideCaret(HWND h) {
  zrui::detail::NoteScreenChange();
  auto& c = TheCaret();
  std::lock_guard lock(c.m);
  if (!c.owner || (h && h != c.owner)) return FALSE;
  ++c.hideCount;
  return TRUE;
}
