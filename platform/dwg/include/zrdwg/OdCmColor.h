#pragma once
// OdCmColor: a colour as drawings store it, a colour method in the top byte and
// either an index of the standard 256-entry palette or red, green and blue below.

#include <cstdint>

class OdCmEntityColor {
 public:
  enum ColorMethod : uint8_t {
    kByLayer = 0xC0,
    kByBlock = 0xC1,
    kByColor = 0xC2,
    kByACI = 0xC3,
    kByPen = 0xC4,
    kForeground = 0xC5,
    kByDgnIndex = 0xC7,
    kNone = 0xC8,
  };
  // Red, green and blue of a palette index packed as 0xRRGGBB; indices outside
  // 0..255 give black.
  static uint32_t lookUpRGB(int colorIndex);
};

class OdCmColor {
 public:
  // By layer (index 256), as a new entity's colour is.
  OdCmColor() = default;

  // The colour method (top byte).
  OdCmEntityColor::ColorMethod colorMethod() const { return static_cast<OdCmEntityColor::ColorMethod>(rgbm_ >> 24); }
  // Replaces the method and keeps the lower three bytes.
  void setColorMethod(OdCmEntityColor::ColorMethod method) { rgbm_ = (rgbm_ & 0x00FFFFFFu) | (uint32_t(method) << 24); }

  // Index 0 means by block, 256 by layer, 1..255 an entry of the palette.
  // The method follows the index (kByBlock, kByLayer or kByACI).
  void setColorIndex(int colorIndex);
  // The index of a by-block, by-layer or palette colour; -1 for any other method.
  int colorIndex() const;
  // The whole packed value: method in the top byte, then red, green, blue.
  void setColor(uint32_t rgbm) { rgbm_ = rgbm; }
  // The packed value as setColor takes it.
  uint32_t color() const { return rgbm_; }
  // A true colour (method kByColor).
  void setRGB(uint8_t red, uint8_t green, uint8_t blue);

  // For a palette colour, the palette entry's components; otherwise the packed bytes.
  uint8_t red() const { return static_cast<uint8_t>(rgb() >> 16); }
  // Green, as red() reads it.
  uint8_t green() const { return static_cast<uint8_t>(rgb() >> 8); }
  // Blue, as red() reads it.
  uint8_t blue() const { return static_cast<uint8_t>(rgb()); }

  // Same method and same value.
  friend bool operator==(const OdCmColor& a, const OdCmColor& b) { return a.rgbm_ == b.rgbm_; }

 private:
  uint32_t rgb() const;
  uint32_t rgbm_ = uint32_t(OdCmEntityColor::kByLayer) << 24 | 256;
};
