#include "zrdwg/OdDbHandle.h"

#include <array>
#include <charconv>

namespace {

// The value of each hexadecimal digit, 0xFF for any other byte.
constexpr std::array<uint8_t, 256> kHexDigit = [] {
  std::array<uint8_t, 256> t{};
  t.fill(0xFF);
  for (int c = '0'; c <= '9'; ++c) t[c] = static_cast<uint8_t>(c - '0');
  for (int c = 'A'; c <= 'F'; ++c) t[c] = static_cast<uint8_t>(c - 'A' + 10);
  for (int c = 'a'; c <= 'f'; ++c) t[c] = static_cast<uint8_t>(c - 'a' + 10);
  return t;
}();

}  // namespace

bool OdDbHandle::parse(std::string_view hex, uint64_t& out) {
  // Every object of a drawing read has a handle or two, nearly always bare
  // digits: those are read at once, anything else is trimmed first.
  if (!hex.empty() && hex.size() <= 16) {
    uint64_t v = 0;
    bool plain = true;
    for (unsigned char c : hex) {
      const uint8_t d = kHexDigit[c];
      plain &= d != 0xFF;
      v = v << 4 | (d & 0xF);
    }
    if (plain) {
      out = v;
      return true;
    }
  }
  while (!hex.empty() && odIsAsciiSpace(static_cast<unsigned char>(hex.front()))) hex.remove_prefix(1);
  while (!hex.empty() && odIsAsciiSpace(static_cast<unsigned char>(hex.back()))) hex.remove_suffix(1);
  if (hex.empty() || hex.size() > 16) return false;
  uint64_t v = 0;
  for (unsigned char c : hex) {
    const uint8_t d = kHexDigit[c];
    if (d == 0xFF) return false;
    v = v << 4 | d;
  }
  out = v;
  return true;
}

OdDbHandle& OdDbHandle::operator=(const OdString& hex) {
  std::string ascii;
  for (OdChar c : hex.str()) {
    if (c >= 0x80) {
      value_ = 0;
      return *this;
    }
    ascii += static_cast<char>(c);
  }
  uint64_t v = 0;
  value_ = parse(ascii, v) ? v : 0;
  return *this;
}

namespace {

// The handle's upper-case hexadecimal digits into buf (16 at most); their count.
std::size_t upperHex(uint64_t value, char (&buf)[16]) {
  auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value, 16);
  for (char* c = buf; c != ptr; ++c)
    if (*c >= 'a' && *c <= 'f') *c = static_cast<char>(*c - 'a' + 'A');
  return static_cast<std::size_t>(ptr - buf);
}

}  // namespace

std::string OdDbHandle::hex() const {
  char buf[16];
  return std::string(buf, upperHex(value_, buf));
}

// Made from the digits directly (every symbol of a pin check asks for it).
OdString OdDbHandle::ascii() const {
  char buf[16];
  const std::size_t n = upperHex(value_, buf);
  return OdString(std::u16string(buf, buf + n));
}

void OdDbHandle::getIntoAsciiBuffer(OdChar* buf, std::size_t size) const {
  if (!buf || size == 0) return;
  std::string h = hex();
  std::size_t n = std::min(h.size(), size - 1);
  for (std::size_t i = 0; i < n; ++i) buf[i] = static_cast<OdChar>(h[i]);
  buf[n] = 0;
}
