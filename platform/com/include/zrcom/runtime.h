// The COM run time: per-thread initialisation, object creation through a
// registry of in-process classes, and OleRun.
//
// A class is found, in this order, among
//   1. class objects registered by the process (CoRegisterClassObject);
//   2. in-process servers registered by the process (ZrRegisterInprocServer);
//   3. registry files: every "*.comreg" file in the folders named by the
//      environment variable ZR_COM_REGISTRY (':'-separated, files or folders),
//      then in the folder "com-registry.d" beside this library and in
//      "../share/zrconector/com-registry.d" from it. Each line is
//        {CLSID}  library-path  [factory-function]
//      ('#' starts a comment; a relative library path is taken from the
//      file's folder; the factory function defaults to DllGetClassObject).
// A server library is loaded with dlopen on first use and stays loaded for
// the life of the process. Its factory function has the signature of
// ZrGetClassObjectFn and returns the class factory of the CLSID.
#pragma once

#include <string>

#include "zrcom/unknown.h"

enum CLSCTX : DWORD {
  CLSCTX_INPROC_SERVER = 0x1,
  CLSCTX_INPROC_HANDLER = 0x2,
  CLSCTX_LOCAL_SERVER = 0x4,
  CLSCTX_REMOTE_SERVER = 0x10,
  CLSCTX_ALL = 0x17,
  CLSCTX_SERVER = 0x15,
};

enum COINIT : DWORD {
  COINIT_APARTMENTTHREADED = 0x2,
  COINIT_MULTITHREADED = 0x0,
};

enum REGCLS : DWORD {
  REGCLS_SINGLEUSE = 0,
  REGCLS_MULTIPLEUSE = 1,
};

using ZrGetClassObjectFn = HRESULT (*)(REFCLSID clsid, REFIID iid, void** object);

// Initialises COM on the calling thread: S_OK the first time, S_FALSE when
// the thread was already initialised. Each successful call is balanced by
// CoUninitialize. reserved must be null.
HRESULT CoInitialize(void* reserved);
HRESULT CoInitializeEx(void* reserved, DWORD coinit);
void CoUninitialize();

// Creates an object of class clsid and returns its interface iid.
// CO_E_NOTINITIALIZED when no thread of the process initialised COM,
// CLASS_E_NOAGGREGATION when outer is not null, REGDB_E_CLASSNOTREG when
// no registration names the class or context lacks CLSCTX_INPROC_SERVER,
// CO_E_DLLNOTFOUND / CO_E_ERRORINDLL when its library does not load or lacks
// the factory function, or the factory's own failure. On failure *object is
// null and the thread's error information describes the cause.
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** object);
// The class factory of clsid (or its interface iid), found as above.
HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, void* reserved, REFIID iid, void** object);

// Puts an object into its running state. In-process objects are running once
// created: S_OK for any object, E_INVALIDARG for null.
HRESULT OleRun(IUnknown* object);

// Registers a class factory for clsid in this process; *cookie identifies the
// registration for CoRevokeClassObject. The factory is AddRef'd.
HRESULT CoRegisterClassObject(REFCLSID clsid, IUnknown* factory, DWORD context, DWORD flags, DWORD* cookie);
HRESULT CoRevokeClassObject(DWORD cookie);

// Registers (or with a null library, removes) the in-process server of clsid
// for this process: the shared library and its factory function (null:
// "DllGetClassObject").
HRESULT ZrRegisterInprocServer(REFCLSID clsid, const char* library, const char* factory_function);

// Reads the registry files again (after ZR_COM_REGISTRY changed).
void ZrReloadComRegistry();

// Parses "{...}" or the bare 36-character form. CO_E_CLASSSTRING when malformed.
HRESULT CLSIDFromString(const OLECHAR* text, CLSID* clsid);
HRESULT IIDFromString(const OLECHAR* text, IID* iid);
