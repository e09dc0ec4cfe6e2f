// Basic types of the COM stand-in, sized as on the original platform:
// LONG and HRESULT are 32 bits, OLECHAR is a UTF-16 code unit.
#pragma once

#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using ULONG = std::uint32_t;
using LONG = std::int32_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using LONGLONG = std::int64_t;
using ULONGLONG = std::uint64_t;
using FLOAT = float;
using DOUBLE = double;
using HRESULT = std::int32_t;
using SCODE = std::int32_t;
using OLECHAR = char16_t;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;
// A BSTR points at the first character of a length-prefixed, NUL-terminated
// UTF-16 string allocated by SysAllocString*. A null BSTR means "".
using BSTR = OLECHAR*;
using VARIANT_BOOL = std::int16_t;
using VARTYPE = std::uint16_t;

inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

// The facility part of an HRESULT (bits 16-28) and its code (bits 0-15).
constexpr int HRESULT_FACILITY(HRESULT hr) { return (hr >> 16) & 0x1fff; }
constexpr int HRESULT_CODE(HRESULT hr) { return hr & 0xffff; }
constexpr HRESULT MAKE_HRESULT(unsigned severity, unsigned facility, unsigned code) {
  return static_cast<HRESULT>((severity << 31) | (facility << 16) | code);
}
