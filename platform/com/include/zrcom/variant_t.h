// _variant_t: a VARIANT that frees what it holds, with constructors from C++
// values and conversions back. Conversions that fail throw _com_error with
// the HRESULT of VariantChangeType (DISP_E_TYPEMISMATCH for a null value).
#pragma once

#include "zrcom/bstr_t.h"
#include "zrcom/variant.h"

class _variant_t : public VARIANT {
 public:
  _variant_t() noexcept { VariantInit(this); }
  _variant_t(const VARIANT& other);                     // NOLINT: implicit copy of a raw VARIANT
  _variant_t(const _variant_t& other) : _variant_t(static_cast<const VARIANT&>(other)) {}
  _variant_t(_variant_t&& other) noexcept;
  // Takes over other when copy is false (other is left empty).
  _variant_t(VARIANT& other, bool copy);

  _variant_t(short value, VARTYPE vt = VT_I2);          // VT_I2 (or VT_BOOL with vt = VT_BOOL)
  _variant_t(int value, VARTYPE vt = VT_I4);            // VT_I4 (or VT_ERROR with vt = VT_ERROR)
  _variant_t(long value);                               // VT_I4 when it fits, else VT_I8
  _variant_t(long long value);                          // VT_I8
  _variant_t(double value);                             // VT_R8
  _variant_t(bool value);                               // VT_BOOL
  _variant_t(const char16_t* text);                     // VT_BSTR
  _variant_t(const char* utf8);                         // VT_BSTR
  _variant_t(const _bstr_t& text);                      // VT_BSTR
  _variant_t(IDispatch* object, bool add_ref = true);   // VT_DISPATCH
  _variant_t(IUnknown* object, bool add_ref = true);    // VT_UNKNOWN

  ~_variant_t() { VariantClear(this); }

  _variant_t& operator=(const _variant_t& other);
  _variant_t& operator=(_variant_t&& other) noexcept;
  _variant_t& operator=(const VARIANT& other);

  // A variant holding SQL NULL (VT_NULL).
  static _variant_t Null();

  void Clear();
  // Converts in place (or from src); throws _com_error on failure.
  void ChangeType(VARTYPE vt, const _variant_t* src = nullptr);
  void Attach(VARIANT& other);   // frees what is held, takes over other
  VARIANT Detach() noexcept;     // hands over what is held, stays empty
  VARIANT& GetVARIANT() noexcept { return *this; }
  VARIANT* GetAddress();         // clears, returns the address for an out parameter

  bool IsNull() const noexcept { return vt == VT_NULL; }
  bool IsEmpty() const noexcept { return vt == VT_EMPTY; }

  operator short() const;
  operator int() const;
  operator long() const;
  operator long long() const;
  operator double() const;
  operator bool() const;
  // The held interface (AddRef'd for the caller): null when empty, else the
  // VT_DISPATCH/VT_UNKNOWN object; other types throw DISP_E_TYPEMISMATCH.
  operator IDispatch*() const;
  operator IUnknown*() const;

  // Same type and same value (strings by code units, interfaces by address).
  friend bool operator==(const _variant_t& a, const _variant_t& b) noexcept;

 private:
  _variant_t Converted(VARTYPE target) const;
};

// A VT_ERROR variant with DISP_E_PARAMNOTFOUND: an optional argument left out.
extern const _variant_t vtMissing;
