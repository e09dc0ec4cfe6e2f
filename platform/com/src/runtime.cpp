// CoInitialize, object creation and OleRun.

#include "zrcom/runtime.h"

#include <atomic>

#include "class_registry.h"
#include "zrcom/bstr.h"

namespace {

thread_local int thread_inits = 0;
std::atomic<int> process_inits{0};

}  // namespace

HRESULT CoInitializeEx(void* reserved, DWORD) {
  if (reserved) return E_INVALIDARG;
  ++process_inits;
  return thread_inits++ == 0 ? S_OK : S_FALSE;
}

HRESULT CoInitialize(void* reserved) { return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED); }

void CoUninitialize() {
  if (thread_inits == 0) return;
  --thread_inits;
  --process_inits;
}

HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, void* reserved, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (reserved) return E_INVALIDARG;
  if (process_inits.load() == 0)
    return ZrSetErrorInfo(CO_E_NOTINITIALIZED, u"CoInitialize has not been called.", u"COM");
  if (!(context & (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER)))
    return ZrSetErrorInfo(REGDB_E_CLASSNOTREG, u"only in-process servers are available", u"COM");
  return zrcom::GetClassObject(clsid, iid, object);
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (outer) return ZrSetErrorInfo(CLASS_E_NOAGGREGATION, u"objects cannot be aggregated", u"COM");
  IClassFactory* factory = nullptr;
  HRESULT hr = CoGetClassObject(clsid, context, nullptr, ZrUuidOf<IClassFactory>(),
                                reinterpret_cast<void**>(&factory));
  if (FAILED(hr)) return hr;
  hr = factory->CreateInstance(nullptr, iid, object);
  factory->Release();
  if (FAILED(hr)) *object = nullptr;
  return hr;
}

HRESULT OleRun(IUnknown* object) { return object ? S_OK : E_INVALIDARG; }

HRESULT CoRegisterClassObject(REFCLSID clsid, IUnknown* factory, DWORD, DWORD, DWORD* cookie) {
  return zrcom::RegisterClassObject(clsid, factory, cookie);
}

HRESULT CoRevokeClassObject(DWORD cookie) { return zrcom::RevokeClassObject(cookie); }

HRESULT ZrRegisterInprocServer(REFCLSID clsid, const char* library, const char* factory_function) {
  return zrcom::RegisterInprocServer(clsid, library, factory_function);
}

void ZrReloadComRegistry() { zrcom::ReloadRegistryFiles(); }

HRESULT CLSIDFromString(const OLECHAR* text, CLSID* clsid) {
  if (!text || !clsid) return E_INVALIDARG;
  std::string ascii = ZrUtf16ToUtf8(text);
  return ZrParseGuid(ascii, clsid) ? S_OK : CO_E_CLASSSTRING;
}

HRESULT IIDFromString(const OLECHAR* text, IID* iid) {
  HRESULT hr = CLSIDFromString(text, iid);
  return hr == CO_E_CLASSSTRING ? E_INVALIDARG : hr;
}
