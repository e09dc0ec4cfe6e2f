// _bstr_t: an owning wrapper of a BSTR with value semantics (copies copy the
// text). Converts implicitly to the BSTR it holds, so it can be passed where
// an interface method takes a BSTR argument.
#pragma once

#include <compare>
#include <string>
#include <string_view>

#include "zrcom/bstr.h"

class _variant_t;

class _bstr_t {
 public:
  _bstr_t() noexcept = default;
  _bstr_t(const _bstr_t& other);
  _bstr_t(_bstr_t&& other) noexcept : text_(other.text_) { other.text_ = nullptr; }
  _bstr_t(const char16_t* text);             // NOLINT: implicit, as on the platform
  _bstr_t(const char* utf8);                 // NOLINT
  _bstr_t(std::u16string_view text);         // NOLINT
  _bstr_t(const std::u16string& text) : _bstr_t(std::u16string_view(text)) {}  // NOLINT
  _bstr_t(const std::string& utf8);          // NOLINT
  // Takes a copy of text when copy is true, or else takes ownership of it.
  _bstr_t(BSTR text, bool copy);
  // The variant converted to text; throws _com_error when it does not convert.
  _bstr_t(const _variant_t& value);          // NOLINT
  ~_bstr_t() { SysFreeString(text_); }

  _bstr_t& operator=(const _bstr_t& other);
  _bstr_t& operator=(_bstr_t&& other) noexcept;
  _bstr_t& operator=(const char16_t* text) { return *this = _bstr_t(text); }
  _bstr_t& operator=(const char* utf8) { return *this = _bstr_t(utf8); }

  _bstr_t& operator+=(const _bstr_t& other);
  friend _bstr_t operator+(const _bstr_t& a, const _bstr_t& b) {
    _bstr_t r(a);
    r += b;
    return r;
  }

  // The held BSTR (null when empty). Stays owned by this object.
  operator const char16_t*() const noexcept { return text_; }
  operator char16_t*() const noexcept { return text_; }
  bool operator!() const noexcept { return text_ == nullptr; }

  // Characters, not counting the terminating NUL.
  UINT length() const noexcept { return SysStringLen(text_); }
  // A new BSTR with the same text, owned by the caller.
  BSTR copy(bool copy_null_as_null = true) const;
  BSTR& GetBSTR() noexcept { return text_; }
  // Frees the held text and returns the address for an out parameter.
  BSTR* GetAddress();
  void Attach(BSTR text);
  BSTR Detach() noexcept;

  std::u16string_view view() const noexcept { return ZrBstrView(text_); }
  std::u16string str() const { return std::u16string(view()); }
  std::string utf8() const { return ZrUtf16ToUtf8(view()); }

  // Ordinal comparison of the UTF-16 code units; null equals "".
  friend bool operator==(const _bstr_t& a, const _bstr_t& b) noexcept { return a.view() == b.view(); }
  friend std::strong_ordering operator<=>(const _bstr_t& a, const _bstr_t& b) noexcept {
    return a.view() <=> b.view();
  }
  friend bool operator==(const _bstr_t& a, const char16_t* b) noexcept {
    return a.view() == std::u16string_view(b ? b : u"");
  }

 private:
  BSTR text_ = nullptr;
};
