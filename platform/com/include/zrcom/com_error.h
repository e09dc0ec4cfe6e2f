// _com_error: the exception that carries a failed HRESULT and, when the
// failing object left one, its error information (description and source).
#pragma once

#include <string>

#include "zrcom/bstr_t.h"
#include "zrcom/unknown.h"

class _com_error {
 public:
  // Takes a reference on info when add_ref is true, else takes ownership of
  // the caller's reference. info may be null.
  explicit _com_error(HRESULT hr, IErrorInfo* info = nullptr, bool add_ref = false) noexcept;
  _com_error(const _com_error& other) noexcept;
  _com_error& operator=(const _com_error& other) noexcept;
  virtual ~_com_error();

  HRESULT Error() const noexcept { return hr_; }
  WORD WCode() const noexcept;
  // The error information (AddRef'd for the caller, who releases it), or null.
  IErrorInfo* ErrorInfo() const noexcept;
  // The failing object's description and source; empty without error information.
  _bstr_t Description() const;
  _bstr_t Source() const;
  // The text of the HRESULT itself ("Invalid pointer" for E_POINTER). Owned
  // by this object.
  const char16_t* ErrorMessage() const;

 private:
  HRESULT hr_;
  IErrorInfo* info_;
  mutable std::u16string message_;
};

// Throw a _com_error: without error information, or with the calling
// thread's error information (taken over and cleared), as a smart-pointer
// wrapper does after a failed call on object (whose interface is iid).
[[noreturn]] void _com_issue_error(HRESULT hr);
[[noreturn]] void _com_issue_errorex(HRESULT hr, IUnknown* object, REFIID iid);

// For wrappers: throws when hr failed.
inline void ZrCheck(HRESULT hr, IUnknown* object, REFIID iid) {
  if (FAILED(hr)) _com_issue_errorex(hr, object, iid);
}
