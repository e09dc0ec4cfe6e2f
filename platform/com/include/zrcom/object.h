// Helpers for implementing COM objects and in-process servers.
//
//   class Thing final : public ZrComObject<IThing, IOther> { ... };
//   IThing* p = ZrMakeObject<Thing>(args...);   // one reference, the caller's
//
// ZrComObject answers QueryInterface for each listed interface, for
// IDispatch when the first one derives from it, and for IUnknown; the object
// deletes itself on its last Release.
#pragma once

#include <atomic>
#include <new>
#include <type_traits>
#include <utility>

#include "zrcom/unknown.h"

template <class First, class... Rest>
class ZrComObject : public First, public Rest... {
 public:
  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid == ZrUuidOf<IUnknown>()) {
      *object = static_cast<IUnknown*>(static_cast<First*>(this));
    } else if constexpr (std::is_base_of_v<IDispatch, First>) {
      if (iid == ZrUuidOf<IDispatch>()) *object = static_cast<IDispatch*>(static_cast<First*>(this));
    }
    if (!*object) Find<First, Rest...>(iid, object);
    if (!*object) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  ZrComObject() = default;
  virtual ~ZrComObject() = default;
  ZrComObject(const ZrComObject&) = delete;
  ZrComObject& operator=(const ZrComObject&) = delete;

 private:
  template <class I, class... More>
  void Find(REFIID iid, void** object) {
    if (iid == ZrUuidOf<I>()) {
      *object = static_cast<I*>(this);
      return;
    }
    if constexpr (sizeof...(More) > 0) Find<More...>(iid, object);
  }

  std::atomic<ULONG> refs_{1};
};

// Creates an object with one reference, owned by the caller. Returns null
// when out of memory.
template <class T, class... Args>
T* ZrMakeObject(Args&&... args) {
  return new (std::nothrow) T(std::forward<Args>(args)...);
}

// The class factory of one class T (default-constructible), for the
// factory function of a server library.
template <class T>
class ZrClassFactory final : public ZrComObject<IClassFactory> {
 public:
  HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    T* created = ZrMakeObject<T>();
    if (!created) return E_OUTOFMEMORY;
    HRESULT hr = created->QueryInterface(iid, object);
    created->Release();
    return hr;
  }
  HRESULT LockServer(int) override { return S_OK; }
};

// Returns the factory of T through *object when clsid is T's class id.
template <class T>
HRESULT ZrGetFactoryOf(REFCLSID clsid, REFCLSID wanted, REFIID iid, void** object) {
  if (clsid != wanted) return CLASS_E_CLASSNOTAVAILABLE;
  auto* factory = ZrMakeObject<ZrClassFactory<T>>();
  if (!factory) return E_OUTOFMEMORY;
  HRESULT hr = factory->QueryInterface(iid, object);
  factory->Release();
  return hr;
}
