#pragma once
// Which catalogue zrcheck checks against, and from which settings file. A
// pipeline must never be checked against a catalogue it did not name: the
// examples installed with the programs, which the host falls back to, are
// never used here, and a catalogue that cannot be found is an error that says
// where it was looked for.

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

struct CatalogueChoice {
  std::string settingsFile;  // the settings file read; empty when --catalogue named the file
  std::string catalogue;     // the catalogue file (absolute), or "database D on server S"
  bool server = false;       // a catalogue server rather than a file
  std::string file;          // the file catalogue (absolute); empty for a server
  std::string address, database;  // the server ("host,port") and its database
  // Set when the settings file holds a password and other users may read it.
  std::string warning;
};

// The folders searched for "<program>.ini": the one given with --settings
// alone; otherwise the user's folders as the settings component searches
// them (prmset/settings_folders.h: ZR_SETTINGS_DIR's, then
// $XDG_CONFIG_HOME/zrconector or ~/.config/zrconector), without the
// installed examples.
std::vector<std::string> checkerSettingsFolders(const std::optional<std::string>& settingsDir);

// Loads the program's settings through the settings component from those
// folders only (ZR_SETTINGS_DIR is set to them for the module to read the
// same file) and says which catalogue they name. Throws std::runtime_error
// when there is no settings file in those folders (the message lists them),
// when it cannot be read, or when the file catalogue it names does not exist.
// REQUIRES: the COM registry can be read (the settings component is created).
CatalogueChoice chooseCatalogue(const std::string& program, const std::vector<std::string>& folders);
