#include "json_text.h"

#include "json_writer.h"

std::string jsonString(const std::string& s) {
  std::string out;
  out.reserve(s.size() + 2);
  appendJsonString(out, s);
  return out;
}
