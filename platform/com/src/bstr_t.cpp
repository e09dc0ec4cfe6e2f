// _bstr_t: value semantics over an owned BSTR.

#include "zrcom/bstr_t.h"

#include <new>
#include <utility>

#include "zrcom/com_error.h"
#include "zrcom/variant_t.h"

namespace {

// An allocation that must not fail silently: the platform's wrapper throws
// _com_error(E_OUTOFMEMORY).
BSTR Checked(BSTR text, bool wanted) {
  if (wanted && !text) _com_issue_error(E_OUTOFMEMORY);
  return text;
}

}  // namespace

_bstr_t::_bstr_t(const _bstr_t& other)
    : text_(other.text_ ? Checked(SysAllocStringLen(other.text_, other.length()), true) : nullptr) {}

_bstr_t::_bstr_t(const char16_t* text) : text_(text ? Checked(SysAllocString(text), true) : nullptr) {}

_bstr_t::_bstr_t(const char* utf8) : text_(utf8 ? Checked(ZrAllocBstrUtf8(utf8), true) : nullptr) {}

_bstr_t::_bstr_t(std::u16string_view text) : text_(Checked(ZrAllocBstr(text), true)) {}

_bstr_t::_bstr_t(const std::string& utf8) : text_(Checked(ZrAllocBstrUtf8(utf8), true)) {}

_bstr_t::_bstr_t(BSTR text, bool copy) {
  if (!copy)
    text_ = text;
  else if (text)
    text_ = Checked(SysAllocStringLen(text, SysStringLen(text)), true);
}

_bstr_t::_bstr_t(const _variant_t& value) {
  if (value.vt == VT_BSTR) {
    if (value.bstrVal) text_ = Checked(SysAllocStringLen(value.bstrVal, SysStringLen(value.bstrVal)), true);
    return;
  }
  VARIANT converted;
  VariantInit(&converted);
  HRESULT hr = VariantChangeType(&converted, &value, 0, VT_BSTR);
  if (FAILED(hr)) _com_issue_error(hr);
  text_ = converted.bstrVal;
}

_bstr_t& _bstr_t::operator=(const _bstr_t& other) {
  if (this != &other) *this = _bstr_t(other);
  return *this;
}

_bstr_t& _bstr_t::operator=(_bstr_t&& other) noexcept {
  if (this != &other) {
    SysFreeString(text_);
    text_ = std::exchange(other.text_, nullptr);
  }
  return *this;
}

_bstr_t& _bstr_t::operator+=(const _bstr_t& other) {
  if (other.length() == 0) return *this;
  std::u16string joined(view());
  joined += other.view();
  *this = _bstr_t(std::u16string_view(joined));
  return *this;
}

BSTR _bstr_t::copy(bool copy_null_as_null) const {
  if (!text_) return copy_null_as_null ? nullptr : Checked(SysAllocString(u""), true);
  return Checked(SysAllocStringLen(text_, length()), true);
}

BSTR* _bstr_t::GetAddress() {
  SysFreeString(std::exchange(text_, nullptr));
  return &text_;
}

void _bstr_t::Attach(BSTR text) {
  if (text == text_) return;
  SysFreeString(std::exchange(text_, text));
}

BSTR _bstr_t::Detach() noexcept { return std::exchange(text_, nullptr); }
