// VARIANT life cycle and type conversion.

#include "zrcom/variant.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "zrcom/bstr.h"

namespace {

bool KnownType(VARTYPE vt) {
  switch (vt) {
    case VT_EMPTY: case VT_NULL: case VT_I2: case VT_I4: case VT_R4: case VT_R8:
    case VT_BSTR: case VT_DISPATCH: case VT_ERROR: case VT_BOOL: case VT_UNKNOWN: case VT_I8:
      return true;
    default:
      return false;
  }
}

std::u16string Ascii(std::string_view text) { return std::u16string(text.begin(), text.end()); }

std::u16string DoubleText(double value) {
  if (std::isnan(value)) return u"NaN";
  if (std::isinf(value)) return value > 0 ? u"Infinity" : u"-Infinity";
  char text[64];
  auto [end, ec] = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15);
  std::string s(text, ec == std::errc() ? end : text);
  for (char& c : s)
    if (c == 'e') c = 'E';
  return Ascii(s);
}

// Strips ASCII blanks around text, as numbers typed by people carry them.
std::u16string_view Trimmed(std::u16string_view s) {
  auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// Text to a number: an integer when it is one, else a double.
HRESULT ParseNumber(std::u16string_view text, bool* is_integer, long long* integer, double* real) {
  text = Trimmed(text);
  std::string ascii;
  for (char16_t c : text) {
    if (c > 0x7f) return DISP_E_TYPEMISMATCH;
    ascii.push_back(static_cast<char>(c));
  }
  if (ascii.empty()) return DISP_E_TYPEMISMATCH;
  const char* first = ascii.data();
  const char* last = first + ascii.size();
  if (*first == '+') ++first;
  auto [iend, iec] = std::from_chars(first, last, *integer);
  if (iec == std::errc() && iend == last) {
    *is_integer = true;
    return S_OK;
  }
  auto [dend, dec] = std::from_chars(first, last, *real);
  if (dec == std::errc::result_out_of_range) return DISP_E_OVERFLOW;
  if (dec != std::errc() || dend != last) return DISP_E_TYPEMISMATCH;
  *is_integer = false;
  return S_OK;
}

// The source value as a 64-bit integer or a double, for numeric targets.
HRESULT NumericValue(const VARIANT& v, bool* is_integer, long long* integer, double* real) {
  *is_integer = true;
  switch (v.vt) {
    case VT_EMPTY: *integer = 0; return S_OK;
    case VT_I2: *integer = v.iVal; return S_OK;
    case VT_I4: *integer = v.lVal; return S_OK;
    case VT_I8: *integer = v.llVal; return S_OK;
    case VT_BOOL: *integer = v.boolVal ? -1 : 0; return S_OK;
    case VT_R4: *is_integer = false; *real = v.fltVal; return S_OK;
    case VT_R8: *is_integer = false; *real = v.dblVal; return S_OK;
    case VT_BSTR: return ParseNumber(ZrBstrView(v.bstrVal), is_integer, integer, real);
    default: return DISP_E_TYPEMISMATCH;
  }
}

// Rounds halves to even, as the platform's conversion to integers does.
HRESULT RoundToInteger(double real, long long* integer) {
  if (std::isnan(real)) return DISP_E_OVERFLOW;
  double r = std::nearbyint(real);
  if (r < -9.2233720368547758e18 || r >= 9.2233720368547758e18) return DISP_E_OVERFLOW;
  *integer = static_cast<long long>(r);
  return S_OK;
}

HRESULT ToText(const VARIANT& v, unsigned short flags, std::u16string* out) {
  switch (v.vt) {
    case VT_EMPTY: out->clear(); return S_OK;
    case VT_I2: *out = Ascii(std::to_string(v.iVal)); return S_OK;
    case VT_I4: *out = Ascii(std::to_string(v.lVal)); return S_OK;
    case VT_I8: *out = Ascii(std::to_string(v.llVal)); return S_OK;
    case VT_R4: *out = DoubleText(v.fltVal); return S_OK;
    case VT_R8: *out = DoubleText(v.dblVal); return S_OK;
    case VT_BOOL:
      if (flags & VARIANT_ALPHABOOL)
        *out = v.boolVal ? u"True" : u"False";
      else
        *out = v.boolVal ? u"-1" : u"0";
      return S_OK;
    case VT_BSTR: *out = std::u16string(ZrBstrView(v.bstrVal)); return S_OK;
    default: return DISP_E_TYPEMISMATCH;
  }
}

}  // namespace

