// inih callbacks and the settings folders.

#include "ini_reader.h"

#include <dlfcn.h>
#include <ini.h>

#include "prmset/settings_folders.h"

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
  std::vector<std::string> folders = UserSettingsFolders();
  std::string here = FolderOfThisLibrary();
  // Only where an installation puts them: a program never reaches into the
  // tree it was built from, which may be gone or belong to another version.
  // The libraries are installed in PREFIX/lib/zrconector.
  if (!here.empty()) folders.push_back(here + "/../../share/zrconector/examples/catalogue");
  return folders;
}

}  // namespace prmset
