// Painting windows onto a surface (the character grid, a pixel canvas)
// through the same WM_PAINT code that draws on any device context, with
// what the toolkit adds around the controls' own painting: frames and
// captions of top-level windows, borders of bordered children, scroll
// indicators, and container frames on top of their neighbours.
#include "render/render_paint.h"

#include <algorithm>

#include "controls/builtin.h"
#include "core/close_box.h"
#include "core/window_store.h"
#include "zrui/commctrl.h"
#include "zrui/metrics.h"

namespace zrui::detail {
namespace {

RECT Intersect(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

RECT Offset(RECT r, POINT by) {
  OffsetRect(&r, -by.x, -by.y);
  return r;
}

// The part of the screen where a window may draw its non-client parts: its
// window rectangle within the client areas of its ancestors.
RECT VisibleWindowRect(HWND h) {
  RECT wr;
  GetWindowRect(h, &wr);
  for (HWND a = GetParent(h); a; a = GetParent(a)) {
    POINT o{0, 0};
    ClientToScreen(a, &o);
    RECT c;
    GetClientRect(a, &c);
    OffsetRect(&c, o.x, o.y);
    wr = Intersect(wr, c);
  }
  return wr;
}

bool IsVisibleTree(HWND h) { return (WindowStyle(h) & WS_VISIBLE) != 0; }

// The frame and caption of a top-level window (its non-client area).
void PaintTopFrame(HWND top, Surface* surface, POINT origin) {
  DWORD style = WindowStyle(top);
  RECT in = FrameInsets(style, false);
  if (!in.left && !in.top) return;
  RECT wr;
  GetWindowRect(top, &wr);
  RECT r = Offset(wr, origin);
  RECT clip = Intersect(r, surface->Bounds());
  surface->Fill(r, GetSysColor(COLOR_BTNFACE), clip);
  bool captioned = (style & WS_CAPTION) == WS_CAPTION;
  // The title bar is the top band of the frame, in the caption colour.
  if (captioned) surface->Fill(RECT{r.left, r.top, r.right, r.top + in.top}, GetSysColor(COLOR_ACTIVECAPTION), clip);
  surface->Frame(r, GetSysColor(COLOR_WINDOWFRAME), clip);
  std::u16string caption = GetWindowTextString(top);
  if (captioned && !caption.empty()) {
    TextStyle st;
    st.color = GetSysColor(COLOR_CAPTIONTEXT);
    st.opaque = false;
    st.bold = true;
    surface->Text(r.left + 2 * kCharWidth, r.top, u" " + caption + u" ", st, clip);
  }
  // The close box, over a caption too long for the bar.
  RECT box{};
  if (CloseBoxRect(top, &box)) {
    TextStyle st;
    st.color = GetSysColor(COLOR_CAPTIONTEXT);
    st.opaque = false;
    st.bold = true;
    surface->Fill(Offset(box, origin), GetSysColor(COLOR_ACTIVECAPTION), clip);
    surface->Text(box.left - origin.x, box.top - origin.y, u"[x]", st, clip);
  }
}

// Scroll indicators of a window whose content does not fit: on the right
// (vertical) and bottom (horizontal) edge of its border, or of its client
// area when it has no border cells. Arrows at the ends, a thumb between.
void PaintScrollIndicators(HWND h, Surface* surface, POINT origin, const RECT& clip) {
  RECT wr;
  GetWindowRect(h, &wr);
  RECT r = Offset(wr, origin);
  TextStyle st;
  st.color = GetSysColor(COLOR_BTNSHADOW);
  st.opaque = false;
  const int cw = kCharWidth, ch = kCharHeight;
  SCROLLINFO v;
  v.fMask = SIF_ALL;
  if (GetScrollInfo(h, SB_VERT, &v) && v.nPage > 0 && v.nMax - v.nMin + 1 > static_cast<int>(v.nPage)) {
    int x = r.right - cw;
    int top = r.top + ch, bottom = r.bottom - 2 * ch;  // between the arrows
    surface->Text(x, r.top, u"^", st, clip);
    surface->Text(x, r.bottom - ch, u"v", st, clip);
    int span = std::max(bottom - top, 0) / ch + 1;
    int range = v.nMax - v.nMin + 1 - static_cast<int>(v.nPage);
    int at = range > 0 ? (v.nPos - v.nMin) * (span - 1) / range : 0;
    surface->Text(x, top + std::clamp(at, 0, span - 1) * ch, u"#", st, clip);
  }
  SCROLLINFO hz;
  hz.fMask = SIF_ALL;
  if (GetScrollInfo(h, SB_HORZ, &hz) && hz.nPage > 0 && hz.nMax - hz.nMin + 1 > static_cast<int>(hz.nPage)) {
    int y = r.bottom - ch;
    int left = r.left + cw, right = r.right - 3 * cw;
    surface->Text(r.left, y, u"<", st, clip);
    surface->Text(r.right - 2 * cw, y, u">", st, clip);
    int span = std::max(right - left, 0) / cw + 1;
    int range = hz.nMax - hz.nMin + 1 - static_cast<int>(hz.nPage);
    int at = range > 0 ? (hz.nPos - hz.nMin) * (span - 1) / range : 0;
    surface->Text(left + std::clamp(at, 0, span - 1) * cw, y, u"#", st, clip);
  }
}

// The border of a bordered child, on its own edge cells (text profile) or
// its edge pixels, in the focus colour while it has the focus.
void PaintBorder(HWND h, Surface* surface, POINT origin) {
  DWORD style = WindowStyle(h);
  DWORD ex = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_EXSTYLE));
  if (!(style & WS_BORDER) && !(ex & WS_EX_CLIENTEDGE)) return;
  RECT wr, cr;
  GetWindowRect(h, &wr);
  GetClientRect(h, &cr);
  // On the grid a border needs cells of its own; a field of one row (an
  // in-place editor, a single-line edit) shows without it.
  bool ownCells = cr.right < wr.right - wr.left;
  if (zrui::GetMetrics().snapToCells && !ownCells) return;
  RECT clip = Intersect(Offset(VisibleWindowRect(h), origin), surface->Bounds());
  bool focused = GetFocus() == h;
  surface->Frame(Offset(wr, origin), GetSysColor(focused ? COLOR_HIGHLIGHT : COLOR_BTNSHADOW), clip);
}

void PaintChildren(HWND h, Surface* surface, POINT origin) {
  if (!IsVisibleTree(h)) return;
  SendMessageW(h, WM_PAINT, 0, 0);
  // After the control: in the pixel profile the border lies on its edge pixels.
  if (WindowStyle(h) & WS_CHILD) PaintBorder(h, surface, origin);
  if ((WindowStyle(h) & (WS_VSCROLL | WS_HSCROLL)) || GetClassNameString(h) == WC_LISTVIEWW ||
      GetClassNameString(h) == WC_TREEVIEWW) {
    PaintScrollIndicators(h, surface, origin, Intersect(Offset(VisibleWindowRect(h), origin), surface->Bounds()));
  }
  for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) PaintChildren(c, surface, origin);
}

