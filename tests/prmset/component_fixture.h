// Creates the components as the module does, with settings folders of the
// test's own: ZR_SETTINGS_DIR names a new temporary folder, and the user's
// configuration folder is an empty one.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "prmset/prmset.h"

class Components : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SUCCEEDED(CoInitialize(nullptr)), true);
    char pattern[] = "/tmp/zr-settings-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    std::filesystem::create_directories(root_ / "settings");
    std::filesystem::create_directories(root_ / "home");
    setenv("ZR_SETTINGS_DIR", (root_ / "settings").c_str(), 1);
    setenv("HOME", (root_ / "home").c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
  }
  void TearDown() override {
    std::filesystem::remove_all(root_);
    CoUninitialize();
  }

  // CoCreateInstance with IUnknown, OleRun, then the interface.
  template <class I>
  _com_ptr_t<I> Create(const CLSID& clsid) {
    IUnknownPtr unknown;
    HRESULT hr = CoCreateInstance(clsid, nullptr, 0x17, ZrUuidOf<IUnknown>(), reinterpret_cast<void**>(&unknown));
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(OleRun(unknown), S_OK);
    return _com_ptr_t<I>(unknown);
  }

  void Write(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << text;
  }

  std::filesystem::path settings() const { return root_ / "settings"; }
  std::filesystem::path root() const { return root_; }

 private:
  std::filesystem::path root_;
};
