// Globally unique identifiers: class identifiers (CLSID) and interface
// identifiers (IID), written "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx" with or
// without braces.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "zrcom/types.h"

struct GUID {
  std::uint32_t Data1;
  std::uint16_t Data2;
  std::uint16_t Data3;
  std::uint8_t Data4[8];

  friend constexpr bool operator==(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i)
      if (a.Data4[i] != b.Data4[i]) return false;
    return true;
  }
};
using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

inline constexpr GUID GUID_NULL{};

namespace zrcom::detail {
constexpr int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace zrcom::detail

// Parses the text form of a GUID. Returns false (and leaves *out alone) when
// the text is not exactly 36 characters in the 8-4-4-4-12 pattern, optionally
// inside one pair of braces.
constexpr bool ZrParseGuid(std::string_view text, GUID* out) {
  if (text.size() == 38) {
    if (text.front() != '{' || text.back() != '}') return false;
    text = text.substr(1, 36);
  }
  if (text.size() != 36) return false;
  std::uint8_t bytes[16] = {};
  int n = 0;
  for (std::size_t i = 0; i < 36;) {
    if (i == 8 || i == 13 || i == 18 || i == 23) {
      if (text[i] != '-') return false;
      ++i;
      continue;
    }
    int hi = zrcom::detail::HexDigit(text[i]);
    int lo = zrcom::detail::HexDigit(text[i + 1]);
    if (hi < 0 || lo < 0) return false;
    bytes[n++] = static_cast<std::uint8_t>(hi * 16 + lo);
    i += 2;
  }
  GUID g{};
  g.Data1 = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
            (std::uint32_t{bytes[2]} << 8) | bytes[3];
  g.Data2 = static_cast<std::uint16_t>((bytes[4] << 8) | bytes[5]);
  g.Data3 = static_cast<std::uint16_t>((bytes[6] << 8) | bytes[7]);
  for (int i = 0; i < 8; ++i) g.Data4[i] = bytes[8 + i];
  *out = g;
  return true;
}

// A GUID constant from its text; malformed text does not compile.
consteval GUID ZrGuid(std::string_view text) {
  GUID g{};
  if (!ZrParseGuid(text, &g)) throw "malformed GUID text";
  return g;
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case.
std::string ZrGuidToString(const GUID& g);

// The identifier of interface I, declared with ZR_DECLARE_IID; using an
// interface without one does not compile.
template <class I>
struct ZrInterfaceId;

#define ZR_DECLARE_IID(Interface, text)                 \
  template <>                                           \
  struct ZrInterfaceId<Interface> {                     \
    static constexpr IID value = ZrGuid(text);          \
  }

template <class I>
constexpr const IID& ZrUuidOf() {
  return ZrInterfaceId<I>::value;
}

template <>
struct std::hash<GUID> {
  std::size_t operator()(const GUID& g) const noexcept {
    std::size_t h = g.Data1;
    h = h * 31 + g.Data2;
    h = h * 31 + g.Data3;
    for (auto b : g.Data4) h = h * 31 + b;
    return h;
  }
};
