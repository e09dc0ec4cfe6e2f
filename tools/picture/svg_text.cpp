#include "svg_text.h"

#include <charconv>
#include <cmath>

namespace picture {

void appendNumber(std::string& out, double v) {
  if (!std::isfinite(v)) v = 0.0;
  if (v == 0.0) v = 0.0;  // no "-0"
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
  out.append(buffer, result.ptr);
}

void appendPixels(std::string& out, double v) { appendNumber(out, std::round(v * 100.0) / 100.0); }

std::string number(double v) {
  std::string out;
  appendNumber(out, v);
  return out;
}

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Length of the UTF-8 sequence at s[i] and its code point; 0 when invalid.
std::size_t sequence(std::string_view s, std::size_t i, char32_t& cp) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char b0 = byte(i);
  std::size_t n;
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  } else if (b0 >= 0xC2 && b0 <= 0xDF) {
    n = 2;
    cp = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    n = 3;
    cp = b0 & 0x0F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    n = 4;
    cp = b0 & 0x07;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(i + k) & 0x3F);
  }
  // Overlong forms, surrogates and values above U+10FFFF are not UTF-8.
  if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF))) return 0;
  if (cp >= 0xD800 && cp <= 0xDFFF) return 0;
  return n;
}

}  // namespace

std::string xmlText(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    char32_t cp = 0;
    const std::size_t n = sequence(s, i, cp);
    if (n == 0) {
      out += kReplacement;
      ++i;
      continue;
    }
    switch (cp) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default:
        if ((cp < 0x20 && cp != '\t' && cp != '\n' && cp != '\r') || cp == 0xFFFE || cp == 0xFFFF)
          out += kReplacement;
        else
          out.append(s.substr(i, n));
    }
    i += n;
  }
  return out;
}

void appendMatrix(std::string& out, const Affine& m) {
  out += "matrix(";
  const double values[] = {m.a, m.b, m.c, m.d, m.e, m.f};
  for (std::size_t i = 0; i < 6; ++i) {
    if (i) out += ' ';
    appendNumber(out, values[i]);
  }
  out += ')';
}

}  // namespace picture
