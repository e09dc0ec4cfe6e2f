// Looking texts up in the shipped table and the users' textos.ini files.

#include "text_table.h"

#include <cctype>
#include <filesystem>

#include "ini_reader.h"
#include "text_check.h"
#include "zrcom/ascii_text.h"

namespace prmset {
namespace {

std::string Unescape(const std::string& value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) {
      char next = value[i + 1];
      if (next == 'n' || next == 't' || next == '\\') {
        out += next == 'n' ? '\n' : next == 't' ? '\t' : '\\';
        ++i;
        continue;
      }
    }
    out += value[i];
  }
  return out;
}

// Section names in lower case, so that lookups ignore case.
IniTable Normalised(const IniTable& table) {
  IniTable out;
  for (const auto& [section, keys] : table)
    for (const auto& [key, value] : keys) out[ZrAsciiLower(ZrTrimBlanks(section))][ZrTrimBlanks(key)] = value;
  return out;
}

const IniTable& Shipped() {
  static const IniTable table = [] {
    IniTable raw;
    int line = 0;
    ReadIniText(kShippedTexts, &raw, &line);
    return Normalised(raw);
  }();
  return table;
}

std::optional<std::string> Lookup(const IniTable& table, const std::string& program, const std::string& module_key,
                                  const std::string& code) {
  for (const std::string& section : {ZrAsciiLower(program) + "/" + ZrAsciiLower(module_key), ZrAsciiLower(module_key)}) {
    auto s = table.find(section);
    if (s == table.end()) continue;
    auto k = s->second.find(code);
    if (k != s->second.end()) return Unescape(k->second);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> FindText(const std::string& program, const std::string& module_key,
                                    const std::string& code) {
  std::string key = ZrTrimBlanks(code);
  for (const std::string& folder : SettingsFolders()) {
    std::filesystem::path file = std::filesystem::path(folder) / "textos.ini";
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) continue;
    // A file that cannot be read gives no texts; a line that is malformed or
    // not UTF-8 text is skipped, and the others count.
    std::string text, problem;
    if (!ReadWholeFile(file.string(), &text, &problem)) continue;
    IniTable raw;
    int line = 0;
    ReadIniText(WithoutBadLines(text), &raw, &line);
    if (auto text = Lookup(Normalised(raw), program, module_key, key)) return text;
  }
  return Lookup(Shipped(), program, module_key, key);
}

}  // namespace prmset
