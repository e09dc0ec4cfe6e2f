#include "core/window_store.h"

#include "zrui/metrics.h"

#include <algorithm>
#include <atomic>
#include <unordered_map>

namespace zrui::detail {
namespace {

struct Table {
  std::mutex mutex;
  std::unordered_map<HWND, std::unique_ptr<WindowRecord>> windows;
  // Handles are never reused, so a stale handle can never reach a new window.
  std::uintptr_t next = 0x10000;
  unsigned long long nextZ = 0;
};

Table& table() {
  static Table* t = new Table;  // never destroyed: windows may outlive statics
  return *t;
}

}  // namespace

std::mutex& WindowStore::mutex() { return table().mutex; }

WindowRecord* WindowStore::find(HWND h) {
  if (!h) return nullptr;
  auto& w = table().windows;
  auto it = w.find(h);
  return it == w.end() ? nullptr : it->second.get();
}

void MarkDirty(WindowRecord* r) {
  r->dirty = true;
  NoteScreenChange();
}

HWND WindowStore::add(std::unique_ptr<WindowRecord> rec) {
  NoteScreenChange();
  Table& t = table();
  HWND h = reinterpret_cast<HWND>(t.next);
  t.next += 4;
  rec->handle = h;
  rec->zorder = ++t.nextZ;
  t.windows.emplace(h, std::move(rec));
  return h;
}

std::unique_ptr<WindowRecord> WindowStore::remove(HWND h) {
  NoteScreenChange();
  auto& w = table().windows;
  auto it = w.find(h);
  if (it == w.end()) return nullptr;
  auto rec = std::move(it->second);
  w.erase(it);
  return rec;
}

std::vector<HWND> WindowStore::topLevelWindows() {
  std::vector<WindowRecord*> tops;
  for (auto& [h, rec] : table().windows)
    if (!(rec->style & WS_CHILD)) tops.push_back(rec.get());
  std::sort(tops.begin(), tops.end(), [](const WindowRecord* a, const WindowRecord* b) {
    bool ta = (a->exStyle & WS_EX_TOPMOST) != 0, tb = (b->exStyle & WS_EX_TOPMOST) != 0;
    return ta != tb ? tb : a->zorder < b->zorder;
  });
  std::vector<HWND> out;
  out.reserve(tops.size());
  for (const WindowRecord* r : tops) out.push_back(r->handle);
  return out;
}

namespace {

bool OwnedBy(HWND t, HWND owner) {
  WindowRecord* r = WindowStore::find(t);
  // Owner chains are short; the bound guards against a cycle made by hand.
  for (int depth = 0; r && r->owner && depth < 64; ++depth) {
    if (r->owner == owner) return true;
    r = WindowStore::find(r->owner);
  }
  return false;
}

}  // namespace

void WindowStore::raise(HWND h) {
  WindowRecord* r = find(h);
  if (!r || (r->style & WS_CHILD)) return;
  std::vector<HWND> order = topLevelWindows();
  std::vector<HWND> moving;
  for (HWND t : order)
    if (t == h || OwnedBy(t, h)) moving.push_back(t);
  for (HWND t : moving) find(t)->zorder = ++table().nextZ;
  // Only a real change of the stacking counts as a change of the screen.
  if (topLevelWindows() != order) MarkDirty(r);
}

std::thread::id WindowThread(HWND h, bool* ok) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(h);
  *ok = r != nullptr;
  return r ? r->thread : std::thread::id();
}

WNDPROC WindowProc(HWND h) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(h);
  return r ? r->proc : nullptr;
}

HWND WindowParent(HWND h) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(h);
  return r ? r->parent : nullptr;
}

DWORD WindowStyle(HWND h) {
  std::lock_guard lock(WindowStore::mutex());
  WindowRecord* r = WindowStore::find(h);
  return r ? r->style : 0;
}

RECT FrameInsets(DWORD style, bool child, int width, int height) {
  const zrui::Metrics& m = zrui::GetMetrics();
  if (child) {
    // In the text profile a bordered child draws its border on cells of its
    // own, when it is large enough to keep a client area (lists, trees);
    // small ones (in-place editors) draw it over their edge.
    bool roomy = width >= 3 * m.cellWidth && height >= 3 * m.cellHeight;
    if (m.snapToCells && (style & WS_BORDER) && roomy) return RECT{m.cellWidth, m.cellHeight, m.cellWidth, m.cellHeight};
    return RECT{};
  }
  if (!(style & (WS_CAPTION | WS_BORDER | WS_DLGFRAME | WS_THICKFRAME))) return RECT{};
  return m.frameInsets;
}

RECT FrameInsetsOf(const WindowRecord* r) {
  return FrameInsets(r->style, (r->style & WS_CHILD) != 0, r->rect.right - r->rect.left, r->rect.bottom - r->rect.top);
}

void SetControlState(HWND h, std::shared_ptr<void> state) {
  std::lock_guard lock(WindowStore::mutex());
  if (WindowRecord* r = WindowStore::find(h)) r->control = std::move(state);
}

}  // namespace zrui::detail
