// A device context that records what is drawn on it, for tests of owner and
// custom drawing: every fill, frame, text and image with its place, colours
// and font.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "zrui/gdi.h"

namespace zrui {

struct DrawOp {
  enum class Kind { Fill, Frame, Text, Image };
  Kind kind = Kind::Fill;
  RECT rect;                 // surface pixels; for text: (x, y, x + width, y + 13)
  COLORREF color = 0;        // fill colour or text colour
  COLORREF background = 0;   // text background (meaningful when opaque)
  bool opaque = false;       // text drawn with an opaque background
  std::u16string text;       // text, or the image's glyphs
  HFONT font = nullptr;      // font selected when the text was drawn
  bool bold = false;
  bool italic = false;
  bool underline = false;
};

class DrawRecorder {
 public:
  explicit DrawRecorder(int width = 2000, int height = 2000);
  ~DrawRecorder();
  DrawRecorder(const DrawRecorder&) = delete;
  DrawRecorder& operator=(const DrawRecorder&) = delete;

  // The recording DC; owned by the recorder.
  HDC dc() const { return dc_; }
  const std::vector<DrawOp>& ops() const;
  std::vector<DrawOp> texts() const;
  std::vector<DrawOp> fills() const;
  void clear();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  HDC dc_ = nullptr;
};

}  // namespace zrui
