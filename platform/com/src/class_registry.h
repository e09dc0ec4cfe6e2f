// The registry of in-process classes behind CoGetClassObject (see
// zrcom/runtime.h for the search order and the file format).
#pragma once

#include <string>

#include "zrcom/unknown.h"

namespace zrcom {

// The class factory of clsid, queried for iid. On failure sets the thread's
// error information to a description of the cause.
HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object);

HRESULT RegisterClassObject(REFCLSID clsid, IUnknown* factory, DWORD* cookie);
HRESULT RevokeClassObject(DWORD cookie);
HRESULT RegisterInprocServer(REFCLSID clsid, const char* library, const char* function);
void ReloadRegistryFiles();

}  // namespace zrcom
