// Reading the component's INI files as text, and telling the user which line
// of a file is not text the reader can take.
#pragma once

#include <cstddef>
#include <string>

namespace prmset {

// The longest line the INI reader takes whole (inih's buffer, less the line
// end); a longer line would be cut and its rest read as another line.
constexpr std::size_t kMaxIniLine = 199;

// Reads a whole file into *text. Returns false with *why (the system's
// reason, such as "Permission denied" or "Is a directory", or "not a regular
// file") when it cannot; a file past 1 MB is refused as no settings file.
bool ReadWholeFile(const std::string& path, std::string* text, std::string* why);

// The first line (counted from 1) that the INI reader cannot take as written:
// UTF-16 text, a NUL byte, bytes that are not UTF-8, or more than kMaxIniLine
// bytes. 0 when every line is good; else *why says what is wrong with that
// line ("not UTF-8 text: save the file as UTF-8", ...).
std::size_t FirstBadLine(const std::string& text, std::string* why);

// The text with every bad line (as above) emptied; line numbers are kept.
std::string WithoutBadLines(const std::string& text);

}  // namespace prmset
