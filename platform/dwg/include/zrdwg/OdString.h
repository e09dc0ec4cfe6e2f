#pragma once
// OdString: the object model's text type, UTF-16 like the platform it stands in for.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

using OdChar = char16_t;

class OdString {
 public:
  // The empty string.
  OdString() = default;
  // A copy of a NUL-terminated text; null gives the empty string.
  OdString(const OdChar* text);  // NOLINT: implicit, as the platform's string is
  // A copy of `length` code units of text (which may hold NULs); null gives the empty string.
  OdString(const OdChar* text, std::size_t length);
  // Takes the text over.
  OdString(std::u16string text) : text_(std::move(text)) {}
  // A copy of the text.
  OdString(std::u16string_view text) : text_(text) {}

  // UTF-8 in and out; invalid UTF-8 sequences become U+FFFD.
  static OdString fromUtf8(std::string_view utf8);
  // Lone surrogates are written as U+FFFD.
  std::string toUtf8() const;

  // The NUL-terminated text, valid until the string changes or goes.
  const OdChar* c_str() const { return text_.c_str(); }
  operator const OdChar*() const { return text_.c_str(); }  // NOLINT
  // The text itself; the reference and the view last as c_str's pointer does.
  const std::u16string& str() const { return text_; }
  std::u16string_view view() const { return text_; }

  // The length in UTF-16 code units.
  int getLength() const { return static_cast<int>(text_.size()); }
  // True for the empty string.
  bool isEmpty() const { return text_.empty(); }
  // The code unit at index; throws std::out_of_range outside 0..getLength()-1.
  OdChar getAt(int index) const { return text_.at(static_cast<std::size_t>(index)); }
  // Makes the string empty (the platform's name for clear).
  void empty() { text_.clear(); }

  // Full Unicode upper-casing ("ß" becomes "SS"), in place.
  OdString& makeUpper();
  // Full Unicode lower-casing, in place.
  OdString& makeLower();
  // Removes ASCII white space (space, \t, \n, \v, \f, \r) at either end.
  OdString& trimLeft();
  // The same at the end only.
  OdString& trimRight();
  // The same at both ends.
  OdString& trim() { return trimRight().trimLeft(); }

  // -1, 0 or 1 in code-unit order.
  int compare(const OdString& other) const;
  // The same for the upper-cased forms (compare ignoring case).
  int iCompare(const OdString& other) const;

  // Index of the first occurrence at or after start, or -1.
  int find(OdChar c, int start = 0) const;
  // The same for a text; a negative start counts as 0.
  int find(const OdString& s, int start = 0) const;
  // The first count code units (all when count exceeds the length; empty for count <= 0).
  OdString left(int count) const;
  // The last count code units, bounded as left is.
  OdString right(int count) const;
  // count code units from start (to the end when count < 0); empty past the end.
  OdString mid(int start, int count = -1) const;

  // Appends the text or the code unit.
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

  // The empty string, for references that must outlive a call.
  static const OdString kEmpty;

 private:
  std::u16string text_;
};

// Hashes the text, so that OdString keys unordered containers.
template <>
struct std::hash<OdString> {
  std::size_t operator()(const OdString& s) const noexcept { return std::hash<std::u16string>()(s.str()); }
};

// True for the characters that trimming removes.
inline bool odIsAsciiSpace(char32_t c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
