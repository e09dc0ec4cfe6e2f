// _variant_t: constructors, assignment and conversions.

#include "zrcom/variant_t.h"

#include <cstring>
#include <limits>

#include "zrcom/com_error.h"

namespace {

void Check(HRESULT hr) {
  if (FAILED(hr)) _com_issue_error(hr);
}

}  // namespace

const _variant_t vtMissing(static_cast<int>(DISP_E_PARAMNOTFOUND), VT_ERROR);

_variant_t::_variant_t(const VARIANT& other) {
  VariantInit(this);
  Check(VariantCopy(this, &other));
}

_variant_t::_variant_t(_variant_t&& other) noexcept {
  std::memcpy(static_cast<VARIANT*>(this), static_cast<VARIANT*>(&other), sizeof(VARIANT));
  VariantInit(&other);
}

_variant_t::_variant_t(VARIANT& other, bool copy) {
  VariantInit(this);
  if (copy) {
    Check(VariantCopy(this, &other));
  } else {
    std::memcpy(static_cast<VARIANT*>(this), &other, sizeof(VARIANT));
    VariantInit(&other);
  }
}

_variant_t::_variant_t(short value, VARTYPE type) {
  VariantInit(this);
  if (type == VT_BOOL) {
    vt = VT_BOOL;
    boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  } else if (type == VT_I2) {
    vt = VT_I2;
    iVal = value;
  } else {
    _com_issue_error(E_INVALIDARG);
  }
}

_variant_t::_variant_t(int value, VARTYPE type) {
  VariantInit(this);
  if (type == VT_I4) {
    vt = VT_I4;
    lVal = value;
  } else if (type == VT_ERROR) {
    vt = VT_ERROR;
    scode = value;
  } else {
    _com_issue_error(E_INVALIDARG);
  }
}

_variant_t::_variant_t(long value) {
  VariantInit(this);
  if (value >= std::numeric_limits<LONG>::min() && value <= std::numeric_limits<LONG>::max()) {
    vt = VT_I4;
    lVal = static_cast<LONG>(value);
  } else {
    vt = VT_I8;
    llVal = value;
  }
}

_variant_t::_variant_t(long long value) {
  VariantInit(this);
  vt = VT_I8;
  llVal = value;
}

_variant_t::_variant_t(double value) {
  VariantInit(this);
  vt = VT_R8;
  dblVal = value;
}

_variant_t::_variant_t(bool value) {
  VariantInit(this);
  vt = VT_BOOL;
  boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

_variant_t::_variant_t(const char16_t* text) : _variant_t(_bstr_t(text)) {}

_variant_t::_variant_t(const char* utf8) : _variant_t(_bstr_t(utf8)) {}

_variant_t::_variant_t(const _bstr_t& text) {
  VariantInit(this);
  BSTR copy = text.copy(false);
  vt = VT_BSTR;
  bstrVal = copy;
}

_variant_t::_variant_t(IDispatch* object, bool add_ref) {
  VariantInit(this);
  vt = VT_DISPATCH;
  pdispVal = object;
  if (object && add_ref) object->AddRef();
}

_variant_t::_variant_t(IUnknown* object, bool add_ref) {
  VariantInit(this);
  vt = VT_UNKNOWN;
  punkVal = object;
  if (object && add_ref) object->AddRef();
}

_variant_t& _variant_t::operator=(const _variant_t& other) {
  Check(VariantCopy(this, &other));
  return *this;
}

_variant_t& _variant_t::operator=(_variant_t&& other) noexcept {
  if (this != &other) {
    VariantClear(this);
    std::memcpy(static_cast<VARIANT*>(this), static_cast<VARIANT*>(&other), sizeof(VARIANT));
    VariantInit(&other);
  }
  return *this;
}

_variant_t& _variant_t::operator=(const VARIANT& other) {
  Check(VariantCopy(this, &other));
  return *this;
}

_variant_t _variant_t::Null() {
  _variant_t v;
  v.vt = VT_NULL;
  return v;
}

void _variant_t::Clear() { Check(VariantClear(this)); }

void _variant_t::ChangeType(VARTYPE type, const _variant_t* src) {
  Check(VariantChangeType(this, src ? src : this, 0, type));
}

void _variant_t::Attach(VARIANT& other) {
  Clear();
  std::memcpy(static_cast<VARIANT*>(this), &other, sizeof(VARIANT));
  VariantInit(&other);
}

VARIANT _variant_t::Detach() noexcept {
  VARIANT out;
  std::memcpy(&out, static_cast<VARIANT*>(this), sizeof(VARIANT));
  VariantInit(this);
  return out;
}

VARIANT* _variant_t::GetAddress() {
  Clear();
  return this;
}

_variant_t _variant_t::Converted(VARTYPE target) const {
  _variant_t out;
  Check(VariantChangeType(&out, this, 0, target));
  return out;
}

_variant_t::operator short() const { return vt == VT_I2 ? iVal : Converted(VT_I2).iVal; }
_variant_t::operator int() const { return vt == VT_I4 ? lVal : Converted(VT_I4).lVal; }
_variant_t::operator long() const { return vt == VT_I4 ? lVal : static_cast<long>(Converted(VT_I8).llVal); }
_variant_t::operator long long() const { return vt == VT_I8 ? llVal : Converted(VT_I8).llVal; }
_variant_t::operator double() const { return vt == VT_R8 ? dblVal : Converted(VT_R8).dblVal; }
_variant_t::operator bool() const { return (vt == VT_BOOL ? boolVal : Converted(VT_BOOL).boolVal) != 0; }

_variant_t::operator IDispatch*() const {
  if (vt == VT_EMPTY) return nullptr;
  _variant_t d = Converted(VT_DISPATCH);
  IDispatch* p = d.pdispVal;
  if (p) p->AddRef();
  return p;
}

_variant_t::operator IUnknown*() const {
  if (vt == VT_EMPTY) return nullptr;
  _variant_t u = Converted(VT_UNKNOWN);
  IUnknown* p = u.punkVal;
  if (p) p->AddRef();
  return p;
}

bool operator==(const _variant_t& a, const _variant_t& b) noexcept {
  if (a.vt != b.vt) return false;
  switch (a.vt) {
    case VT_EMPTY: case VT_NULL: return true;
    case VT_I2: return a.iVal == b.iVal;
    case VT_I4: return a.lVal == b.lVal;
    case VT_I8: return a.llVal == b.llVal;
    case VT_R4: return a.fltVal == b.fltVal;
    case VT_R8: return a.dblVal == b.dblVal;
    case VT_BOOL: return (a.boolVal != 0) == (b.boolVal != 0);
    case VT_ERROR: return a.scode == b.scode;
    case VT_BSTR: return ZrBstrView(a.bstrVal) == ZrBstrView(b.bstrVal);
    case VT_DISPATCH: case VT_UNKNOWN: return a.punkVal == b.punkVal;
    default: return false;
  }
}
