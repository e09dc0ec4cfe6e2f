#pragma once
// Conversions between DXF value text and numbers.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dxfv {

std::string_view trim(std::string_view s);
std::optional<double> toDouble(std::string_view s);
std::optional<int64_t> toInt(std::string_view s);
std::optional<uint64_t> toHandle(std::string_view s);
std::string fromInt(int64_t v);
// Binary data as upper-case hexadecimal text (two digits a byte).
std::string hexOf(const std::vector<uint8_t>& bytes);
std::string fromHandle(uint64_t v);

}  // namespace dxfv
