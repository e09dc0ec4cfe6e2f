// CIConfig: the catalogue settings of the running program, and the two boxes
// that tell the user when they are not available.

#include <gtest/gtest.h>

#include "settings/CIConfig.h"
#include "program_environment.h"
#include "zrui/msgbox.h"

namespace {

using zrtest::MissingClass;
using zrtest::ProgramEnvironment;

class Config : public testing::Test {
 protected:
  void SetUp() override { CoInitialize(nullptr); }
  void TearDown() override { CoUninitialize(); }

  ProgramEnvironment env{"zrcfg-test"};
  zrui::ScriptedMessageBoxes boxes;
};

std::string Utf8(const CString& s) { return s.ToUtf8(); }

TEST_F(Config, ReadsEverySettingOfTheProgramsFile) {
  env.WriteDatabaseSettings("zrcfg-test", "SQL", "/data/catalogues/", "zrcatalogo", "db.example,5433", "projetista",
                            "s3gredo");
  CIConfig config;
  EXPECT_TRUE(config.IsLoaded());
  EXPECT_EQ(Utf8(config.GetPrograma()), "zrcfg-test");
  EXPECT_EQ(Utf8(config.GetDataFolder()), "/data/catalogues/");
  EXPECT_EQ(Utf8(config.GetDatabaseType()), "SQL");
  EXPECT_EQ(Utf8(config.GetDatabaseName()), "zrcatalogo");
  EXPECT_EQ(Utf8(config.GetServer()), "db.example,5433");
  EXPECT_EQ(Utf8(config.GetUser()), "projetista");
  EXPECT_EQ(Utf8(config.GetPassword()), "s3gredo");
  EXPECT_FALSE(config.IsAccessDatabase());
  EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(Config, TheFileCatalogueIsTypeMdbExactly) {
  const struct {
    const char* type;
    bool file;
  } cases[] = {{"MDB", true}, {"mdb", false}, {"Mdb", false}, {"MDB2", false}, {"SQL", false}, {"", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    env.WriteDatabaseSettings("zrcfg-test", c.type, "/tmp/", "catalogo.db");
    CIConfig config;
    EXPECT_EQ(config.IsAccessDatabase(), c.file);
  }
}

TEST_F(Config, FollowsTheProgramNameOfTheHost) {
  env.WriteDatabaseSettings("zrcfg-a", "MDB", "/a/", "a.db");
  env.WriteDatabaseSettings("zrcfg-b", "SQL", "", "b", "server-b");
  env.SetProgram("zrcfg-a");
  {
    CIConfig config;
    EXPECT_EQ(Utf8(config.GetDatabaseName()), "a.db");
    EXPECT_TRUE(config.IsAccessDatabase());
  }
  env.SetProgram("zrcfg-b");
  {
    CIConfig config;
    EXPECT_EQ(Utf8(config.GetDatabaseName()), "b");
    EXPECT_EQ(Utf8(config.GetServer()), "server-b");
  }
  EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(Config, MissingSettingsFileShowsTheLoadBoxAndGivesEmptyValues) {
  for (const std::string program : {"zrcfg-nenhum", ""}) {
    SCOPED_TRACE("program \"" + program + "\"");
    env.SetProgram(program);
    const size_t before = boxes.shown().size();
    CIConfig config;
    ASSERT_EQ(boxes.shown().size(), before + 1);
    const zrui::MessageBoxInfo& box = boxes.shown().back();
    EXPECT_EQ(box.text, u"Unable to load the settings file.");
    EXPECT_EQ(box.caption, u"#CC001");
    EXPECT_EQ(box.icon(), MB_ICONEXCLAMATION);
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_FALSE(config.IsLoaded());
    EXPECT_NE(Utf8(config.GetFailure()).find("\"" + program + "\""), std::string::npos) << Utf8(config.GetFailure());
    // The wrapper stays usable: every value is empty.
    EXPECT_EQ(Utf8(config.GetDataFolder()), "");
    EXPECT_EQ(Utf8(config.GetDatabaseName()), "");
    EXPECT_EQ(Utf8(config.GetUser()), "");
    EXPECT_FALSE(config.IsAccessDatabase());
  }
}

TEST_F(Config, MissingComponentShowsItsBoxAndLeavesAnEmptyWrapper) {
  env.WriteDatabaseSettings("zrcfg-test", "MDB", "/tmp/", "catalogo.db", "s", "u", "p");
  MissingClass missing(CLSID_ZrSettings);
  CIConfig config;
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, u"Unable to find file PRMSET.dll");
  EXPECT_EQ(boxes.shown()[0].caption, u"#CC002");
  EXPECT_EQ(boxes.shown()[0].icon(), MB_ICONEXCLAMATION);
  EXPECT_FALSE(config.IsLoaded());
  EXPECT_NE(Utf8(config.GetFailure()).find("PRMSET"), std::string::npos) << Utf8(config.GetFailure());
  for (const CString& value : {config.GetDataFolder(), config.GetDatabaseType(), config.GetDatabaseName(),
                               config.GetServer(), config.GetUser(), config.GetPassword()})
    EXPECT_EQ(Utf8(value), "");
  EXPECT_FALSE(config.IsAccessDatabase());
}

TEST_F(Config, ComponentFoundAgainOnceItIsBack) {
  env.WriteDatabaseSettings("zrcfg-test", "MDB", "/tmp/", "catalogo.db");
  {
    MissingClass missing(CLSID_ZrSettings);
    CIConfig config;
    EXPECT_FALSE(config.IsLoaded());
  }
  CIConfig config;
  EXPECT_TRUE(config.IsLoaded());
  EXPECT_TRUE(config.IsAccessDatabase());
  EXPECT_EQ(boxes.shown().size(), 1u);
}

}  // namespace
