#pragma once
// Colours of the toolkit's screen on a terminal that has 256, 8 or no
// colours. What matters is meaning, not shade: the state lights (green,
// yellow, red, grey), links (blue), dimmed text (grey) and selections (light
// on dark) must stay distinct wherever they are shown.

#include <cstdint>

namespace zrterm {

// A colour as the toolkit holds it (COLORREF: 0x00BBGGRR).
using Rgb = std::uint32_t;
constexpr Rgb rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

enum class ColourDepth { kMonochrome, k8, k256 };

// The depth to use: monochrome when NO_COLOR is set and not empty (see
// no-color.org) or the terminal has fewer than 8 colours; 8 below 256.
ColourDepth chooseDepth(const char* noColor, int colours);

// A terminal colour: an index of the ANSI (0-7) or xterm (0-255) palette;
// bright asks for the bold variant (8 colours: grey is bright black).
struct TermColour {
  short index = 0;
  bool bright = false;
  bool operator==(const TermColour&) const = default;
};

// In 8 colours a colour keeps its hue (red, yellow, green, cyan, blue,
// magenta) however dark or pale it is, and greys split into black, grey and
// white; in 256 colours it is the nearest of the xterm cube and grey ramp.
// Not for monochrome.
TermColour mapColour(Rgb colour, ColourDepth depth);

// Attributes standing for colours on a monochrome terminal.
enum Attribute : unsigned { kBold = 1, kUnderline = 2, kDim = 4, kReverse = 8 };

// light on dark (selection, focus bar): reverse; red text or light: bold;
// yellow: bold and underlined; blue (links): underlined; grey on light
// (dimmed, the grey light): dim; green and the rest: plain.
unsigned monochromeAttributes(Rgb foreground, Rgb background);

}  // namespace zrterm
