// The running program as the module sees it, for tests of the settings and
// the catalogue: a host with one open document, the host system variable
// "PROGRAM", and settings folders of the test's own (ZR_SETTINGS_DIR names a
// new temporary folder, the user's configuration folder is an empty one).
// Everything is put back when the environment ends.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "fake_host.h"
#include "zrcom/com.h"

namespace zrtest {

class ProgramEnvironment {
 public:
  explicit ProgramEnvironment(const std::string& program);
  ~ProgramEnvironment();
  ProgramEnvironment(const ProgramEnvironment&) = delete;
  ProgramEnvironment& operator=(const ProgramEnvironment&) = delete;

  // Sets the system variable "PROGRAM" (empty text: unset).
  void SetProgram(const std::string& program);
  // Writes <settings folder>/<program>.ini with the given text.
  void WriteSettingsFile(const std::string& program, const std::string& text);
  // Writes a settings file with a [database] section of these values.
  void WriteDatabaseSettings(const std::string& program, const std::string& type, const std::string& folder,
                             const std::string& name, const std::string& server = "",
                             const std::string& user = "", const std::string& password = "");
  void RemoveSettingsFile(const std::string& program);
  const std::filesystem::path& settingsFolder() const { return settings_; }
  testing_support::FakeHost& host() { return host_; }

 private:
  std::filesystem::path root_, settings_;
  std::optional<std::string> oldSettingsDir_, oldHome_, oldXdg_;
  testing_support::FakeHost host_;
};

// Makes a class impossible to create while it lives, as when its library is
// missing: its in-process server becomes a library that does not exist.
class MissingClass {
 public:
  explicit MissingClass(const CLSID& clsid);
  ~MissingClass();
  MissingClass(const MissingClass&) = delete;
  MissingClass& operator=(const MissingClass&) = delete;

 private:
  CLSID clsid_;
};

}  // namespace zrtest
