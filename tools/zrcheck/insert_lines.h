#pragma once
// Where each block reference stands in a DXF file, so that a finding can
// point at the line of its symbol (SARIF regions, JUnit locations). The
// object model keeps no lines; this is a second, light pass over the text:
// group code and value lines in pairs, an INSERT starting at its "0" code
// line, its handle the value of its first group code 5.

#include <cstddef>
#include <istream>
#include <string>
#include <unordered_map>

// Line (counted from 1) of the group code "0" that starts each INSERT
// entity, by the entity's handle as the object model writes it (upper-case
// hexadecimal without leading zeros). What cannot be read pairs no lines.
std::unordered_map<std::string, std::size_t> insertLines(std::istream& dxf);
// The same for a file; empty when it cannot be read.
std::unordered_map<std::string, std::size_t> insertLinesOfFile(const std::string& path);
