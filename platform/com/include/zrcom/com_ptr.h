// _com_ptr_t<I>: a reference-counting smart pointer to interface I. Calls
// through a null pointer throw _com_error(E_POINTER), as they do on the
// platform, so a missing object surfaces as a COM error rather than a crash.
#pragma once

#include <utility>

#include "zrcom/com_error.h"
#include "zrcom/runtime.h"
#include "zrcom/unknown.h"

template <class I>
class _com_ptr_t {
 public:
  using Interface = I;

  _com_ptr_t() noexcept = default;
  _com_ptr_t(std::nullptr_t) noexcept {}  // NOLINT
  // AddRefs p when add_ref is true, else takes over the caller's reference.
  _com_ptr_t(I* p, bool add_ref = true) noexcept : p_(p) {  // NOLINT
    if (p_ && add_ref) p_->AddRef();
  }
  _com_ptr_t(const _com_ptr_t& other) noexcept : _com_ptr_t(other.p_) {}
  _com_ptr_t(_com_ptr_t&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  // Queries other for I; null when other is null or lacks I.
  template <class J>
  explicit _com_ptr_t(const _com_ptr_t<J>& other) {
    if (other) other->QueryInterface(ZrUuidOf<I>(), reinterpret_cast<void**>(&p_));
  }
  // Creates an object of class clsid (see CoCreateInstance); throws _com_error.
  explicit _com_ptr_t(REFCLSID clsid, IUnknown* outer = nullptr, DWORD context = CLSCTX_ALL) {
    HRESULT hr = CreateInstance(clsid, outer, context);
    if (FAILED(hr)) _com_issue_error(hr);
  }
  ~_com_ptr_t() { _Release(); }

  _com_ptr_t& operator=(const _com_ptr_t& other) noexcept {
    _com_ptr_t(other).Swap(*this);
    return *this;
  }
  _com_ptr_t& operator=(_com_ptr_t&& other) noexcept {
    _com_ptr_t(std::move(other)).Swap(*this);
    return *this;
  }
  _com_ptr_t& operator=(I* p) noexcept {
    _com_ptr_t(p).Swap(*this);
    return *this;
  }
  _com_ptr_t& operator=(std::nullptr_t) noexcept {
    _Release();
    return *this;
  }
  template <class J>
  _com_ptr_t& operator=(const _com_ptr_t<J>& other) {
    _com_ptr_t(other).Swap(*this);
    return *this;
  }

  // Releases what is held and creates a new object of class clsid; returns
  // the failing HRESULT (pointer null) or S_OK.
  HRESULT CreateInstance(REFCLSID clsid, IUnknown* outer = nullptr, DWORD context = CLSCTX_ALL) noexcept {
    _Release();
    return CoCreateInstance(clsid, outer, context, ZrUuidOf<I>(), reinterpret_cast<void**>(&p_));
  }
  // Queries the held object for interface Q.
  template <class Q>
  HRESULT QueryInterface(REFIID iid, Q** out) const noexcept {
    if (!p_) return E_POINTER;
    return p_->QueryInterface(iid, reinterpret_cast<void**>(out));
  }

  void Attach(I* p) noexcept {
    _Release();
    p_ = p;
  }
  I* Detach() noexcept { return std::exchange(p_, nullptr); }
  // Releases the held reference (the pointer becomes null).
  void Release() {
    if (!p_) _com_issue_error(E_POINTER);
    _Release();
  }
  void AddRef() {
    if (!p_) _com_issue_error(E_POINTER);
    p_->AddRef();
  }
  void Swap(_com_ptr_t& other) noexcept { std::swap(p_, other.p_); }

  I* GetInterfacePtr() const noexcept { return p_; }
  operator I*() const noexcept { return p_; }  // NOLINT
  explicit operator bool() const noexcept { return p_ != nullptr; }
  I* operator->() const {
    if (!p_) _com_issue_error(E_POINTER);
    return p_;
  }
  I& operator*() const {
    if (!p_) _com_issue_error(E_POINTER);
    return *p_;
  }
  // For out parameters: releases what is held first.
  I** operator&() noexcept {
    _Release();
    return &p_;
  }

  friend bool operator==(const _com_ptr_t& a, std::nullptr_t) noexcept { return a.p_ == nullptr; }
  friend bool operator==(const _com_ptr_t& a, const _com_ptr_t& b) noexcept { return a.p_ == b.p_; }

 private:
  void _Release() noexcept {
    if (I* p = std::exchange(p_, nullptr)) p->Release();
  }

  I* p_ = nullptr;
};

// Declares InterfacePtr as the smart pointer of Interface.
#define ZR_SMARTPTR_TYPEDEF(Interface) using Interface##Ptr = _com_ptr_t<Interface>

ZR_SMARTPTR_TYPEDEF(IUnknown);
ZR_SMARTPTR_TYPEDEF(IDispatch);
ZR_SMARTPTR_TYPEDEF(IErrorInfo);
ZR_SMARTPTR_TYPEDEF(IClassFactory);
