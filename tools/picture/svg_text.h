#pragma once
// Text of SVG and HTML documents: numbers that read back as written, and
// drawing texts made safe for XML.

#include <string>
#include <string_view>

#include "plane.h"

namespace picture {

// Appends the shortest decimal form of v that reads back as v ("12.5",
// "-0.25", "1e-07"); 0 for a value that is not finite.
void appendNumber(std::string& out, double v);
// The same rounded to a hundredth (pixel coordinates of the overlay).
void appendPixels(std::string& out, double v);
std::string number(double v);
// Appends "matrix(a b c d e f)", an SVG transform, numbers as appendNumber writes them.
void appendMatrix(std::string& out, const Affine& m);

// Text for XML content and attribute values: & < > " ' escaped, and the
// characters XML 1.0 cannot hold (C0 controls but tab and line breaks,
// lone surrogates, U+FFFE/U+FFFF, bytes that are not UTF-8) replaced by
// U+FFFD, so that no drawing text can break the document.
std::string xmlText(std::string_view utf8);

}  // namespace picture
