// VARIANT: a tagged value. The stand-in carries the types the catalogue and
// the components use: empty, null, integers of 16, 32 and 64 bits, doubles,
// booleans, strings, error codes (vtMissing) and interface pointers.
#pragma once

#include "zrcom/types.h"
#include "zrcom/unknown.h"

enum VARENUM : VARTYPE {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_BSTR = 8,
  VT_DISPATCH = 9,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_UNKNOWN = 13,
  VT_I8 = 20,
};

struct VARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    LONGLONG llVal;
    LONG lVal;
    SHORT iVal;
    FLOAT fltVal;
    DOUBLE dblVal;
    VARIANT_BOOL boolVal;
    SCODE scode;
    BSTR bstrVal;
    IUnknown* punkVal;
    IDispatch* pdispVal;
  };
};
using VARIANTARG = VARIANT;

// Flag of VariantChangeType: booleans become "True"/"False" instead of "-1"/"0".
inline constexpr unsigned short VARIANT_ALPHABOOL = 0x2;

// Makes v empty without freeing what it held (for fresh variables).
void VariantInit(VARIANT* v);
// Frees what v holds (string, interface reference) and makes it empty.
// DISP_E_BADVARTYPE for a type this stand-in does not know.
HRESULT VariantClear(VARIANT* v);
// dest = a copy of src (strings copied, interfaces AddRef'd); dest is cleared
// first. dest may equal src.
HRESULT VariantCopy(VARIANT* dest, const VARIANT* src);
// dest = src converted to type vt. Integers and doubles convert to each other
// (DISP_E_OVERFLOW when out of range), to text in decimal (doubles with up to
// 15 significant digits, '.' as separator) and from text; booleans are -1/0
// (or True/False with VARIANT_ALPHABOOL); empty converts to zero or "".
// Null, interfaces and errors convert to nothing but themselves
// (DISP_E_TYPEMISMATCH); text that is not a number gives DISP_E_TYPEMISMATCH.
// On failure dest is left unchanged. dest may equal src.
HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, unsigned short flags, VARTYPE vt);
