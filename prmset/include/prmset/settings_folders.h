#pragma once
// The user's settings folders, in the order they are searched: those named
// by the environment variable ZR_SETTINGS_DIR (':'-separated, empty entries
// skipped), then the user's configuration folder ($XDG_CONFIG_HOME/zrconector,
// or ~/.config/zrconector when XDG_CONFIG_HOME is unset or empty; none when
// HOME is unset or empty too). The settings component searches these, then
// the installed examples; zrcheck searches these alone. Header only: the
// component is loaded at run time and exports no functions.

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace prmset {

inline std::vector<std::string> UserSettingsFolders() {
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
  return folders;
}

}  // namespace prmset
