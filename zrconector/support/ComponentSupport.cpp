#include "support/ComponentSupport.h"

IUnknownPtr CreateRunningObject(REFCLSID clsid) {
  IUnknownPtr unknown;
  HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_ALL, ZrUuidOf<IUnknown>(), reinterpret_cast<void**>(&unknown));
  if (FAILED(hr) || !unknown) return nullptr;
  hr = OleRun(unknown);
  if (FAILED(hr)) {
    ZrSetErrorInfo(hr, u"The object could not be put into its running state.");
    return nullptr;
  }
  return unknown;
}

CString TakeErrorDescription() {
  IErrorInfoPtr info;
  if (GetErrorInfo(0, &info) != S_OK || !info) return CString();
  BSTR text = nullptr;
  info->GetDescription(&text);
  return CString(std::u16string(_bstr_t(text, false).view()));
}

void RaiseComError(HRESULT hr, const CString& description) {
  ZrSetErrorInfo(hr, description.GetString(), u"ZRConector");
  _com_issue_errorex(hr, nullptr, GUID_NULL);
}
