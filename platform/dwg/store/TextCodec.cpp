#include "zrdwg/TextCodec.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>
#include <unicode/utf16.h>

#include <cctype>

#include "zrdwg/DxfValues.h"

namespace {

using dxfv::isAscii;

int hexDigit(char16_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Replaces every "\U+XXXX" (exactly four hex digits) by its character.
std::u16string decodeEscapes(std::u16string s) {
  if (s.find(u"\\U+") == std::u16string::npos) return s;
  std::u16string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 6 < s.size() && s[i + 1] == 'U' && s[i + 2] == '+') {
      int v = 0;
      bool ok = true;
      for (int k = 0; k < 4; ++k) {
        int d = hexDigit(s[i + 3 + static_cast<std::size_t>(k)]);
        if (d < 0) {
          ok = false;
          break;
        }
        v = v * 16 + d;
      }
      if (ok) {
        out += static_cast<char16_t>(v);
        i += 6;
        continue;
      }
    }
    out += s[i];
  }
  return out;
}

void appendEscape(std::string& out, unsigned v) {
  static const char* kHex = "0123456789ABCDEF";
  out += "\\U+";
  out += kHex[(v >> 12) & 15];
  out += kHex[(v >> 8) & 15];
  out += kHex[(v >> 4) & 15];
  out += kHex[v & 15];
}

// Windows reads a byte 0x80-0x9F that its code page leaves unassigned (0x80 in
// code page 932, for one) as the C1 control of the same number, and writes it
// back the same way; ICU's tables lack these, and would read such a byte as a
// substitute and lose it. Lone lead bytes and other faults are substituted.
void toUnicodeC1(const void* context, UConverterToUnicodeArgs* args, const char* bytes, int32_t length,
                 UConverterCallbackReason reason, UErrorCode* status) {
  if (reason == UCNV_UNASSIGNED && length == 1) {
    const auto b = static_cast<unsigned char>(bytes[0]);
    if (b >= 0x80 && b <= 0x9F) {
      *status = U_ZERO_ERROR;
      const UChar c = b;
      ucnv_cbToUWriteUChars(args, &c, 1, 0, status);
      return;
    }
  }
  UCNV_TO_U_CALLBACK_SUBSTITUTE(context, args, bytes, length, reason, status);
}

}  // namespace

std::string TextCodec::icuNameOf(std::string_view cp) {
  std::string up;
  for (char c : cp) up += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (up.rfind("ANSI_", 0) == 0) {
    std::string n = up.substr(5);
    if (n == "874" || n == "1250" || n == "1251" || n == "1252" || n == "1253" || n == "1254" ||
        n == "1255" || n == "1256" || n == "1257" || n == "1258")
      return "windows-" + n;
    if (n == "932") return "windows-31j";
    if (n == "936") return "windows-936";
    if (n == "949") return "windows-949";
    if (n == "950") return "windows-950";
    if (n == "1361") return "ibm-1361";
  }
  if (up == "DOS437") return "ibm-437";
  if (up == "DOS850") return "ibm-850";
  if (up == "DOS852") return "ibm-852";
  if (up == "DOS866") return "ibm-866";
  return {};
}

TextCodec::TextCodec(bool utf8, std::string_view codePage) : utf8_(utf8) {
  if (utf8_) {
    charset_ = "UTF-8";
    return;
  }
  charset_ = icuNameOf(codePage);
  if (charset_.empty()) charset_ = "windows-1252";
  UErrorCode status = U_ZERO_ERROR;
  conv_ = ucnv_open(charset_.c_str(), &status);
  if (U_FAILURE(status)) {
    status = U_ZERO_ERROR;
    charset_ = "windows-1252";
    conv_ = ucnv_open(charset_.c_str(), &status);
  }
  status = U_ZERO_ERROR;
  if (!conv_) return;
  ucnv_setFromUCallBack(conv_, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  status = U_ZERO_ERROR;
  ucnv_setToUCallBack(conv_, toUnicodeC1, nullptr, nullptr, nullptr, &status);
  // The bytes read as their C1 control that the code page cannot write back:
  // they are written as themselves.
  for (unsigned b = 0x80; b <= 0x9F; ++b) {
    const char byte = static_cast<char>(b);
    std::string out;
    c1Bytes_[b - 0x80] = decode(std::string_view(&byte, 1)).str() == std::u16string(1, static_cast<char16_t>(b)) &&
                         !encodeChar(b, out);
  }
}

TextCodec::~TextCodec() {
  if (conv_) ucnv_close(conv_);
}

OdString TextCodec::decode(std::string_view raw) const {
  if (isAscii(raw)) {
    std::u16string s(raw.begin(), raw.end());
    return OdString(decodeEscapes(std::move(s)));
  }
  if (utf8_ || !conv_) return OdString(decodeEscapes(OdString::fromUtf8(raw).str()));
  std::u16string out(raw.size() * 2 + 2, u'\0');
  UErrorCode status = U_ZERO_ERROR;
  int32_t n = ucnv_toUChars(conv_, reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()), raw.data(),
                            static_cast<int32_t>(raw.size()), &status);
  if (U_FAILURE(status)) return OdString(decodeEscapes(OdString::fromUtf8(raw).str()));
  out.resize(static_cast<std::size_t>(n));
  return OdString(decodeEscapes(std::move(out)));
}

bool TextCodec::encodeChar(char32_t c, std::string& out) const {
  UChar units[2];
  int32_t n = 0;
  if (c <= 0xFFFF) {
    units[n++] = static_cast<UChar>(c);
  } else {
    units[n++] = U16_LEAD(c);
    units[n++] = U16_TRAIL(c);
  }
  char buf[8];
  UErrorCode status = U_ZERO_ERROR;
  ucnv_resetFromUnicode(conv_);
  int32_t len = ucnv_fromUChars(conv_, buf, sizeof buf, units, n, &status);
  if (U_FAILURE(status) || len <= 0) {
    if (c < 0x80 || c > 0x9F || !c1Bytes_[c - 0x80]) return false;
    out += static_cast<char>(c);
    return true;
  }
  out.append(buf, static_cast<std::size_t>(len));
  return true;
}

std::string TextCodec::encode(const OdString& text) const {
  const std::u16string& s = text.str();
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    char16_t u = s[i];
    if (u == '\n' || u == '\r' || u == 0) {
      appendEscape(out, u);
    } else if (u < 0x80) {
      out += static_cast<char>(u);
    } else if (utf8_) {
      std::size_t j = i + 1;
      if (U16_IS_LEAD(u) && j < s.size() && U16_IS_TRAIL(s[j])) ++j;
      if (j == i + 1 && U16_IS_SURROGATE(u)) {
        // A lone surrogate (from a "\U+D800" read) has no UTF-8 form: the
        // escape keeps it as it was read.
        appendEscape(out, u);
        continue;
      }
      out += OdString(s.substr(i, j - i)).toUtf8();
      i = j - 1;
    } else {
      char32_t c = u;
      std::size_t extra = 0;
      if (U16_IS_LEAD(u) && i + 1 < s.size() && U16_IS_TRAIL(s[i + 1])) {
        c = U16_GET_SUPPLEMENTARY(u, s[i + 1]);
        extra = 1;
      }
      if (!U16_IS_SURROGATE(u) && conv_ && encodeChar(c, out)) continue;
      // The code page has no such character: escape each UTF-16 unit.
      appendEscape(out, u);
      if (extra) appendEscape(out, s[i + 1]);
      i += extra;
    }
  }
  return out;
}
