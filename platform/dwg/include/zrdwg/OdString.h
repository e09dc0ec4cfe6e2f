#pragma once
// OdString: the object model's text type, UTF-16 like the platform it stands in for.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

using OdChar = char16_t;

class OdString {
 public:
  OdString() = default;
  OdString(const OdChar* text);  // NOLINT: implicit, as the platform's string is
  OdString(const OdChar* text, std::size_t length);
  OdString(std::u16string text) : text_(std::move(text)) {}
  OdString(std::u16string_view text) : text_(text) {}

  // UTF-8 in and out; invalid UTF-8 sequences become U+FFFD.
  static OdString fromUtf8(std::string_view utf8);
  std::string toUtf8() const;

  const OdChar* c_str() const { return text_.c_str(); }
  operator const OdChar*() const { return text_.c_str(); }  // NOLINT
  const std::u16string& str() const { return text_; }
  std::u16string_view view() const { return text_; }

  int getLength() const { return static_cast<int>(text_.size()); }
  bool isEmpty() const { return text_.empty(); }
  OdChar getAt(int index) const { return text_.at(static_cast<std::size_t>(index)); }
  void empty() { text_.clear(); }

  // Full Unicode upper-casing ("ß" becomes "SS"), in place.
  OdString& makeUpper();
  OdString& makeLower();
  // Removes ASCII white space (space, \t, \n, \v, \f, \r) at either end.
  OdString& trimLeft();
  OdString& trimRight();
  OdString& trim() { return trimRight().trimLeft(); }

  // Code-unit order; iCompare compares the upper-cased forms.
  int compare(const OdString& other) const;
  int iCompare(const OdString& other) const;

  // Index of the first occurrence at or after start, or -1.
  int find(OdChar c, int start = 0) const;
  int find(const OdString& s, int start = 0) const;
  OdString left(int count) const;
  OdString right(int count) const;
  OdString mid(int start, int count = -1) const;

  OdString& operator+=(const OdString& other) {
    text_ += other.text_;
    return *this;
  }
  OdString& operator+=(OdChar c) {
    text_ += c;
    return *this;
  }
  friend OdString operator+(OdString a, const OdString& b) { return a += b; }
  friend bool operator==(const OdString& a, const OdString& b) { return a.text_ == b.text_; }
  friend bool operator==(const OdString& a, const OdChar* b) { return a.text_ == b; }
  friend bool operator<(const OdString& a, const OdString& b) { return a.text_ < b.text_; }

  static const OdString kEmpty;

 private:
  std::u16string text_;
};

template <>
struct std::hash<OdString> {
  std::size_t operator()(const OdString& s) const noexcept { return std::hash<std::u16string>()(s.str()); }
};

// True for the characters that trimming removes.
inline bool odIsAsciiSpace(char32_t c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
