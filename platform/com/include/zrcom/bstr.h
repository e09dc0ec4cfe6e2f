// BSTR: length-prefixed UTF-16 strings owned by whoever received them, freed
// with SysFreeString. They may hold embedded NULs; SysStringLen gives the
// length, and a null BSTR is the empty string.
#pragma once

#include <string>
#include <string_view>

#include "zrcom/types.h"
#include "zrcom/utf.h"

// A copy of the NUL-terminated text (null gives null). Returns null when out
// of memory.
BSTR SysAllocString(const OLECHAR* text);
// A string of len characters copied from text, or left zeroed when text is
// null. Returns null when out of memory.
BSTR SysAllocStringLen(const OLECHAR* text, UINT len);
// Replaces *target with a copy of text. Returns 0 when out of memory (the old
// string is then kept), nonzero on success.
int SysReAllocString(BSTR* target, const OLECHAR* text);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);
UINT SysStringByteLen(BSTR text);

// A new BSTR from UTF-16 or UTF-8 text (may hold NULs).
BSTR ZrAllocBstr(std::u16string_view text);
BSTR ZrAllocBstrUtf8(std::string_view text);
// The characters of a BSTR (empty for null).
inline std::u16string_view ZrBstrView(BSTR text) { return {text, SysStringLen(text)}; }
