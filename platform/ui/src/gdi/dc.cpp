// Device contexts: state, object selection and drawing calls.
#include <algorithm>
#include <mutex>
#include <utility>

#include "core/window_store.h"
#include "gdi/gdi_objects.h"
#include "zrui/cellwidth.h"
#include "zrui/winapi.h"

namespace zrui::detail {
namespace {

thread_local Surface* tl_target = nullptr;
thread_local HWND tl_targetRoot = nullptr;
thread_local POINT tl_targetOrigin{};

RECT Intersect(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

}  // namespace

HDC MakeDC(Surface* surface, POINT org, RECT clip, HWND window) {
  auto* dc = new DCObj;
  dc->surface = surface;
  dc->st.org = org;
  dc->st.clip = Intersect(clip, surface->Bounds());
  dc->st.font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  dc->st.brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  dc->window = window;
  RegisterGdi(dc);
  return reinterpret_cast<HDC>(static_cast<GdiObject*>(dc));
}

HDC MakeOwningDC(std::unique_ptr<Surface> surface, HWND window) {
  Surface* s = surface.get();
  HDC h = MakeDC(s, POINT{}, s->Bounds(), window);
  DcOf(h)->owned = std::move(surface);
  return h;
}

void SetPaintTarget(Surface* surface, HWND root, POINT origin) {
  tl_target = surface;
  tl_targetRoot = root;
  tl_targetOrigin = origin;
}

Surface* PaintTarget(HWND* root, POINT* origin) {
  *root = tl_targetRoot;
  *origin = tl_targetOrigin;
  return tl_target;
}

}  // namespace zrui::detail

using namespace zrui::detail;

namespace {

// A DC for a window's client area: on the paint target when the window is
// part of the tree being rendered, otherwise on a surface that drops output.
HDC WindowDC(HWND h) {
  HWND root = nullptr;
  POINT origin{};
  Surface* target = PaintTarget(&root, &origin);
  HWND top = GetAncestor(h, GA_ROOT);
  if (target && top && (top == root || GetWindow(top, GW_OWNER) == root)) {
    POINT o{0, 0};
    ClientToScreen(h, &o);
    RECT cr;
    GetClientRect(h, &cr);
    RECT clip{o.x, o.y, o.x + cr.right, o.y + cr.bottom};
    for (HWND a = h; a && a != top;) {
      a = GetParent(a);
      if (!a) break;
      POINT ao{0, 0};
      ClientToScreen(a, &ao);
      RECT ac;
      GetClientRect(a, &ac);
      RECT ar{ao.x, ao.y, ao.x + ac.right, ao.y + ac.bottom};
      clip = Intersect(clip, ar);
    }
    OffsetRect(&clip, -origin.x, -origin.y);
    return MakeDC(target, POINT{o.x - origin.x, o.y - origin.y}, clip, h);
  }
  HDC dc = MakeOwningDC(MakeNullSurface(), h);
  return dc;
}

TextStyle StyleOf(DCObj* dc) {
  TextStyle st;
  st.color = dc->st.text;
  st.background = dc->st.bk;
  st.opaque = dc->st.bkMode == OPAQUE;
  st.font = dc->st.font;
  if (FontObj* f = FontOf(dc->st.font)) {
    st.bold = f->lf.lfWeight >= FW_BOLD;
    st.italic = f->lf.lfItalic != 0;
    st.underline = f->lf.lfUnderline != 0;
  }
  return st;
}

RECT ToSurface(DCObj* dc, const RECT& r) {
  RECT s = r;
  OffsetRect(&s, dc->st.org.x, dc->st.org.y);
  return s;
}

}  // namespace

HDC BeginPaint(HWND h, PAINTSTRUCT* ps) {
  {
    std::lock_guard lock(WindowStore::mutex());
    if (WindowRecord* r = WindowStore::find(h)) r->dirty = false;
  }
  HDC dc = WindowDC(h);
  if (ps) {
    ps->hdc = dc;
    ps->fErase = TRUE;
    GetClientRect(h, &ps->rcPaint);
  }
  return dc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* ps) { return ps ? DeleteDC(ps->hdc) : FALSE; }
HDC GetDC(HWND h) { return WindowDC(h); }
int ReleaseDC(HWND, HDC dc) { return DeleteDC(dc); }

HDC CreateCompatibleDC(HDC) {
  HDC h = MakeOwningDC(MakeNullSurface(), nullptr);
  DcOf(h)->memory = true;
  return h;
}

BOOL DeleteDC(HDC h) {
  DCObj* dc = DcOf(h);
  if (!dc) return FALSE;
  // Deleting the DC releases the bitmap selected into it; the bitmap lives on.
  UnregisterGdi(dc);
  delete dc;
  return TRUE;
}

HWND WindowFromDC(HDC h) {
  DCObj* dc = DcOf(h);
  return dc ? dc->window : nullptr;
}

HGDIOBJ SelectObject(HDC h, HGDIOBJ obj) {
  DCObj* dc = DcOf(h);
  GdiObject* o = LookupGdi(obj);
  if (!dc || !o) return nullptr;
  switch (o->kind) {
    case GdiKind::Font: {
      HFONT old = dc->st.font;
      dc->st.font = static_cast<HFONT>(obj);
      return old;
    }
    case GdiKind::Brush: {
      HBRUSH old = dc->st.brush;
      dc->st.brush = static_cast<HBRUSH>(obj);
      return old;
    }
    case GdiKind::Bitmap: {
      if (!dc->memory) return nullptr;
      HBITMAP old = dc->bitmap;
      auto* b = static_cast<BitmapObj*>(o);
      dc->bitmap = static_cast<HBITMAP>(obj);
      dc->owned = MakeBitmapSurface(b);
      dc->surface = dc->owned.get();
      dc->st.clip = RECT{0, 0, b->width, b->height};
      return old;
    }
    default: return nullptr;
  }
}

HGDIOBJ GetCurrentObject(HDC h, UINT type) {
  DCObj* dc = DcOf(h);
  if (!dc) return nullptr;
  if (type == OBJ_FONT) return dc->st.font;
  if (type == OBJ_BRUSH) return dc->st.brush;
  if (type == OBJ_BITMAP) return dc->bitmap;
  return nullptr;
}

COLORREF SetTextColor(HDC h, COLORREF c) {
  DCObj* dc = DcOf(h);
  if (!dc) return CLR_INVALID;
  return std::exchange(dc->st.text, c);
}
COLORREF GetTextColor(HDC h) {
  DCObj* dc = DcOf(h);
  return dc ? dc->st.text : CLR_INVALID;
}
COLORREF SetBkColor(HDC h, COLORREF c) {
  DCObj* dc = DcOf(h);
  if (!dc) return CLR_INVALID;
  return std::exchange(dc->st.bk, c);
}
COLORREF GetBkColor(HDC h) {
  DCObj* dc = DcOf(h);
  return dc ? dc->st.bk : CLR_INVALID;
}
int SetBkMode(HDC h, int mode) {
  DCObj* dc = DcOf(h);
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  return std::exchange(dc->st.bkMode, mode);
}
int GetBkMode(HDC h) {
  DCObj* dc = DcOf(h);
  return dc ? dc->st.bkMode : 0;
}

BOOL SetViewportOrgEx(HDC h, int x, int y, POINT* old) {
  DCObj* dc = DcOf(h);
  if (!dc) return FALSE;
  if (old) *old = dc->st.org;
  dc->st.org = POINT{x, y};
  return TRUE;
}
BOOL GetViewportOrgEx(HDC h, POINT* out) {
  DCObj* dc = DcOf(h);
  if (!dc || !out) return FALSE;
  *out = dc->st.org;
  return TRUE;
}
int SaveDC(HDC h) {
  DCObj* dc = DcOf(h);
  if (!dc) return 0;
  dc->saved.push_back(dc->st);
  return static_cast<int>(dc->saved.size());
}
BOOL RestoreDC(HDC h, int saved) {
  DCObj* dc = DcOf(h);
  if (!dc || dc->saved.empty()) return FALSE;
  size_t n = saved < 0 ? dc->saved.size() - static_cast<size_t>(-saved) : static_cast<size_t>(saved - 1);
  if (n >= dc->saved.size()) return FALSE;
  dc->st = dc->saved[n];
  dc->saved.resize(n);
  return TRUE;
}
int GetDeviceCaps(HDC h, int index) {
  DCObj* dc = DcOf(h);
  if (!dc || index != TECHNOLOGY) return 0;
  return dc->surface && dc->surface->CharacterCells() ? DT_CHARSTREAM : DT_RASDISPLAY;
}

int IntersectClipRect(HDC h, int l, int t, int r, int b) {
  DCObj* dc = DcOf(h);
  if (!dc) return 0;
  RECT c = ToSurface(dc, RECT{l, t, r, b});
  dc->st.clip = Intersect(dc->st.clip, c);
  return 2;
}

BOOL TextOutW(HDC h, int x, int y, LPCWSTR text, int count) {
  DCObj* dc = DcOf(h);
  if (!dc || !text) return FALSE;
  std::u16string_view s(text, count < 0 ? std::char_traits<char16_t>::length(text) : static_cast<size_t>(count));
  dc->surface->Text(x + dc->st.org.x, y + dc->st.org.y, s, StyleOf(dc), dc->st.clip);
  return TRUE;
}

BOOL ExtTextOutW(HDC h, int x, int y, UINT options, const RECT* r, LPCWSTR text, UINT count, const int*) {
  DCObj* dc = DcOf(h);
  if (!dc) return FALSE;
  RECT clip = dc->st.clip;
  if (r && (options & ETO_OPAQUE)) dc->surface->Fill(ToSurface(dc, *r), dc->st.bk, clip);
  if (r && (options & ETO_CLIPPED)) clip = Intersect(clip, ToSurface(dc, *r));
  if (text && count) {
    dc->surface->Text(x + dc->st.org.x, y + dc->st.org.y, std::u16string_view(text, count), StyleOf(dc), clip);
  }
  return TRUE;
}

BOOL GetTextExtentPoint32W(HDC, LPCWSTR text, int count, SIZE* out) {
  if (!out) return FALSE;
  if (!text) count = 0;
  out->cx = text && count > 0 ? zrui::TextCells(std::u16string_view(text, static_cast<size_t>(count))) * kCharWidth : 0;
  out->cy = kCharHeight;
  return TRUE;
}

BOOL GetTextMetricsW(HDC h, TEXTMETRICW* tm) {
  DCObj* dc = DcOf(h);
  if (!tm) return FALSE;
  *tm = TEXTMETRICW{};
  if (dc)
    if (FontObj* f = FontOf(dc->st.font)) tm->tmWeight = f->lf.lfWeight;
  return TRUE;
}

int FillRect(HDC h, const RECT* r, HBRUSH b) {
  DCObj* dc = DcOf(h);
  BrushObj* br = BrushOf(b);
  if (!dc || !r || !br) return 0;
  if (!br->hollow) dc->surface->Fill(ToSurface(dc, *r), br->color, dc->st.clip);
  return 1;
}

int FrameRect(HDC h, const RECT* r, HBRUSH b) {
  DCObj* dc = DcOf(h);
  BrushObj* br = BrushOf(b);
  if (!dc || !r || !br) return 0;
  dc->surface->Frame(ToSurface(dc, *r), br->color, dc->st.clip);
  return 1;
}

BOOL DrawFocusRect(HDC h, const RECT* r) {
  DCObj* dc = DcOf(h);
  if (!dc || !r) return FALSE;
  return TRUE;
}

COLORREF SetPixel(HDC h, int x, int y, COLORREF c) {
  DCObj* dc = DcOf(h);
  if (!dc) return CLR_INVALID;
  dc->surface->SetPixel(x + dc->st.org.x, y + dc->st.org.y, c, dc->st.clip);
  return c;
}

COLORREF GetPixel(HDC h, int x, int y) {
  DCObj* dc = DcOf(h);
  return dc ? dc->surface->Pixel(x + dc->st.org.x, y + dc->st.org.y) : CLR_INVALID;
}

BOOL BitBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int sx, int sy, DWORD) {
  DCObj* s = DcOf(src);
  if (!s) return FALSE;
  return DrawBitmap(dst, x, y, s->bitmap, sx, sy, cx, cy, CLR_NONE);
}

BOOL DrawBitmap(HDC h, int x, int y, HBITMAP hb, int sx, int sy, int cx, int cy, COLORREF mask) {
  DCObj* dc = DcOf(h);
  BitmapObj* b = BitmapOf(hb);
  if (!dc || !b) return FALSE;
  dc->surface->Blit(x + dc->st.org.x, y + dc->st.org.y, *b, sx, sy, cx, cy, mask, dc->st.clip);
  return TRUE;
}
