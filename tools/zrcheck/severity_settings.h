#pragma once
// Rule severities kept in the settings file, so that a team sets them once
// beside the catalogue's connection instead of on every command line:
//
//   [zrcheck]
//   severity.pin.missing = warning
//   severity.connector.unchecked = ignore
//
// The command line (--severity) is applied after the file and wins.

#include <stdexcept>
#include <string>

#include "findings.h"

// A settings file whose [zrcheck] section cannot be used; what() names the
// file and the key.
struct SeveritySettingsError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Adds the levels of the [zrcheck] section of the settings file to
// severities. A file without the section adds nothing. Throws
// SeveritySettingsError when the file cannot be read or parsed (naming the
// line), or the section holds a key other than severity.RULE, an unknown rule
// or a level other than error, warning and ignore.
void readSeveritySettings(const std::string& settingsFile, Severities& severities);

// The settings file "<folder>/<program>.ini" read for its [zrcheck] section
// when --catalogue names the catalogue and --settings a folder as well (its
// [database] section is then not used). Returns the file's absolute path.
// Throws SeveritySettingsError when there is no such file.
std::string severitySettingsFile(const std::string& folder, const std::string& program);
