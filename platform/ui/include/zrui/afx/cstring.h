// CString: a UTF-16 string with the operations of the MFC string class.
// Case mapping uses ICU (full upper-casing); trimming removes ASCII white
// space. Format is type-safe: arguments are C++ values, so a format that
// does not match its arguments prints "(?)" instead of crashing.
#pragma once

#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "zrui/wintypes.h"

class CString;

namespace zrui::detail {

struct FormatArg {
  enum class Kind { Int, UInt, Double, Text, Char, Pointer } kind = Kind::Int;
  long long i = 0;
  unsigned long long u = 0;
  double d = 0;
  std::u16string s;
  const void* p = nullptr;
};

FormatArg MakeArg(const CString& v);
FormatArg MakeArg(const std::u16string& v);
FormatArg MakeArg(const char16_t* v);
FormatArg MakeArg(char16_t v);
FormatArg MakeArg(const char* v);
FormatArg MakeArg(double v);
FormatArg MakeArg(const void* v);
template <typename T>
  requires std::is_integral_v<T> || std::is_enum_v<T>
FormatArg MakeArg(T v) {
  FormatArg a;
  if constexpr (std::is_enum_v<T>) {
    a.kind = FormatArg::Kind::Int;
    a.i = static_cast<long long>(v);
  } else if constexpr (std::is_signed_v<T>) {
    a.kind = FormatArg::Kind::Int;
    a.i = v;
  } else {
    a.kind = FormatArg::Kind::UInt;
    a.u = v;
  }
  return a;
}
inline FormatArg MakeArg(float v) { return MakeArg(static_cast<double>(v)); }

std::u16string FormatString(std::u16string_view format, const std::vector<FormatArg>& args);

}  // namespace zrui::detail

class CString {
 public:
  CString() = default;
  CString(const char16_t* s) : s_(s ? s : u"") {}
  CString(const char16_t* s, int length) : s_(s ? std::u16string(s, static_cast<size_t>(length)) : u"") {}
  CString(char16_t c, int repeat = 1) : s_(static_cast<size_t>(repeat > 0 ? repeat : 0), c) {}
  CString(std::u16string s) : s_(std::move(s)) {}
  CString(std::u16string_view s) : s_(s) {}
  // From UTF-8.
  static CString FromUtf8(std::string_view utf8);
  std::string ToUtf8() const;

  operator LPCTSTR() const { return s_.c_str(); }
  LPCTSTR GetString() const { return s_.c_str(); }
  const std::u16string& str() const { return s_; }

  int GetLength() const { return static_cast<int>(s_.size()); }
  bool IsEmpty() const { return s_.empty(); }
  void Empty() { s_.clear(); }
  char16_t GetAt(int i) const { return s_.at(static_cast<size_t>(i)); }
  char16_t operator[](int i) const { return GetAt(i); }
  void SetAt(int i, char16_t c) { s_.at(static_cast<size_t>(i)) = c; }

  CString Left(int n) const;
  CString Right(int n) const;
  CString Mid(int first) const;
  CString Mid(int first, int count) const;
  int Find(char16_t c, int start = 0) const;
  int Find(LPCTSTR sub, int start = 0) const;
  int ReverseFind(char16_t c) const;
  int FindOneOf(LPCTSTR chars) const;
  int Replace(LPCTSTR oldText, LPCTSTR newText);
  int Replace(char16_t oldChar, char16_t newChar);
  int Remove(char16_t c);
  int Insert(int index, LPCTSTR text);
  int Insert(int index, char16_t c);
  int Delete(int index, int count = 1);
  CString& MakeUpper();
  CString& MakeLower();
  CString& MakeReverse();
  // Trim, TrimLeft and TrimRight take off the blanks IsTrimSpace names:
  // the space and the ASCII controls from tab to carriage return.
  static bool IsTrimSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }
  CString& Trim();
  CString& TrimLeft();
  CString& TrimRight();
  CString& Trim(char16_t c);
  CString& TrimLeft(LPCTSTR chars);
  CString& TrimRight(LPCTSTR chars);
  int Compare(LPCTSTR other) const;
  // Compares after ICU case folding.
  int CompareNoCase(LPCTSTR other) const;
  // Next token after `start` (updated; -1 at the end), MFC-style.
  CString Tokenize(LPCTSTR delimiters, int& start) const;
  CString SpanIncluding(LPCTSTR chars) const;
  CString SpanExcluding(LPCTSTR chars) const;

  template <typename... Args>
  void Format(LPCTSTR format, const Args&... args) {
    s_ = zrui::detail::FormatString(format ? format : u"", {zrui::detail::MakeArg(args)...});
  }
  template <typename... Args>
  void AppendFormat(LPCTSTR format, const Args&... args) {
    s_ += zrui::detail::FormatString(format ? format : u"", {zrui::detail::MakeArg(args)...});
  }

  // Raw buffer access; ReleaseBuffer(-1) takes the length up to the first 0.
  LPTSTR GetBuffer(int minLength = 0);
  LPTSTR GetBufferSetLength(int length);
  void ReleaseBuffer(int newLength = -1);

  CString& operator=(const char16_t* s) {
    s_ = s ? s : u"";
    return *this;
  }
  CString& operator=(char16_t c) {
    s_.assign(1, c);
    return *this;
  }
  CString& operator+=(const CString& o) {
    s_ += o.s_;
    return *this;
  }
  CString& operator+=(const char16_t* o) {
    if (o) s_ += o;
    return *this;
  }
  CString& operator+=(char16_t c) {
    s_ += c;
    return *this;
  }
  friend CString operator+(const CString& a, const CString& b) { return CString(a.s_ + b.s_); }
  friend CString operator+(const CString& a, const char16_t* b) { return CString(a.s_ + (b ? b : u"")); }
  friend CString operator+(const char16_t* a, const CString& b) { return CString((a ? a : u"") + b.s_); }
  friend CString operator+(const CString& a, char16_t b) { return CString(a.s_ + b); }
  friend CString operator+(char16_t a, const CString& b) { return CString(a + b.s_); }
  friend bool operator==(const CString& a, const CString& b) { return a.s_ == b.s_; }
  friend bool operator==(const CString& a, const char16_t* b) { return a.s_ == (b ? b : u""); }
  friend bool operator!=(const CString& a, const CString& b) { return a.s_ != b.s_; }
  friend bool operator!=(const CString& a, const char16_t* b) { return !(a == b); }
  friend bool operator<(const CString& a, const CString& b) { return a.s_ < b.s_; }

 private:
  std::u16string s_;
};

using CStringW = CString;
