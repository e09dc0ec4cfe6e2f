// INI reading (inih) into a plain table, and the folders where the
// component looks for its files.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace prmset {

// section -> key -> value, as written (case kept). A key repeated in a
// section, as inih reports continuation lines, is joined with one blank.
using IniTable = std::map<std::string, std::map<std::string, std::string>>;

// Reads INI text (files are read whole and checked first, see text_check.h).
// Returns false (table left partly filled) when a line is malformed;
// *error_line is then the first bad line.
bool ReadIniText(const std::string& text, IniTable* table, int* error_line);

// The settings folders, searched in this order: the user's
// (UserSettingsFolders, prmset/settings_folders.h: ZR_SETTINGS_DIR's, then
// $XDG_CONFIG_HOME/zrconector or ~/.config/zrconector), then the installed examples
// (<library>/../share/zrconector/examples/catalogue).
std::vector<std::string> SettingsFolders();

}  // namespace prmset
