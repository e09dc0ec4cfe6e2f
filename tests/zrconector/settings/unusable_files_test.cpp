// Settings, texts and component files that are there but cannot be used, as
// the module meets them: the settings box (#CC001) and empty values for a
// settings file that cannot be read; the component box (#CC002) and pointer
// errors for a component library that cannot be loaded. Nothing throws out of
// CIConfig and nothing crashes.

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "settings/CIConfig.h"
#include "settings/CITexto.h"
#include "program_environment.h"
#include "zrui/msgbox.h"

namespace {

using zrtest::ProgramEnvironment;

class UnusableFiles : public testing::Test {
 protected:
  void SetUp() override { CoInitialize(nullptr); }
  void TearDown() override { CoUninitialize(); }

  std::string settingsFile() const { return (env.settingsFolder() / "zrbad-test.ini").string(); }

  // What CIConfig shows and gives: the captions of its boxes, whether it
  // loaded, its failure text and every value joined.
  std::string Observe() {
    const size_t first = boxes.shown().size();
    CIConfig config;
    std::string seen;
    for (size_t i = first; i < boxes.shown().size(); ++i) {
      const zrui::MessageBoxInfo& box = boxes.shown()[i];
      seen += CString(box.caption).ToUtf8() + " " + CString(box.text).ToUtf8() + "\n";
    }
    seen += config.IsLoaded() ? "loaded\n" : "not loaded\n";
    seen += "values [" + config.GetDataFolder().ToUtf8() + config.GetDatabaseType().ToUtf8() +
            config.GetDatabaseName().ToUtf8() + config.GetServer().ToUtf8() + config.GetUser().ToUtf8() +
            config.GetPassword().ToUtf8() + "]\n";
    return seen + config.GetFailure().ToUtf8();
  }

  static constexpr const char* kNotLoaded =
      "#CC001 Unable to load the settings file.\nnot loaded\nvalues []\n";

  ProgramEnvironment env{"zrbad-test"};
  zrui::ScriptedMessageBoxes boxes;
};

TEST_F(UnusableFiles, SettingsFileThatCannotBeReadShowsTheLoadBox) {
  const struct {
    const char* what;
    std::string text;  // empty: a folder in the file's place
    std::string cause;
  } cases[] = {
      {"a folder", "", ": cannot be read: Is a directory"},
      {"Latin-1 text", "[database]\ntype = MDB\nname = cat\xE1logo.db\n", ":3: not UTF-8 text"},
      {"UTF-16 text", std::string("\xFF\xFE[\0d\0", 6), ":1: UTF-16 text"},
      {"binary bytes", std::string("\x7F" "ELF\x02\x01\x01\0\0\0", 10), ":1: a NUL byte"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(settingsFile());
    if (c.text.empty())
      std::filesystem::create_directory(settingsFile());
    else
      std::ofstream(settingsFile(), std::ios::binary) << c.text;
    const std::string seen = Observe();
    EXPECT_EQ(seen.rfind(kNotLoaded, 0), 0u) << seen;
    EXPECT_NE(seen.find("\"zrbad-test\""), std::string::npos) << seen;
    EXPECT_NE(seen.find(settingsFile() + c.cause), std::string::npos) << seen;
  }
  // Once the file is good again, the settings load without a box.
  std::filesystem::remove_all(settingsFile());
  env.WriteDatabaseSettings("zrbad-test", "MDB", "/dados/", "catalogo.db");
  EXPECT_EQ(Observe(), "loaded\nvalues [/dados/MDBcatalogo.db]\n");
}

// A component library that is there but is no library (a damaged install):
// as when it is missing, the settings box #CC002 and an empty wrapper; the
// texts raise E_POINTER, which the calling command reports.
TEST_F(UnusableFiles, ComponentLibraryThatIsNoLibrary) {
  env.WriteDatabaseSettings("zrbad-test", "MDB", "/dados/", "catalogo.db");
  const std::string fake = (env.settingsFolder() / "libprmset.so").string();
  std::ofstream(fake) << "this is not a library\n";
  ASSERT_EQ(ZrRegisterInprocServer(CLSID_ZrSettings, fake.c_str(), "PrmsetGetClassObject"), S_OK);
  ASSERT_EQ(ZrRegisterInprocServer(CLSID_ZrTexts, fake.c_str(), "PrmsetGetClassObject"), S_OK);
  const std::string seen = Observe();
  CITexto texts;
  HRESULT textsError = S_OK;
  std::string textsWhy;
  try {
    texts.GetTexto(1);
  } catch (const _com_error& e) {
    textsError = e.Error();
    textsWhy = e.Description().utf8();
  }
  ZrRegisterInprocServer(CLSID_ZrSettings, nullptr, nullptr);
  ZrRegisterInprocServer(CLSID_ZrTexts, nullptr, nullptr);

  EXPECT_EQ(seen.rfind("#CC002 Unable to find file PRMSET.dll\nnot loaded\nvalues []\n", 0), 0u) << seen;
  EXPECT_NE(seen.find(fake), std::string::npos) << seen;
  EXPECT_EQ(textsError, E_POINTER);
  EXPECT_NE(textsWhy.find(fake), std::string::npos) << textsWhy;
  // The real component again.
  EXPECT_EQ(Observe(), "loaded\nvalues [/dados/MDBcatalogo.db]\n");
}

}  // namespace