void VariantInit(VARIANT* v) {
  if (!v) return;
  std::memset(v, 0, sizeof *v);
  v->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANT* v) {
  if (!v) return E_INVALIDARG;
  switch (v->vt) {
    case VT_BSTR: SysFreeString(v->bstrVal); break;
    case VT_DISPATCH:
    case VT_UNKNOWN:
      if (v->punkVal) v->punkVal->Release();
      break;
    default:
      if (!KnownType(v->vt)) return DISP_E_BADVARTYPE;
  }
  VariantInit(v);
  return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* src) {
  if (!dest || !src) return E_INVALIDARG;
  if (dest == src) return S_OK;
  if (!KnownType(src->vt)) return DISP_E_BADVARTYPE;
  VARIANT copy = *src;
  if (src->vt == VT_BSTR && src->bstrVal) {
    copy.bstrVal = SysAllocStringLen(src->bstrVal, SysStringLen(src->bstrVal));
    if (!copy.bstrVal) return E_OUTOFMEMORY;
  } else if ((src->vt == VT_DISPATCH || src->vt == VT_UNKNOWN) && src->punkVal) {
    src->punkVal->AddRef();
  }
  HRESULT hr = VariantClear(dest);
  if (FAILED(hr)) {
    VariantClear(&copy);
    return hr;
  }
  *dest = copy;
  return S_OK;
}

HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, unsigned short flags, VARTYPE vt) {
  if (!dest || !src) return E_INVALIDARG;
  if (!KnownType(src->vt) || !KnownType(vt)) return DISP_E_BADVARTYPE;
  if (src->vt == vt) return VariantCopy(dest, src);

  VARIANT result;
  VariantInit(&result);
  result.vt = vt;
  if (vt == VT_EMPTY) {
    // Anything can be emptied.
  } else if (vt == VT_BSTR) {
    std::u16string text;
    HRESULT hr = ToText(*src, flags, &text);
    if (FAILED(hr)) return hr;
    result.bstrVal = ZrAllocBstr(text);
    if (!result.bstrVal) return E_OUTOFMEMORY;
  } else if (vt == VT_DISPATCH || vt == VT_UNKNOWN) {
    if (src->vt != VT_DISPATCH && src->vt != VT_UNKNOWN) return DISP_E_TYPEMISMATCH;
    if (!src->punkVal) {
      result.punkVal = nullptr;
    } else {
      void* object = nullptr;
      HRESULT hr = src->punkVal->QueryInterface(vt == VT_DISPATCH ? ZrUuidOf<IDispatch>() : ZrUuidOf<IUnknown>(), &object);
      if (FAILED(hr)) return DISP_E_TYPEMISMATCH;
      result.punkVal = static_cast<IUnknown*>(object);
    }
  } else if (vt == VT_NULL || vt == VT_ERROR) {
    return DISP_E_TYPEMISMATCH;
  } else {
    bool is_integer = true;
    long long integer = 0;
    double real = 0;
    HRESULT hr = NumericValue(*src, &is_integer, &integer, &real);
    if (FAILED(hr)) return hr;
    switch (vt) {
      case VT_R8: result.dblVal = is_integer ? static_cast<double>(integer) : real; break;
      case VT_R4: {
        double d = is_integer ? static_cast<double>(integer) : real;
        if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max()) return DISP_E_OVERFLOW;
        result.fltVal = static_cast<float>(d);
        break;
      }
      case VT_BOOL:
        result.boolVal = (is_integer ? integer != 0 : real != 0) ? VARIANT_TRUE : VARIANT_FALSE;
        break;
      default: {
        if (!is_integer && FAILED(hr = RoundToInteger(real, &integer))) return hr;
        if (vt == VT_I2) {
          if (integer < std::numeric_limits<SHORT>::min() || integer > std::numeric_limits<SHORT>::max()) return DISP_E_OVERFLOW;
          result.iVal = static_cast<SHORT>(integer);
        } else if (vt == VT_I4) {
          if (integer < std::numeric_limits<LONG>::min() || integer > std::numeric_limits<LONG>::max()) return DISP_E_OVERFLOW;
          result.lVal = static_cast<LONG>(integer);
        } else {
          result.llVal = integer;
        }
      }
    }
  }
  HRESULT hr = VariantClear(dest);
  if (FAILED(hr)) {
    VariantClear(&result);
    return hr;
  }
  *dest = result;
  return S_OK;
}
