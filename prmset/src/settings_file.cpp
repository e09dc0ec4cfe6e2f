// Locating and reading a program's settings file.

#include "settings_file.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>

#include "ini_reader.h"
#include "text_check.h"
#include "zrcom/ascii_text.h"

namespace prmset {
namespace {

// A program name names a file in a folder: no separators, no "." or "..".
bool SafeProgramName(const std::string& program) {
  return !program.empty() && program != "." && program != ".." &&
         program.find_first_of("/\\") == std::string::npos && program.find('\0') == std::string::npos;
}

// A relative folder is taken from the settings file's folder; "~/" is the
// home folder. A trailing separator is kept, as the database name is joined
// to the folder without one.
std::string ResolveFolder(const std::string& value, const std::filesystem::path& file) {
  if (value.empty()) return value;
  std::filesystem::path path;
  if (value.rfind("~/", 0) == 0) {
    const char* home = std::getenv("HOME");
    path = std::filesystem::path(home ? home : "") / value.substr(2);
  } else if (value.front() == '/') {
    return value;
  } else {
    path = file.parent_path() / value;
  }
  return path.lexically_normal().string();
}

// Which file was looked for, where, and what chooses those folders: the
// message a user needs to put a settings file where it is found.
std::string NotFoundMessage(const std::string& program) {
  std::string names = program + ".ini";
  if (ZrAsciiLower(program) != program) names += " or " + ZrAsciiLower(program) + ".ini";
  std::string folders;
  for (const std::string& folder : SettingsFolders())
    folders += (folders.empty() ? "" : ", ") + std::filesystem::path(folder).lexically_normal().string();
  const char* chosen = std::getenv("ZR_SETTINGS_DIR");
  return "no settings file " + names + " in the settings folders " + (folders.empty() ? "(none)" : folders) +
         " (searched in this order: the folders of ZR_SETTINGS_DIR, ':'-separated" +
         (chosen ? std::string() : std::string(", which is not set")) +
         "; $XDG_CONFIG_HOME/zrconector or ~/.config/zrconector; the installed examples)";
}

}  // namespace

bool LoadSettings(const std::string& program, Settings* settings, std::string* why) {
  *settings = Settings();
  if (!SafeProgramName(program)) {
    *why = "\"" + program + "\" is not a program name";
    return false;
  }
  for (const std::string& folder : SettingsFolders()) {
    for (const std::string& name : {program, ZrAsciiLower(program)}) {
      std::filesystem::path file = std::filesystem::path(folder) / (name + ".ini");
      std::error_code error;
      // Nothing of that name (or a folder that cannot be searched): the next
      // place is looked at. Something of that name is the user's settings
      // file, and what is wrong with it is said instead of reading another.
      if (!std::filesystem::exists(file, error)) continue;
      std::string text, problem;
      if (!ReadWholeFile(file.string(), &text, &problem)) {
        *why = file.string() + ": cannot be read: " + problem;
        return false;
      }
      if (std::size_t bad = FirstBadLine(text, &problem)) {
        *why = file.string() + ":" + std::to_string(bad) + ": " + problem;
        return false;
      }
      IniTable table;
      int line = 0;
      if (!ReadIniText(text, &table, &line)) {
        *why = file.string() + ":" + std::to_string(line) + ": malformed line";
        return false;
      }
      const auto& db = table["database"];
      auto get = [&](const char* key) {
        auto it = db.find(key);
        return it == db.end() ? std::string() : it->second;
      };
      settings->file = file.string();
      settings->data_folder = ResolveFolder(get("data_folder"), file);
      settings->type = get("type");
      settings->name = get("name");
      settings->server = get("server");
      settings->user = get("user");
      settings->password = get("password");
      return true;
    }
  }
  *why = NotFoundMessage(program);
  return false;
}

}  // namespace prmset
