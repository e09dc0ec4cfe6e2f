// inih callbacks and the settings folders.

#include "ini_reader.h"

#include <dlfcn.h>
#include <ini.h>

#include <cstdlib>
#include <sstream>

namespace prmset {
namespace {

int Store(void* user, const char* section, const char* name, const char* value) {
  auto* table = static_cast<IniTable*>(user);
  std::string& slot = (*table)[section][name];
  if (!slot.empty() && value && *value) slot += ' ';
  slot += value ? value : "";
  return 1;
}

std::string FolderOfThisLibrary() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&FolderOfThisLibrary), &info) || !info.dli_fname) return {};
  std::string path = info.dli_fname;
  auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

}  // namespace

bool ReadIniText(const std::string& text, IniTable* table, int* error_line) {
  int result = ini_parse_string(text.c_str(), Store, table);
  *error_line = result > 0 ? result : 0;
  return result == 0;
}

std::vector<std::string> SettingsFolders() {
  std::vector<std::string> folders;
  if (const char* list = std::getenv("ZR_SETTINGS_DIR")) {
    std::stringstream paths(list);
    std::string path;
    while (std::getline(paths, path, ':'))
      if (!path.empty()) folders.push_back(path);
  }
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
    folders.push_back(std::string(xdg) + "/zrconector");
  else if (const char* home = std::getenv("HOME"); home && *home)
    folders.push_back(std::string(home) + "/.config/zrconector");
  std::string here = FolderOfThisLibrary();
  // Only where an installation puts them: a program never reaches into the
  // tree it was built from, which may be gone or belong to another version.
  // The libraries are installed in PREFIX/lib/zrconector.
  if (!here.empty()) folders.push_back(here + "/../../share/zrconector/examples/catalogue");
  return folders;
}

}  // namespace prmset
