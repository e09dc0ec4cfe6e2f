#include "json_writer.h"

#include <charconv>

void appendJsonString(std::string& out, std::string_view s) {
  static const char* const hex = "0123456789abcdef";
  out.push_back('"');
  std::size_t run = 0;  // start of the bytes not yet copied
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c >= 0x20 && c != '"' && c != '\\') continue;
    out.append(s.data() + run, i - run);
    run = i + 1;
    switch (c) {
      case '"': out.append("\\\""); break;
      case '\\': out.append("\\\\"); break;
      case '\n': out.append("\\n"); break;
      case '\r': out.append("\\r"); break;
      case '\t': out.append("\\t"); break;
      default: {
        const char escape[] = {'\\', 'u', '0', '0', hex[c >> 4], hex[c & 15]};
        out.append(escape, sizeof escape);
      }
    }
  }
  out.append(s.data() + run, s.size() - run);
  out.push_back('"');
}

JsonWriter::JsonWriter(std::ostream& out, std::size_t flushAt) : out_(out), flushAt_(flushAt) {
  buffer_.reserve(flushAt_ + 4096);
}

JsonWriter::~JsonWriter() { flush(); }

JsonWriter& JsonWriter::integer(long long n) {
  char text[24];
  const auto end = std::to_chars(text, text + sizeof text, n).ptr;
  buffer_.append(text, static_cast<std::size_t>(end - text));
  return spill();
}

void JsonWriter::flush() {
  if (buffer_.empty()) return;
  out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  buffer_.clear();
}
