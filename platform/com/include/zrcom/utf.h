// Conversions between UTF-8 and UTF-16. Ill-formed input is replaced by
// U+FFFD, never rejected. (Standard types only: usable beside headers that
// define their own Windows-style type names, such as ODBC's.)
#pragma once

#include <string>
#include <string_view>

std::u16string ZrUtf8ToUtf16(std::string_view text);
std::string ZrUtf16ToUtf8(std::u16string_view text);
