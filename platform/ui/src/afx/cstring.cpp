// CString operations and the type-safe printf-style formatter.
#include "zrui/afx/cstring.h"

#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cstdio>

namespace {

icu::UnicodeString ToIcu(const std::u16string& s) {
  return icu::UnicodeString(reinterpret_cast<const UChar*>(s.data()), static_cast<int32_t>(s.size()));
}

std::u16string FromIcu(const icu::UnicodeString& u) {
  return std::u16string(reinterpret_cast<const char16_t*>(u.getBuffer()), static_cast<size_t>(u.length()));
}

std::u16string Ascii(const std::string& s) { return std::u16string(s.begin(), s.end()); }

}  // namespace

namespace zrui::detail {

FormatArg MakeArg(const CString& v) { return MakeArg(v.str()); }
FormatArg MakeArg(const std::u16string& v) {
  FormatArg a;
  a.kind = FormatArg::Kind::Text;
  a.s = v;
  return a;
}
FormatArg MakeArg(const char16_t* v) {
  FormatArg a;
  a.kind = FormatArg::Kind::Text;
  a.s = v ? v : u"(null)";
  return a;
}
FormatArg MakeArg(char16_t v) {
  FormatArg a;
  a.kind = FormatArg::Kind::Char;
  a.i = v;
  a.u = v;
  return a;
}
FormatArg MakeArg(const char* v) { return MakeArg(CString::FromUtf8(v ? v : "(null)")); }
FormatArg MakeArg(double v) {
  FormatArg a;
  a.kind = FormatArg::Kind::Double;
  a.d = v;
  return a;
}
FormatArg MakeArg(const void* v) {
  FormatArg a;
  a.kind = FormatArg::Kind::Pointer;
  a.p = v;
  return a;
}

// Supports %[flags][width][.precision][length]type with types d i u x X o c
// C s S f F e E g G p and %%; length modifiers are accepted and ignored, as
// the argument's own C++ type decides its size. '*' widths are not supported.
std::u16string FormatString(std::u16string_view f, const std::vector<FormatArg>& args) {
  std::u16string out;
  size_t next = 0;
  for (size_t i = 0; i < f.size(); ++i) {
    if (f[i] != u'%') {
      out += f[i];
      continue;
    }
    if (i + 1 < f.size() && f[i + 1] == u'%') {
      out += u'%';
      ++i;
      continue;
    }
    std::string conversion = "%";
    size_t j = i + 1;
    while (j < f.size() && std::u16string_view(u"-+ #0").find(f[j]) != std::u16string_view::npos) conversion += static_cast<char>(f[j++]);
    while (j < f.size() && f[j] >= u'0' && f[j] <= u'9') conversion += static_cast<char>(f[j++]);
    if (j < f.size() && f[j] == u'.') {
      conversion += '.';
      ++j;
      while (j < f.size() && f[j] >= u'0' && f[j] <= u'9') conversion += static_cast<char>(f[j++]);
    }
    while (j < f.size() && std::u16string_view(u"hlLIwzjt0123456789").find(f[j]) != std::u16string_view::npos) ++j;
    if (j >= f.size()) {
      out.append(f.substr(i));
      break;
    }
    char16_t type = f[j];
    i = j;
    if (next >= args.size()) {
      out += u"(?)";
      continue;
    }
    const FormatArg& a = args[next++];
    char buf[512];
    using K = FormatArg::Kind;
    auto asInt = [&]() -> long long { return a.kind == K::UInt ? static_cast<long long>(a.u) : a.kind == K::Double ? static_cast<long long>(a.d) : a.i; };
    auto asUInt = [&]() -> unsigned long long { return a.kind == K::Int || a.kind == K::Char ? static_cast<unsigned long long>(a.i) : a.kind == K::Double ? static_cast<unsigned long long>(a.d) : a.u; };
    switch (type) {
      case u'd':
      case u'i':
        if (a.kind == K::Text || a.kind == K::Pointer) { out += u"(?)"; break; }
        std::snprintf(buf, sizeof buf, (conversion + "lld").c_str(), asInt());
        out += Ascii(buf);
        break;
      case u'u':
      case u'x':
      case u'X':
      case u'o':
        if (a.kind == K::Text || a.kind == K::Pointer) { out += u"(?)"; break; }
        std::snprintf(buf, sizeof buf, (conversion + "ll" + static_cast<char>(type)).c_str(), asUInt());
        out += Ascii(buf);
        break;
      case u'f':
      case u'F':
      case u'e':
      case u'E':
      case u'g':
      case u'G': {
        if (a.kind == K::Text || a.kind == K::Pointer) { out += u"(?)"; break; }
        double d = a.kind == K::Double ? a.d : a.kind == K::UInt ? static_cast<double>(a.u) : static_cast<double>(a.i);
        std::snprintf(buf, sizeof buf, (conversion + static_cast<char>(type)).c_str(), d);
        out += Ascii(buf);
        break;
      }
      case u'c':
      case u'C':
        if (a.kind == K::Text || a.kind == K::Pointer || a.kind == K::Double) { out += u"(?)"; break; }
        out += static_cast<char16_t>(asUInt());
        break;
      case u's':
      case u'S': {
        if (a.kind != K::Text) { out += u"(?)"; break; }
        // Width and precision apply to characters.
        std::u16string s = a.s;
        int width = 0, precision = -1;
        bool leftAlign = conversion.find('-') != std::string::npos;
        std::sscanf(conversion.c_str() + 1 + (leftAlign ? 1 : 0), "%d", &width);
        if (auto dot = conversion.find('.'); dot != std::string::npos) precision = std::atoi(conversion.c_str() + dot + 1);
        if (precision >= 0 && static_cast<size_t>(precision) < s.size()) s.resize(static_cast<size_t>(precision));
        if (static_cast<int>(s.size()) < width) {
          std::u16string pad(static_cast<size_t>(width) - s.size(), u' ');
          s = leftAlign ? s + pad : pad + s;
        }
        out += s;
        break;
      }
      case u'p':
        std::snprintf(buf, sizeof buf, "%p", a.p);
        out += Ascii(buf);
        break;
      default:
        out += u"(?)";
    }
  }
  return out;
}

}  // namespace zrui::detail

