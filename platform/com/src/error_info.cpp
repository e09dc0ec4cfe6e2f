// Per-thread error information and the object that carries it.

#include <string>

#include "zrcom/bstr.h"
#include "zrcom/object.h"
#include "zrcom/unknown.h"

namespace {

class ErrorInfo final : public ZrComObject<IErrorInfo> {
 public:
  ErrorInfo(std::u16string description, std::u16string source, const GUID& iid)
      : description_(std::move(description)), source_(std::move(source)), iid_(iid) {}

  HRESULT GetDescription(BSTR* out) override { return Copy(description_, out); }
  HRESULT GetSource(BSTR* out) override { return Copy(source_, out); }
  HRESULT GetGUID(GUID* out) override {
    if (!out) return E_POINTER;
    *out = iid_;
    return S_OK;
  }

 private:
  static HRESULT Copy(const std::u16string& text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = ZrAllocBstr(text);
    return *out ? S_OK : E_OUTOFMEMORY;
  }

  std::u16string description_;
  std::u16string source_;
  GUID iid_;
};

// Holds the thread's reference and drops it when the thread ends.
struct ThreadErrorInfo {
  IErrorInfo* info = nullptr;
  ~ThreadErrorInfo() {
    if (info) info->Release();
  }
};

thread_local ThreadErrorInfo current;

}  // namespace

HRESULT SetErrorInfo(ULONG reserved, IErrorInfo* info) {
  if (reserved != 0) return E_INVALIDARG;
  if (info) info->AddRef();
  IErrorInfo* old = current.info;
  current.info = info;
  if (old) old->Release();
  return S_OK;
}

HRESULT GetErrorInfo(ULONG reserved, IErrorInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (reserved != 0) return E_INVALIDARG;
  *info = current.info;
  current.info = nullptr;
  return *info ? S_OK : S_FALSE;
}

HRESULT ZrSetErrorInfo(HRESULT hr, const char16_t* description, const char16_t* source, REFIID iid) {
  auto* info = ZrMakeObject<ErrorInfo>(description ? description : u"", source ? source : u"", iid);
  SetErrorInfo(0, info);
  if (info) info->Release();
  return hr;
}
