// BSTR allocation: a 32-bit byte count, then the UTF-16 text, then a NUL.

#include "zrcom/bstr.h"

#include <unicode/ustring.h>

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

constexpr std::size_t kHeader = sizeof(std::uint32_t);

std::uint32_t* HeaderOf(BSTR text) {
  return reinterpret_cast<std::uint32_t*>(reinterpret_cast<char*>(text) - kHeader);
}

}  // namespace

BSTR SysAllocStringLen(const OLECHAR* text, UINT len) {
  if (len > (std::numeric_limits<std::uint32_t>::max() - kHeader - 2) / 2) return nullptr;
  std::size_t bytes = std::size_t{len} * sizeof(OLECHAR);
  char* block = static_cast<char*>(std::malloc(kHeader + bytes + sizeof(OLECHAR)));
  if (!block) return nullptr;
  std::uint32_t count = static_cast<std::uint32_t>(bytes);
  std::memcpy(block, &count, kHeader);
  BSTR result = reinterpret_cast<BSTR>(block + kHeader);
  if (text)
    std::memcpy(result, text, bytes);
  else
    std::memset(result, 0, bytes);
  result[len] = u'\0';
  return result;
}

BSTR SysAllocString(const OLECHAR* text) {
  if (!text) return nullptr;
  return SysAllocStringLen(text, static_cast<UINT>(std::char_traits<char16_t>::length(text)));
}

int SysReAllocString(BSTR* target, const OLECHAR* text) {
  if (!target) return 0;
  BSTR copy = SysAllocString(text ? text : u"");
  if (!copy) return 0;
  SysFreeString(*target);
  *target = copy;
  return 1;
}

void SysFreeString(BSTR text) {
  if (text) std::free(HeaderOf(text));
}

UINT SysStringByteLen(BSTR text) {
  if (!text) return 0;
  std::uint32_t count;
  std::memcpy(&count, HeaderOf(text), kHeader);
  return count;
}

UINT SysStringLen(BSTR text) { return SysStringByteLen(text) / sizeof(OLECHAR); }

std::u16string ZrUtf8ToUtf16(std::string_view text) {
  if (text.empty()) return {};
  // ASCII (nearly every value of a catalogue) unit for unit.
  std::size_t ascii = 0;
  while (ascii < text.size() && static_cast<unsigned char>(text[ascii]) < 0x80) ++ascii;
  if (ascii == text.size()) return std::u16string(text.begin(), text.end());
  std::u16string out(text.size(), u'\0');  // UTF-16 never needs more units than UTF-8 bytes
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, text.data(),
                       static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &status);
  if (U_FAILURE(status)) return {};
  out.resize(static_cast<std::size_t>(length));
  return out;
}

std::string ZrUtf16ToUtf8(std::u16string_view text) {
  if (text.empty()) return {};
  std::string out(text.size() * 3, '\0');  // at most three bytes per UTF-16 unit
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, text.data(),
                     static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &status);
  if (U_FAILURE(status)) return {};
  out.resize(static_cast<std::size_t>(length));
  return out;
}

BSTR ZrAllocBstr(std::u16string_view text) {
  return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

BSTR ZrAllocBstrUtf8(std::string_view text) { return ZrAllocBstr(ZrUtf8ToUtf16(text)); }
