#include "zrdwg/OdString.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <vector>

const OdString OdString::kEmpty;

OdString::OdString(const OdChar* text) {
  if (text) text_ = text;
}

OdString::OdString(const OdChar* text, std::size_t length) {
  if (text) text_.assign(text, length);
}

OdString OdString::fromUtf8(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  const auto* s = reinterpret_cast<const uint8_t*>(utf8.data());
  int32_t length = static_cast<int32_t>(utf8.size());
  int32_t i = 0;
  while (i < length) {
    UChar32 c;
    U8_NEXT(s, i, length, c);
    if (c < 0) c = 0xFFFD;
    if (c <= 0xFFFF) {
      out += static_cast<char16_t>(c);
    } else {
      out += static_cast<char16_t>(U16_LEAD(c));
      out += static_cast<char16_t>(U16_TRAIL(c));
    }
  }
  return OdString(std::move(out));
}

std::string OdString::toUtf8() const {
  std::string out;
  out.reserve(text_.size());
  const std::size_t n = text_.size();
  for (std::size_t i = 0; i < n; ++i) {
    char32_t c = text_[i];
    if (U16_IS_LEAD(c) && i + 1 < n && U16_IS_TRAIL(text_[i + 1])) {
      c = U16_GET_SUPPLEMENTARY(c, text_[i + 1]);
      ++i;
    } else if (U16_IS_SURROGATE(c)) {
      c = 0xFFFD;  // a lone surrogate has no UTF-8 form
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

namespace {

bool isPlainAscii(const std::u16string& s) {
  for (char16_t c : s)
    if (c >= 0x80) return false;
  return true;
}

// Runs an ICU case mapping with the root locale, growing the buffer once if needed.
template <typename Mapper>
std::u16string mapCase(const std::u16string& in, Mapper mapper) {
  std::u16string out(in.size() + 8, u'\0');
  UErrorCode status = U_ZERO_ERROR;
  int32_t n = mapper(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                     reinterpret_cast<const UChar*>(in.data()), static_cast<int32_t>(in.size()), "", &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    out.assign(static_cast<std::size_t>(n), u'\0');
    status = U_ZERO_ERROR;
    n = mapper(reinterpret_cast<UChar*>(out.data()), n, reinterpret_cast<const UChar*>(in.data()),
               static_cast<int32_t>(in.size()), "", &status);
  }
  if (U_FAILURE(status)) return in;
  out.resize(static_cast<std::size_t>(n));
  return out;
}

}  // namespace

OdString& OdString::makeUpper() {
  if (isPlainAscii(text_)) {
    for (auto& c : text_)
      if (c >= 'a' && c <= 'z') c = static_cast<char16_t>(c - 'a' + 'A');
    return *this;
  }
  text_ = mapCase(text_, u_strToUpper);
  return *this;
}

OdString& OdString::makeLower() {
  if (isPlainAscii(text_)) {
    for (auto& c : text_)
      if (c >= 'A' && c <= 'Z') c = static_cast<char16_t>(c - 'A' + 'a');
    return *this;
  }
  text_ = mapCase(text_, u_strToLower);
  return *this;
}

OdString& OdString::trimLeft() {
  std::size_t i = 0;
  while (i < text_.size() && odIsAsciiSpace(text_[i])) ++i;
  text_.erase(0, i);
  return *this;
}

OdString& OdString::trimRight() {
  std::size_t n = text_.size();
  while (n > 0 && odIsAsciiSpace(text_[n - 1])) --n;
  text_.resize(n);
  return *this;
}

int OdString::compare(const OdString& other) const {
  int r = text_.compare(other.text_);
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int OdString::iCompare(const OdString& other) const {
  OdString a(*this), b(other);
  return a.makeUpper().compare(b.makeUpper());
}

int OdString::find(OdChar c, int start) const {
  if (start < 0) start = 0;
  auto pos = text_.find(c, static_cast<std::size_t>(start));
  return pos == std::u16string::npos ? -1 : static_cast<int>(pos);
}

int OdString::find(const OdString& s, int start) const {
  if (start < 0) start = 0;
  auto pos = text_.find(s.text_, static_cast<std::size_t>(start));
  return pos == std::u16string::npos ? -1 : static_cast<int>(pos);
}

OdString OdString::left(int count) const {
  if (count <= 0) return {};
  return OdString(text_.substr(0, static_cast<std::size_t>(count)));
}

OdString OdString::right(int count) const {
  if (count <= 0) return {};
  std::size_t n = static_cast<std::size_t>(count);
  if (n >= text_.size()) return *this;
  return OdString(text_.substr(text_.size() - n));
}

OdString OdString::mid(int start, int count) const {
  if (start < 0) start = 0;
  if (static_cast<std::size_t>(start) >= text_.size()) return {};
  if (count < 0) return OdString(text_.substr(static_cast<std::size_t>(start)));
  return OdString(text_.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(count)));
}
