#include "zrterm/colours.h"

#include <algorithm>
#include <array>
#include <climits>

namespace zrterm {

namespace {

struct Channels {
  int r, g, b;
};

Channels channels(Rgb c) {
  return {static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF)};
}

int luminance(Channels c) { return (c.r * 299 + c.g * 587 + c.b * 114) / 1000; }
int chroma(Channels c) { return std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b}); }

enum Hue { kRed, kYellow, kGreen, kCyan, kBlue, kMagenta };

Hue hueOf(Channels c) {
  const int max = std::max({c.r, c.g, c.b});
  const int delta = chroma(c);
  double h = 0;
  if (max == c.r) {
    h = 60.0 * (static_cast<double>(c.g - c.b) / delta);
  } else if (max == c.g) {
    h = 60.0 * (static_cast<double>(c.b - c.r) / delta + 2);
  } else {
    h = 60.0 * (static_cast<double>(c.r - c.g) / delta + 4);
  }
  if (h < 0) h += 360;
  if (h < 20 || h >= 330) return kRed;
  if (h < 75) return kYellow;  // orange and amber read as yellow
  if (h < 160) return kGreen;
  if (h < 200) return kCyan;
  if (h < 270) return kBlue;
  return kMagenta;
}

// Below this a colour is a grey.
constexpr int kGreyChroma = 40;

// ANSI indices in hue order.
constexpr short kAnsiOfHue[] = {1, 3, 2, 6, 4, 5};

TermColour eightColours(Channels c) {
  if (chroma(c) < kGreyChroma) {
    const int l = luminance(c);
    if (l < 64) return {0, false};
    if (l < 170) return {0, true};  // grey: bright black
    return {7, false};
  }
  return {kAnsiOfHue[hueOf(c)], false};
}

constexpr std::array<int, 6> kCubeLevels{0, 95, 135, 175, 215, 255};

int distance(Channels a, Channels b) {
  return (a.r - b.r) * (a.r - b.r) + (a.g - b.g) * (a.g - b.g) + (a.b - b.b) * (a.b - b.b);
}

TermColour xtermColours(Channels c) {
  int best = 0, bestDistance = INT_MAX;
  for (int i = 0; i < 216; ++i) {
    const Channels cube{kCubeLevels[i / 36], kCubeLevels[(i / 6) % 6], kCubeLevels[i % 6]};
    const int d = distance(c, cube);
    if (d < bestDistance) best = 16 + i, bestDistance = d;
  }
  for (int i = 0; i < 24; ++i) {
    const int v = 8 + 10 * i;
    const int d = distance(c, {v, v, v});
    if (d < bestDistance) best = 232 + i, bestDistance = d;
  }
  return {static_cast<short>(best), false};
}

}  // namespace

ColourDepth chooseDepth(const char* noColor, int colours) {
  if ((noColor && *noColor) || colours < 8) return ColourDepth::kMonochrome;
  return colours < 256 ? ColourDepth::k8 : ColourDepth::k256;
}

TermColour mapColour(Rgb colour, ColourDepth depth) {
  const Channels c = channels(colour);
  return depth == ColourDepth::k256 ? xtermColours(c) : eightColours(c);
}

unsigned monochromeAttributes(Rgb foreground, Rgb background) {
  const Channels fg = channels(foreground), bg = channels(background);
  unsigned attributes = 0;
  if (luminance(bg) < 100 && luminance(fg) > luminance(bg)) attributes |= kReverse;
  if (chroma(fg) >= kGreyChroma) {
    switch (hueOf(fg)) {
      case kRed: attributes |= kBold; break;
      case kYellow: attributes |= kBold | kUnderline; break;
      case kBlue: attributes |= kUnderline; break;
      default: break;
    }
  } else if (luminance(fg) >= 64 && luminance(fg) < 200 && luminance(bg) >= 100) {
    attributes |= kDim;
  }
  return attributes;
}

}  // namespace zrterm
