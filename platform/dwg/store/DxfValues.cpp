#include "zrdwg/DxfValues.h"

#include <charconv>

#include "zrdwg/OdDbHandle.h"

namespace dxfv {

bool isAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

bool sameAsciiIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 32) : a[i];
    const char y = b[i] >= 'a' && b[i] <= 'z' ? static_cast<char>(b[i] - 32) : b[i];
    if (x != y) return false;
  }
  return true;
}

bool readsAsItself(std::string_view raw) {
  for (char c : raw)
    if (static_cast<unsigned char>(c) >= 0x80 || c == '\\') return false;
  return true;
}

std::string_view trim(std::string_view s) {
  auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; };
  while (!s.empty() && space(s.front())) s.remove_prefix(1);
  while (!s.empty() && space(s.back())) s.remove_suffix(1);
  return s;
}

std::optional<double> toDouble(std::string_view s) {
  s = trim(s);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  double v = 0;
  auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || ptr != s.data() + s.size() || s.empty()) return std::nullopt;
  return v;
}

std::optional<int64_t> toInt(std::string_view s) {
  s = trim(s);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  int64_t v = 0;
  auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || ptr != s.data() + s.size() || s.empty()) return std::nullopt;
  return v;
}

std::optional<uint64_t> toHandle(std::string_view s) {
  uint64_t v = 0;
  if (!OdDbHandle::parse(s, v)) return std::nullopt;
  return v;
}

std::string fromInt(int64_t v) { return std::to_string(v); }

std::string hexOf(const std::vector<uint8_t>& bytes) {
  static const char* kHex = "0123456789ABCDEF";
  std::string s;
  s.reserve(bytes.size() * 2);
  for (uint8_t x : bytes) {
    s += kHex[x >> 4];
    s += kHex[x & 15];
  }
  return s;
}

std::string fromHandle(uint64_t v) { return OdDbHandle(v).hex(); }

}  // namespace dxfv
