// The base interfaces: IUnknown (identity and reference counting), IDispatch
// (the marker of automation objects, which travel in VT_DISPATCH variants),
// IClassFactory (creates the objects of one class) and IErrorInfo (the
// description of the last failed call).
//
// Interfaces are abstract classes with pure virtual methods and no data; an
// object is destroyed by its last Release, never by delete.
#pragma once

#include "zrcom/guid.h"
#include "zrcom/hresult.h"
#include "zrcom/types.h"

struct IUnknown {
  virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

  // Typed form: asks for the interface that Q is declared with.
  template <class Q>
  HRESULT QueryInterface(Q** object) {
    return QueryInterface(ZrUuidOf<Q>(), reinterpret_cast<void**>(object));
  }

 protected:
  ~IUnknown() = default;
};
ZR_DECLARE_IID(IUnknown, "00000000-0000-0000-C000-000000000046");

// Automation objects. Late binding by name is not provided: callers use the
// typed interfaces.
struct IDispatch : IUnknown {
 protected:
  ~IDispatch() = default;
};
ZR_DECLARE_IID(IDispatch, "00020400-0000-0000-C000-000000000046");

struct IClassFactory : IUnknown {
  // Creates an uninitialised object of the factory's class and returns its
  // interface iid in *object. outer must be null (no aggregation).
  virtual HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) = 0;
  virtual HRESULT LockServer(int lock) = 0;

 protected:
  ~IClassFactory() = default;
};
ZR_DECLARE_IID(IClassFactory, "00000001-0000-0000-C000-000000000046");

struct IErrorInfo : IUnknown {
  // Each returns a new BSTR that the caller frees.
  virtual HRESULT GetDescription(BSTR* description) = 0;
  virtual HRESULT GetSource(BSTR* source) = 0;
  // The interface that defined the error.
  virtual HRESULT GetGUID(GUID* guid) = 0;

 protected:
  ~IErrorInfo() = default;
};
ZR_DECLARE_IID(IErrorInfo, "1CF2B120-547D-101B-8E65-08002B2BD119");

// The error information of the calling thread. SetErrorInfo replaces it (null
// clears it; the info is AddRef'd). GetErrorInfo hands it over to the caller,
// who releases it, and clears it: S_OK with the info, S_FALSE with null when
// there is none. The first argument is reserved and must be 0.
HRESULT SetErrorInfo(ULONG reserved, IErrorInfo* info);
HRESULT GetErrorInfo(ULONG reserved, IErrorInfo** info);

// Sets the calling thread's error information to a new object carrying the
// description, the source (may be null) and the interface that failed.
// Returns hr, so that a failing method can end with
//   return ZrSetErrorInfo(E_FAIL, u"what went wrong", u"ADODB.Connection", iid);
HRESULT ZrSetErrorInfo(HRESULT hr, const char16_t* description, const char16_t* source = nullptr,
                       REFIID iid = GUID_NULL);
