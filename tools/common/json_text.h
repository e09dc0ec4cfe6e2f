#pragma once
// JSON text for the tools' reports.

#include <string>

// s (UTF-8) as a JSON string literal, quotes included.
std::string jsonString(const std::string& s);