CString CString::FromUtf8(std::string_view utf8) {
  return CString(FromIcu(icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())))));
}

std::string CString::ToUtf8() const {
  std::string out;
  ToIcu(s_).toUTF8String(out);
  return out;
}

CString CString::Left(int n) const { return CString(s_.substr(0, static_cast<size_t>(std::clamp(n, 0, GetLength())))); }
CString CString::Right(int n) const {
  n = std::clamp(n, 0, GetLength());
  return CString(s_.substr(s_.size() - static_cast<size_t>(n)));
}
CString CString::Mid(int first) const { return Mid(first, GetLength()); }
CString CString::Mid(int first, int count) const {
  first = std::clamp(first, 0, GetLength());
  count = std::clamp(count, 0, GetLength() - first);
  return CString(s_.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}
int CString::Find(char16_t c, int start) const {
  if (start < 0 || start > GetLength()) return -1;
  size_t p = s_.find(c, static_cast<size_t>(start));
  return p == std::u16string::npos ? -1 : static_cast<int>(p);
}
int CString::Find(LPCTSTR sub, int start) const {
  if (!sub || start < 0 || start > GetLength()) return -1;
  size_t p = s_.find(sub, static_cast<size_t>(start));
  return p == std::u16string::npos ? -1 : static_cast<int>(p);
}
int CString::ReverseFind(char16_t c) const {
  size_t p = s_.rfind(c);
  return p == std::u16string::npos ? -1 : static_cast<int>(p);
}
int CString::FindOneOf(LPCTSTR chars) const {
  if (!chars) return -1;
  size_t p = s_.find_first_of(chars);
  return p == std::u16string::npos ? -1 : static_cast<int>(p);
}
int CString::Replace(LPCTSTR oldText, LPCTSTR newText) {
  if (!oldText || !*oldText) return 0;
  std::u16string o = oldText, n = newText ? newText : u"";
  int count = 0;
  for (size_t p = s_.find(o); p != std::u16string::npos; p = s_.find(o, p + n.size())) {
    s_.replace(p, o.size(), n);
    ++count;
  }
  return count;
}
int CString::Replace(char16_t oldChar, char16_t newChar) {
  int count = 0;
  for (char16_t& c : s_)
    if (c == oldChar) c = newChar, ++count;
  return count;
}
int CString::Remove(char16_t c) {
  size_t before = s_.size();
  std::erase(s_, c);
  return static_cast<int>(before - s_.size());
}
int CString::Insert(int index, LPCTSTR text) {
  index = std::clamp(index, 0, GetLength());
  if (text) s_.insert(static_cast<size_t>(index), text);
  return GetLength();
}
int CString::Insert(int index, char16_t c) {
  index = std::clamp(index, 0, GetLength());
  s_.insert(s_.begin() + index, c);
  return GetLength();
}
int CString::Delete(int index, int count) {
  if (index >= 0 && index < GetLength() && count > 0)
    s_.erase(static_cast<size_t>(index), static_cast<size_t>(std::min(count, GetLength() - index)));
  return GetLength();
}
CString& CString::MakeUpper() {
  s_ = FromIcu(ToIcu(s_).toUpper(icu::Locale::getRoot()));
  return *this;
}
CString& CString::MakeLower() {
  s_ = FromIcu(ToIcu(s_).toLower(icu::Locale::getRoot()));
  return *this;
}
CString& CString::MakeReverse() {
  std::reverse(s_.begin(), s_.end());
  return *this;
}
CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::TrimLeft() {
  size_t i = 0;
  while (i < s_.size() && IsTrimSpace(s_[i])) ++i;
  s_.erase(0, i);
  return *this;
}
CString& CString::TrimRight() {
  while (!s_.empty() && IsTrimSpace(s_.back())) s_.pop_back();
  return *this;
}
CString& CString::Trim(char16_t c) {
  while (!s_.empty() && s_.back() == c) s_.pop_back();
  size_t i = 0;
  while (i < s_.size() && s_[i] == c) ++i;
  s_.erase(0, i);
  return *this;
}
CString& CString::TrimLeft(LPCTSTR chars) {
  std::u16string_view set = chars ? chars : u"";
  size_t i = 0;
  while (i < s_.size() && set.find(s_[i]) != std::u16string_view::npos) ++i;
  s_.erase(0, i);
  return *this;
}
CString& CString::TrimRight(LPCTSTR chars) {
  std::u16string_view set = chars ? chars : u"";
  while (!s_.empty() && set.find(s_.back()) != std::u16string_view::npos) s_.pop_back();
  return *this;
}
int CString::Compare(LPCTSTR other) const {
  int c = s_.compare(other ? other : u"");
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}
int CString::CompareNoCase(LPCTSTR other) const {
  std::u16string o = other ? other : u"";
  UErrorCode err = U_ZERO_ERROR;
  int c = u_strCaseCompare(reinterpret_cast<const UChar*>(s_.data()), static_cast<int32_t>(s_.size()),
                           reinterpret_cast<const UChar*>(o.data()), static_cast<int32_t>(o.size()),
                           U_FOLD_CASE_DEFAULT, &err);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}
CString CString::Tokenize(LPCTSTR delimiters, int& start) const {
  std::u16string_view set = delimiters ? delimiters : u"";
  if (start < 0) return CString();
  size_t i = static_cast<size_t>(start);
  while (i < s_.size() && set.find(s_[i]) != std::u16string_view::npos) ++i;
  if (i >= s_.size()) {
    start = -1;
    return CString();
  }
  size_t e = i;
  while (e < s_.size() && set.find(s_[e]) == std::u16string_view::npos) ++e;
  start = static_cast<int>(e + 1);
  return CString(s_.substr(i, e - i));
}
CString CString::SpanIncluding(LPCTSTR chars) const {
  std::u16string_view set = chars ? chars : u"";
  size_t i = 0;
  while (i < s_.size() && set.find(s_[i]) != std::u16string_view::npos) ++i;
  return CString(s_.substr(0, i));
}
CString CString::SpanExcluding(LPCTSTR chars) const {
  std::u16string_view set = chars ? chars : u"";
  size_t i = 0;
  while (i < s_.size() && set.find(s_[i]) == std::u16string_view::npos) ++i;
  return CString(s_.substr(0, i));
}
LPTSTR CString::GetBuffer(int minLength) {
  if (minLength > GetLength()) s_.resize(static_cast<size_t>(minLength), u'\0');
  return s_.data();
}
LPTSTR CString::GetBufferSetLength(int length) {
  s_.resize(static_cast<size_t>(std::max(length, 0)), u'\0');
  return s_.data();
}
void CString::ReleaseBuffer(int newLength) {
  if (newLength < 0) {
    size_t z = s_.find(u'\0');
    if (z != std::u16string::npos) s_.resize(z);
  } else if (newLength <= GetLength()) {
    s_.resize(static_cast<size_t>(newLength));
  }
}
