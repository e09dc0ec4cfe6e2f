#include "json_file.h"

#include <fstream>
#include <iterator>

namespace {

// "LINE:COLUMN" of the parser's byte position (counted from 1) in text.
std::string placeOf(const std::string& text, std::size_t byte) {
  std::size_t line = 1, column = 1;
  for (std::size_t i = 0; i + 1 < byte && i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
  return std::to_string(line) + ":" + std::to_string(column);
}

// The parser's reason without its own prefix and place, which the message
// gives as FILE:LINE:COLUMN instead.
std::string reasonOf(const nlohmann::json::parse_error& e) {
  const std::string what = e.what();
  std::size_t at = what.find("column ");
  if (at != std::string::npos) at = what.find(": ", at);
  return at == std::string::npos ? what : what.substr(at + 2);
}

}  // namespace

nlohmann::json readJsonFile(const std::string& path, const std::string& kind) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(path + ": the " + kind + " cannot be read");
  const std::string text(std::istreambuf_iterator<char>(in), {});
  if (in.bad()) throw std::runtime_error(path + ": the " + kind + " cannot be read");
  try {
    return nlohmann::json::parse(text);
  } catch (const nlohmann::json::parse_error& e) {
    throw std::runtime_error(path + ":" + placeOf(text, e.byte) + ": not JSON: " + reasonOf(e));
  }
}
