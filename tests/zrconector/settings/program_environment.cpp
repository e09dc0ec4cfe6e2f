#include "program_environment.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "zrdwg/OdDbDatabase.h"
#include "zrdwg/OdResBuf.h"

namespace zrtest {
namespace {

std::optional<std::string> GetEnv(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::optional<std::string>(value) : std::nullopt;
}

void RestoreEnv(const char* name, const std::optional<std::string>& value) {
  if (value)
    setenv(name, value->c_str(), 1);
  else
    unsetenv(name);
}

}  // namespace

ProgramEnvironment::ProgramEnvironment(const std::string& program)
    : oldSettingsDir_(GetEnv("ZR_SETTINGS_DIR")), oldHome_(GetEnv("HOME")), oldXdg_(GetEnv("XDG_CONFIG_HOME")) {
  char pattern[] = "/tmp/zr-program-XXXXXX";
  if (!mkdtemp(pattern)) {
    ADD_FAILURE() << "cannot make a temporary folder";
    return;
  }
  root_ = pattern;
  settings_ = root_ / "settings";
  std::filesystem::create_directories(settings_);
  std::filesystem::create_directories(root_ / "home");
  setenv("ZR_SETTINGS_DIR", settings_.c_str(), 1);
  setenv("HOME", (root_ / "home").c_str(), 1);
  unsetenv("XDG_CONFIG_HOME");
  host_.open(OdDbDatabase::createNew());
  SetProgram(program);
}

ProgramEnvironment::~ProgramEnvironment() {
  OdDbDatabase::setHostSysVar(OdString(u"PROGRAM"), nullptr);
  RestoreEnv("ZR_SETTINGS_DIR", oldSettingsDir_);
  RestoreEnv("HOME", oldHome_);
  RestoreEnv("XDG_CONFIG_HOME", oldXdg_);
  if (!root_.empty()) std::filesystem::remove_all(root_);
}

void ProgramEnvironment::SetProgram(const std::string& program) {
  if (program.empty()) {
    OdDbDatabase::setHostSysVar(OdString(u"PROGRAM"), nullptr);
    return;
  }
  OdDbDatabase::setHostSysVar(OdString(u"PROGRAM"), OdResBuf::newRb(OdResBuf::kDxfText, OdString::fromUtf8(program)));
}

void ProgramEnvironment::WriteSettingsFile(const std::string& program, const std::string& text) {
  std::ofstream(settings_ / (program + ".ini")) << text;
}

void ProgramEnvironment::WriteDatabaseSettings(const std::string& program, const std::string& type,
                                               const std::string& folder, const std::string& name,
                                               const std::string& server, const std::string& user,
                                               const std::string& password) {
  WriteSettingsFile(program, "[database]\ndata_folder = " + folder + "\ntype = " + type + "\nname = " + name +
                                 "\nserver = " + server + "\nuser = " + user + "\npassword = " + password + "\n");
}

void ProgramEnvironment::RemoveSettingsFile(const std::string& program) {
  std::filesystem::remove(settings_ / (program + ".ini"));
}

MissingClass::MissingClass(const CLSID& clsid) : clsid_(clsid) {
  EXPECT_EQ(ZrRegisterInprocServer(clsid_, "/nonexistent/zr-missing-library.so", nullptr), S_OK);
}

MissingClass::~MissingClass() { ZrRegisterInprocServer(clsid_, nullptr, nullptr); }

}  // namespace zrtest
