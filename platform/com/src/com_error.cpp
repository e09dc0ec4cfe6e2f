// _com_error and the functions that throw it.

#include "zrcom/com_error.h"

#include <utility>

_com_error::_com_error(HRESULT hr, IErrorInfo* info, bool add_ref) noexcept : hr_(hr), info_(info) {
  if (info_ && add_ref) info_->AddRef();
}

_com_error::_com_error(const _com_error& other) noexcept : hr_(other.hr_), info_(other.info_) {
  if (info_) info_->AddRef();
}

_com_error& _com_error::operator=(const _com_error& other) noexcept {
  if (this != &other) {
    if (other.info_) other.info_->AddRef();
    if (info_) info_->Release();
    hr_ = other.hr_;
    info_ = other.info_;
    message_.clear();
  }
  return *this;
}

_com_error::~_com_error() {
  if (info_) info_->Release();
}

WORD _com_error::WCode() const noexcept {
  // Codes of the dispatch facility map back to small numbers; others to 0.
  unsigned code = static_cast<unsigned>(hr_);
  if (code >= 0x80040200u && code <= 0x8004FFFFu) return static_cast<WORD>(code - 0x80040200u);
  return 0;
}

IErrorInfo* _com_error::ErrorInfo() const noexcept {
  if (info_) info_->AddRef();
  return info_;
}

_bstr_t _com_error::Description() const {
  BSTR text = nullptr;
  if (info_) info_->GetDescription(&text);
  return _bstr_t(text, false);
}

_bstr_t _com_error::Source() const {
  BSTR text = nullptr;
  if (info_) info_->GetSource(&text);
  return _bstr_t(text, false);
}

const char16_t* _com_error::ErrorMessage() const {
  if (message_.empty()) message_ = ZrHResultMessage(hr_);
  return message_.c_str();
}

void _com_issue_error(HRESULT hr) { throw _com_error(hr); }

void _com_issue_errorex(HRESULT hr, IUnknown*, REFIID) {
  IErrorInfo* info = nullptr;
  GetErrorInfo(0, &info);
  throw _com_error(hr, info, false);
}
