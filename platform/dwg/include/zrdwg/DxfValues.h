#pragma once
// Conversions between DXF value text and numbers. Values are read as the file
// holds them: white space at either end is ignored, nothing else is.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dxfv {

// s without ASCII white space at either end (a view into s).
std::string_view trim(std::string_view s);
// True when every byte is ASCII (below 0x80).
bool isAscii(std::string_view s);
// True when a text value's bytes are its text in every encoding a drawing
// uses: ASCII without a backslash (which may start a "\U+XXXX" escape).
bool readsAsItself(std::string_view raw);
// True when two ASCII texts are equal ignoring the case of their letters
// (for ASCII, the same answer as full Unicode upper-casing gives).
bool sameAsciiIgnoringCase(std::string_view a, std::string_view b);
// The number the whole value spells ("+" allowed), or none.
std::optional<double> toDouble(std::string_view s);
// The same for a whole number in 64 bits, or none (also on overflow).
std::optional<int64_t> toInt(std::string_view s);
// A handle written as hexadecimal text (OdDbHandle::parse), or none.
std::optional<uint64_t> toHandle(std::string_view s);
// The decimal text of v.
std::string fromInt(int64_t v);
// Binary data as upper-case hexadecimal text (two digits a byte).
std::string hexOf(const std::vector<uint8_t>& bytes);
// A handle as the file writes it: upper-case hexadecimal without leading zeros.
std::string fromHandle(uint64_t v);

}  // namespace dxfv