// Container frames, after everything inside the window has painted.
void PaintContainerFrames(HWND h) {
  if (!IsVisibleTree(h)) return;
  std::u16string cls = GetClassNameString(h);
  bool group = cls == WC_BUTTONW && (WindowStyle(h) & BS_TYPEMASK) == BS_GROUPBOX;
  if (group || cls == WC_TABCONTROLW) {
    HDC dc = GetDC(h);
    SendMessageW(h, ZM_PAINTFRAME, reinterpret_cast<WPARAM>(dc), 0);
    ReleaseDC(h, dc);
  }
  for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) PaintContainerFrames(c);
}

// A framed popup without a caption (a dropped list) casts a shadow one cell
// to the right and below, so that it reads as lying over the dialog.
void PaintShadow(HWND top, Surface* surface, POINT origin) {
  DWORD style = WindowStyle(top);
  if (!surface->CharacterCells() || !(style & WS_POPUP) || !(style & WS_BORDER) || (style & WS_CAPTION) == WS_CAPTION)
    return;
  RECT wr;
  GetWindowRect(top, &wr);
  RECT r = Offset(wr, origin);
  RECT all = surface->Bounds();
  surface->Shadow(RECT{r.right, r.top + kCharHeight, r.right + kCharWidth, r.bottom + kCharHeight}, all);
  surface->Shadow(RECT{r.left + kCharWidth, r.bottom, r.right, r.bottom + kCharHeight}, all);
}

}  // namespace

