#pragma once
// The persistent 64-bit handle of a drawing object, written as hexadecimal text.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "OdString.h"

class OdDbHandle {
 public:
  OdDbHandle() = default;
  OdDbHandle(uint64_t value) : value_(value) {}  // NOLINT
  // From hexadecimal text; text that is not a handle (empty, not hex, over 16
  // digits) gives the null handle.
  explicit OdDbHandle(const OdString& hex) { *this = hex; }
  OdDbHandle& operator=(const OdString& hex);
  OdDbHandle& operator=(const OdChar* hex) { return *this = OdString(hex); }
  OdDbHandle& operator=(uint64_t value) {
    value_ = value;
    return *this;
  }

  static bool parse(std::string_view hex, uint64_t& out);

  bool isNull() const { return value_ == 0; }
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
