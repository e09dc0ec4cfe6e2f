#pragma once
// The persistent 64-bit handle of a drawing object, written as hexadecimal text.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "zrdwg/OdString.h"

class OdDbHandle {
 public:
  // The null handle (0), which names no object.
  OdDbHandle() = default;
  // The handle of that value.
  OdDbHandle(uint64_t value) : value_(value) {}  // NOLINT
  // From hexadecimal text; text that is not a handle (empty, not hex, over 16
  // digits) gives the null handle.
  explicit OdDbHandle(const OdString& hex) { *this = hex; }
  // Reads hexadecimal text as the constructor does.
  OdDbHandle& operator=(const OdString& hex);
  // The same for NUL-terminated text.
  OdDbHandle& operator=(const OdChar* hex) { return *this = OdString(hex); }
  // Takes the value.
  OdDbHandle& operator=(uint64_t value) {
    value_ = value;
    return *this;
  }

  // Reads 1 to 16 hexadecimal digits (either case; white space around them
  // ignored) into out and returns true; false, out untouched, for anything else.
  static bool parse(std::string_view hex, uint64_t& out);

  // True for the null handle.
  bool isNull() const { return value_ == 0; }
  // The handle's number.
  uint64_t value() const { return value_; }
  operator uint64_t() const { return value_; }  // NOLINT

  // Upper-case hexadecimal without leading zeros ("0" for the null handle).
  OdString ascii() const;
  // Writes the same text, zero-terminated, into buf (at most size units with the
  // terminator; 17 always suffices).
  void getIntoAsciiBuffer(OdChar* buf, std::size_t size = 17) const;
  // Same text as ascii(), as ASCII bytes.
  std::string hex() const;

 private:
  uint64_t value_ = 0;
};
