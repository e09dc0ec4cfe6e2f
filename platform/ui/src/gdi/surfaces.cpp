// The null, bitmap and recording drawing surfaces.
#include <algorithm>

#include "gdi/gdi_objects.h"
#include "zrui/drawrecord.h"

namespace zrui::detail {
namespace {

RECT Clipped(const RECT& r, const RECT& clip) {
  return RECT{std::max(r.left, clip.left), std::max(r.top, clip.top), std::min(r.right, clip.right),
              std::min(r.bottom, clip.bottom)};
}

class NullSurface : public Surface {
 public:
  void Fill(const RECT&, COLORREF, const RECT&) override {}
  void Text(int, int, std::u16string_view, const TextStyle&, const RECT&) override {}
  void Blit(int, int, const BitmapObj&, int, int, int, int, COLORREF, const RECT&) override {}
  RECT Bounds() const override { return RECT{-100000, -100000, 100000, 100000}; }
};

class BitmapSurface : public Surface {
 public:
  explicit BitmapSurface(BitmapObj* b) : b_(b) {}
  void Fill(const RECT& r, COLORREF c, const RECT& clip) override {
    RECT k = Clipped(r, clip);
    for (int y = k.top; y < k.bottom; ++y)
      for (int x = k.left; x < k.right; ++x) SetPixel(x, y, c, clip);
  }
  void Text(int, int, std::u16string_view, const TextStyle&, const RECT&) override {}
  void Blit(int x, int y, const BitmapObj& src, int sx, int sy, int cx, int cy, COLORREF mask,
            const RECT& clip) override {
    for (int j = 0; j < cy; ++j)
      for (int i = 0; i < cx; ++i) {
        COLORREF c = src.at(sx + i, sy + j);
        if (c == CLR_INVALID || (mask != CLR_NONE && c == mask)) continue;
        SetPixel(x + i, y + j, c, clip);
      }
    // The copy shows as the glyphs of the part that was drawn.
    if (!src.glyphs.empty()) {
      b_->glyphs.clear();
      if (src.glyphCell <= 0) b_->glyphs = src.glyphs;
      else
        for (int gx = sx; gx < sx + cx; gx += src.glyphCell)
          if (static_cast<size_t>(gx / src.glyphCell) < src.glyphs.size())
            b_->glyphs += src.glyphs[static_cast<size_t>(gx / src.glyphCell)];
      b_->glyphCell = 0;
    }
  }
  COLORREF Pixel(int x, int y) override { return b_->at(x, y); }
  void SetPixel(int x, int y, COLORREF c, const RECT& clip) override {
    if (x < clip.left || y < clip.top || x >= clip.right || y >= clip.bottom) return;
    if (x < 0 || y < 0 || x >= b_->width || y >= b_->height) return;
    b_->pixels[static_cast<size_t>(y * b_->width + x)] = c;
  }
  RECT Bounds() const override { return RECT{0, 0, b_->width, b_->height}; }

 private:
  BitmapObj* b_;
};

class RecordingSurface : public Surface {
 public:
  RecordingSurface(int w, int h, std::vector<DrawOp>* ops) : w_(w), h_(h), ops_(ops) {}
  void Fill(const RECT& r, COLORREF c, const RECT& clip) override {
    DrawOp op;
    op.kind = DrawOp::Kind::Fill;
    op.rect = Clipped(r, clip);
    op.color = c;
    ops_->push_back(op);
  }
  void Frame(const RECT& r, COLORREF c, const RECT& clip) override {
    DrawOp op;
    op.kind = DrawOp::Kind::Frame;
    op.rect = Clipped(r, clip);
    op.color = c;
    ops_->push_back(op);
  }
  void Text(int x, int y, std::u16string_view s, const TextStyle& st, const RECT&) override {
    DrawOp op;
    op.kind = DrawOp::Kind::Text;
    op.rect = RECT{x, y, x + static_cast<LONG>(s.size()) * kCharWidth, y + kCharHeight};
    op.color = st.color;
    op.background = st.background;
    op.opaque = st.opaque;
    op.text = std::u16string(s);
    op.font = st.font;
    op.bold = st.bold;
    op.italic = st.italic;
    op.underline = st.underline;
    ops_->push_back(op);
  }
  void Blit(int x, int y, const BitmapObj& src, int sx, int, int cx, int cy, COLORREF,
            const RECT&) override {
    DrawOp op;
    op.kind = DrawOp::Kind::Image;
    op.rect = RECT{x, y, x + cx, y + cy};
    if (src.glyphs.empty()) op.text.assign(1, u'#');
    else if (src.glyphCell <= 0) op.text = src.glyphs;
    else if (static_cast<size_t>(sx / src.glyphCell) < src.glyphs.size())
      op.text = src.glyphs.substr(static_cast<size_t>(sx / src.glyphCell), 1);
    ops_->push_back(op);
  }
  RECT Bounds() const override { return RECT{0, 0, w_, h_}; }

 private:
  int w_, h_;
  std::vector<DrawOp>* ops_;
};

}  // namespace

std::unique_ptr<Surface> MakeNullSurface() { return std::make_unique<NullSurface>(); }
std::unique_ptr<Surface> MakeBitmapSurface(BitmapObj* b) { return std::make_unique<BitmapSurface>(b); }

}  // namespace zrui::detail

namespace zrui {

struct DrawRecorder::Impl {
  std::vector<DrawOp> ops;
};

DrawRecorder::DrawRecorder(int width, int height) : impl_(std::make_unique<Impl>()) {
  dc_ = detail::MakeOwningDC(std::make_unique<detail::RecordingSurface>(width, height, &impl_->ops), nullptr);
}

DrawRecorder::~DrawRecorder() { DeleteDC(dc_); }

const std::vector<DrawOp>& DrawRecorder::ops() const { return impl_->ops; }

std::vector<DrawOp> DrawRecorder::texts() const {
  std::vector<DrawOp> out;
  for (const DrawOp& op : impl_->ops)
    if (op.kind == DrawOp::Kind::Text) out.push_back(op);
  return out;
}

std::vector<DrawOp> DrawRecorder::fills() const {
  std::vector<DrawOp> out;
  for (const DrawOp& op : impl_->ops)
    if (op.kind == DrawOp::Kind::Fill) out.push_back(op);
  return out;
}

void DrawRecorder::clear() { impl_->ops.clear(); }

}  // namespace zrui
