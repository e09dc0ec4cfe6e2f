#include "severity_settings.h"

#include <ini.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>

namespace {

struct Reading {
  const std::string& file;
  Severities& severities;
  std::string error;  // the first refusal; later keys are not looked at
};

int onKey(void* user, const char* section, const char* name, const char* value) {
  auto& reading = *static_cast<Reading*>(user);
  if (!reading.error.empty() || std::string_view(section) != "zrcheck") return 1;
  const std::string key = name, where = reading.file + ": [zrcheck] " + key;
  constexpr std::string_view prefix = "severity.";
  if (key.compare(0, prefix.size(), prefix) != 0) {
    reading.error = where + ": unknown key (the section holds severity.RULE = error|warning|ignore)";
    return 1;
  }
  reading.error = setSeverity(key.substr(prefix.size()), value ? value : "", where, reading.severities);
  return 1;
}

}  // namespace

void readSeveritySettings(const std::string& settingsFile, Severities& severities) {
  std::ifstream in(settingsFile, std::ios::binary);
  if (!in) throw SeveritySettingsError(settingsFile + ": cannot be read");
  const std::string text(std::istreambuf_iterator<char>(in), {});
  // Collected apart and merged only when the whole section is good, so a
  // refused file leaves the caller's levels as they were.
  Severities read;
  Reading reading{settingsFile, read, {}};
  const int result = ini_parse_string(text.c_str(), onKey, &reading);
  if (result > 0) throw SeveritySettingsError(settingsFile + ":" + std::to_string(result) + ": not an INI line");
  if (result < 0) throw SeveritySettingsError(settingsFile + ": cannot be read");
  if (!reading.error.empty()) throw SeveritySettingsError(reading.error);
  for (const auto& [rule, level] : read) severities[rule] = level;
}

std::string severitySettingsFile(const std::string& folder, const std::string& program) {
  const std::filesystem::path file = std::filesystem::path(folder) / (program + ".ini");
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec))
    throw SeveritySettingsError("no settings file " + file.string() +
                                " (with --catalogue, --settings DIR names the folder of the file whose [zrcheck] "
                                "section gives the severities)");
  return std::filesystem::absolute(file).lexically_normal().string();
}
