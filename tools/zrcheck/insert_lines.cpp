#include "insert_lines.h"

#include <cctype>
#include <fstream>

namespace {

// A DXF line without its line end and the blanks a group code may carry.
std::string trimmed(const std::string& line) {
  std::size_t begin = 0, end = line.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(line[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(line[end - 1]))) --end;
  return line.substr(begin, end - begin);
}

std::string handleText(const std::string& value) {
  std::string out;
  for (char c : trimmed(value)) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return {};
    if (out.empty() && c == '0') continue;
    out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return out.empty() ? "0" : out;
}

}  // namespace

std::unordered_map<std::string, std::size_t> insertLines(std::istream& dxf) {
  std::unordered_map<std::string, std::size_t> lines;
  std::string code, value;
  std::size_t line = 0;
  std::size_t insertAt = 0;  // the "0" line of the INSERT being read; 0 outside one
  while (std::getline(dxf, code)) {
    const std::size_t codeLine = ++line;
    if (!std::getline(dxf, value)) break;
    ++line;
    const std::string c = trimmed(code);
    if (c == "0") {
      insertAt = trimmed(value) == "INSERT" ? codeLine : 0;
    } else if (c == "5" && insertAt) {
      const std::string handle = handleText(value);
      if (!handle.empty()) lines.emplace(handle, insertAt);
      insertAt = 0;  // the first handle is the entity's own
    }
  }
  return lines;
}

std::unordered_map<std::string, std::size_t> insertLinesOfFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return insertLines(in);
}
