// RenderWindow: paints a window tree onto a text grid through the same
// WM_PAINT code that draws on any device context.
#include <algorithm>

#include "controls/builtin.h"
#include "core/window_store.h"
#include "render/grid_surface.h"

namespace zrui {
namespace {

using namespace zrui::detail;

// The frame and caption of a top-level window (its non-client area).
void PaintFrame(HWND root, Surface* surface) {
  DWORD style = WindowStyle(root);
  RECT in = FrameInsets(style, (style & WS_CHILD) != 0);
  if (!in.left && !in.top) return;
  RECT wr;
  GetWindowRect(root, &wr);
  RECT r{0, 0, wr.right - wr.left, wr.bottom - wr.top};
  surface->Fill(r, GetSysColor(COLOR_BTNFACE), r);
  surface->Frame(r, GetSysColor(COLOR_WINDOWFRAME), r);
  std::u16string caption = GetWindowTextString(root);
  if ((style & WS_CAPTION) == WS_CAPTION && !caption.empty()) {
    TextStyle st;
    st.color = GetSysColor(COLOR_CAPTIONTEXT);
    st.opaque = false;
    surface->Text(2 * kCharWidth, 0, u" " + caption + u" ", st, r);
  }
}

void PaintTree(HWND h) {
  if (!(WindowStyle(h) & WS_VISIBLE)) return;
  SendMessageW(h, WM_PAINT, 0, 0);
  for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) PaintTree(c);
}

// Parts drawn outside their window's rectangle (dropped combo lists).
void PaintOverlays(HWND h, HWND root, Surface* surface) {
  if (!(WindowStyle(h) & WS_VISIBLE)) return;
  if (GetClassNameString(h) == WC_COMBOBOXW && SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0)) {
    RECT rr;
    GetWindowRect(root, &rr);
    POINT o{0, 0};
    ClientToScreen(h, &o);
    // The list hangs below the field, over anything else in the window.
    HDC dc = MakeDC(surface, POINT{o.x - rr.left, o.y - rr.top}, surface->Bounds(), h);
    SendMessageW(h, ZM_PAINTOVERLAY, reinterpret_cast<WPARAM>(dc), 0);
    DeleteDC(dc);
  }
  for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) PaintOverlays(c, root, surface);
}

}  // namespace

TextGrid RenderWindow(HWND root) {
  RECT wr{};
  if (!GetWindowRect(root, &wr)) return TextGrid(0, 0);
  int w = (wr.right - wr.left + kCharWidth - 1) / kCharWidth;
  int hgt = (wr.bottom - wr.top + kCharHeight - 1) / kCharHeight;
  TextGrid grid(w, hgt);
  GridSurface surface(&grid);
  HWND prevRoot = nullptr;
  POINT prevOrigin{};
  Surface* prev = PaintTarget(&prevRoot, &prevOrigin);
  SetPaintTarget(&surface, root, POINT{wr.left, wr.top});
  PaintFrame(root, &surface);
  PaintTree(root);
  PaintOverlays(root, root, &surface);
  // Visible popups owned by the window (tooltips) come last, on top.
  std::vector<HWND> owned;
  {
    std::lock_guard lock(WindowStore::mutex());
    for (HWND t : WindowStore::topLevelWindows())
      if (WindowRecord* r = WindowStore::find(t); r && r->owner == root && (r->style & WS_VISIBLE)) owned.push_back(t);
  }
  for (HWND o : owned) PaintTree(o);
  SetPaintTarget(prev, prevRoot, prevOrigin);
  return grid;
}

}  // namespace zrui
