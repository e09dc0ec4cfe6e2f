#include "OdDbHandle.h"

#include <charconv>

bool OdDbHandle::parse(std::string_view hex, uint64_t& out) {
  while (!hex.empty() && odIsAsciiSpace(static_cast<unsigned char>(hex.front()))) hex.remove_prefix(1);
  while (!hex.empty() && odIsAsciiSpace(static_cast<unsigned char>(hex.back()))) hex.remove_suffix(1);
  if (hex.empty() || hex.size() > 16) return false;
  uint64_t v = 0;
  auto [ptr, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), v, 16);
  if (ec != std::errc() || ptr != hex.data() + hex.size()) return false;
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

std::string OdDbHandle::hex() const {
  char buf[17];
  auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value_, 16);
  std::string out(buf, ptr);
  for (auto& c : out)
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

OdString OdDbHandle::ascii() const { return OdString::fromUtf8(hex()); }

void OdDbHandle::getIntoAsciiBuffer(OdChar* buf, std::size_t size) const {
  if (!buf || size == 0) return;
  std::string h = hex();
  std::size_t n = std::min(h.size(), size - 1);
  for (std::size_t i = 0; i < n; ++i) buf[i] = static_cast<OdChar>(h[i]);
  buf[n] = 0;
}