void PaintTopLevel(HWND top, Surface* surface, POINT origin) {
  HWND prevRoot = nullptr;
  POINT prevOrigin{};
  Surface* prev = PaintTarget(&prevRoot, &prevOrigin);
  PaintShadow(top, surface, origin);
  SetPaintTarget(surface, top, origin);
  PaintTopFrame(top, surface, origin);
  PaintChildren(top, surface, origin);
  PaintContainerFrames(top);
  HWND owner = nullptr;
  POINT pos{};
  SIZE size{};
  if (GetCaretState(&owner, &pos, &size) && GetAncestor(owner, GA_ROOT) == top && IsWindowVisible(owner)) {
    ClientToScreen(owner, &pos);
    RECT clip = Intersect(Offset(VisibleWindowRect(owner), origin), surface->Bounds());
    surface->Caret(pos.x - origin.x, pos.y - origin.y, size.cy, clip);
  }
  SetPaintTarget(prev, prevRoot, prevOrigin);
}

std::vector<HWND> VisibleTopLevelWindows() {
  std::vector<HWND> out;
  std::lock_guard lock(WindowStore::mutex());
  for (HWND t : WindowStore::topLevelWindows()) {
    WindowRecord* r = WindowStore::find(t);
    if (r && (r->style & WS_VISIBLE) && !r->destroying) out.push_back(t);
  }
  return out;
}

std::vector<HWND> OwnedPopups(HWND owner) {
  std::vector<HWND> out;
  for (HWND t : VisibleTopLevelWindows()) {
    HWND o = GetWindow(t, GW_OWNER);
    if (o && (o == owner || GetAncestor(o, GA_ROOT) == owner)) out.push_back(t);
  }
  return out;
}

}  // namespace zrui::detail

namespace zrui {

using namespace zrui::detail;

TextGrid RenderWindow(HWND root) {
  RECT wr{};
  if (!GetWindowRect(root, &wr)) return TextGrid(0, 0);
  int w = (wr.right - wr.left + kCharWidth - 1) / kCharWidth;
  int hgt = (wr.bottom - wr.top + kCharHeight - 1) / kCharHeight;
  TextGrid grid(w, hgt);
  GridSurface surface(&grid);
  POINT origin{wr.left, wr.top};
  PaintTopLevel(root, &surface, origin);
  // Visible popups owned by the window (tooltips, dropped lists) come last, on top.
  for (HWND o : OwnedPopups(root)) PaintTopLevel(o, &surface, origin);
  return grid;
}

TextGrid RenderScreen(int columns, int rows, POINT pan) {
  TextGrid grid(columns, rows);
  GridSurface surface(&grid);
  RECT all{0, 0, columns * kCharWidth, rows * kCharHeight};
  surface.Fill(all, GetSysColor(COLOR_BACKGROUND), all);
  POINT origin{pan.x * kCharWidth, pan.y * kCharHeight};
  for (HWND t : VisibleTopLevelWindows()) PaintTopLevel(t, &surface, origin);
  return grid;
}

}  // namespace zrui
