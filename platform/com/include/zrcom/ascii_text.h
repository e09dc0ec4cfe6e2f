// Text helpers for the ASCII words of settings files and connection strings
// (keys, section and program names), shared by the components that read them.
// Bytes outside ASCII pass unchanged. (Standard types only, like utf.h.)
#pragma once

#include <cctype>
#include <string>
#include <string_view>

// s with the letters A-Z lowered.
inline std::string ZrAsciiLower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// s without blanks (space, tab, CR, LF) at either end; "" when it holds nothing else.
inline std::string ZrTrimBlanks(std::string_view s) {
  constexpr std::string_view kBlanks = " \t\r\n";
  const auto first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return std::string(s.substr(first, s.find_last_not_of(kBlanks) - first + 1));
}
