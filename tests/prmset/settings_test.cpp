// Settings: finding a program's file, reading its values, and failing
// clearly without losing anything.

#include "component_fixture.h"

namespace {

using Settings = Components;

constexpr const char* kServerSettings =
    "[database]\n"
    "data_folder = /srv/catalogo\n"
    "type = SQL\n"
    "name = zrcatalogo\n"
    "server = 127.0.0.1,5432\n"
    "user = projetista\n"
    "password = s3nha;com ponto\n";

struct Values {
  std::string folder, type, name, server, user, password;
  bool operator==(const Values&) const = default;
};

Values Read(const IZrSettingsPtr& s) {
  return {s->GetDataFolder()->GetValue().utf8(), s->GetDatabaseType()->GetValue().utf8(),
          s->GetDatabaseName()->GetValue().utf8(), s->GetServer()->GetValue().utf8(),
          s->GetUser()->GetValue().utf8(),      s->GetPassword()->GetValue().utf8()};
}

TEST_F(Settings, ReadsTheProgramsFile) {
  Write(settings() / "zrhost.ini", kServerSettings);
  IZrSettingsPtr s = Create<IZrSettings>(CLSID_ZrSettings);
  ASSERT_TRUE(s);
  EXPECT_EQ(Read(s), Values{});  // empty before Load
  ASSERT_EQ(s->Load(u"zrhost"), VARIANT_TRUE) << s->GetLoadError().utf8();
  EXPECT_EQ(Read(s), (Values{"/srv/catalogo", "SQL", "zrcatalogo", "127.0.0.1,5432", "projetista", "s3nha;com ponto"}));
  EXPECT_EQ(s->GetSettingsFile().utf8(), (settings() / "zrhost.ini").string());
}

TEST_F(Settings, RelativeDataFolderIsTakenFromTheFilesFolderKeepingItsSeparator) {
  Write(settings() / "a.ini", "[database]\ndata_folder = ./dados/\ntype = MDB\nname = catalogo.db\n");
  Write(settings() / "b.ini", "[database]\ndata_folder = dados\n");
  Write(settings() / "c.ini", "[database]\ndata_folder = ~/catalogos/\n");
  IZrSettingsPtr s = Create<IZrSettings>(CLSID_ZrSettings);
  ASSERT_EQ(s->Load(u"a"), VARIANT_TRUE);
  EXPECT_EQ(s->GetDataFolder()->GetValue().utf8(), (settings() / "dados").string() + "/");
  EXPECT_EQ(s->GetDatabaseType()->GetValue().utf8(), "MDB");
  ASSERT_EQ(s->Load(u"b"), VARIANT_TRUE);
  EXPECT_EQ(s->GetDataFolder()->GetValue().utf8(), (settings() / "dados").string());  // no separator added
  ASSERT_EQ(s->Load(u"c"), VARIANT_TRUE);
  EXPECT_EQ(s->GetDataFolder()->GetValue().utf8(), (root() / "home" / "catalogos").string() + "/");
}

TEST_F(Settings, UnknownProgramLoadsNothingAndClearsEarlierValues) {
  Write(settings() / "zrhost.ini", kServerSettings);
  IZrSettingsPtr s = Create<IZrSettings>(CLSID_ZrSettings);
  ASSERT_EQ(s->Load(u"zrhost"), VARIANT_TRUE);
  EXPECT_EQ(s->Load(u"outro"), VARIANT_FALSE);
  EXPECT_EQ(Read(s), Values{});
  EXPECT_NE(s->GetLoadError().utf8().find("outro.ini"), std::string::npos) << s->GetLoadError().utf8();
  // The cause fixed, the next Load succeeds.
  Write(settings() / "outro.ini", kServerSettings);
  EXPECT_EQ(s->Load(u"outro"), VARIANT_TRUE);
  EXPECT_EQ(s->GetLoadError().utf8(), "");
}

TEST_F(Settings, RefusesNamesThatAreNotProgramNames) {
  Write(root() / "escape.ini", kServerSettings);
  Write(settings() / "sub" / "x.ini", kServerSettings);
  IZrSettingsPtr s = Create<IZrSettings>(CLSID_ZrSettings);
  for (const char16_t* name : {u"", u"../escape", u"sub/x", u".", u".."}) {
    SCOPED_TRACE(ZrUtf16ToUtf8(name));
    EXPECT_EQ(s->Load(name), VARIANT_FALSE);
    EXPECT_EQ(Read(s), Values{});
  }
}

TEST_F(Settings, ProgramNameFallsBackToLowerCase) {
  Write(settings() / "zrhost.ini", kServerSettings);
  IZrSettingsPtr s = Create<IZrSettings>(CLSID_ZrSettings);
  EXPECT_EQ(s->Load(u"ZRHOST"), VARIANT_TRUE);
}

TEST_F(Settings, FoldersAreSearchedInOrder) {
  std::filesystem::path first = root() / "first", user = root() / "home" / ".config" / "zrconector";
  Write(first / "zrhost.ini", "[database]\nname = first.db\n");
  Write(settings() / "zrhost.ini", "[database]\nname = second.db\n");
  Write(user / "zrhost.ini", "[database]\nname = user.db\n");
  Write(user / "so-usuario.ini", "[database]\nname = user.db\n");
  setenv("ZR_SETTINGS_DIR", (first.string() + ":" + settings().string()).c_str(), 1);
  IZrSettingsPtr s = Create<IZrSettings>(CLSID_ZrSettings);
  ASSERT_EQ(s->Load(u"zrhost"), VARIANT_TRUE);
  EXPECT_EQ(s->GetDatabaseName()->GetValue().utf8(), "first.db");
  ASSERT_EQ(s->Load(u"so-usuario"), VARIANT_TRUE);  // the user's configuration folder
  EXPECT_EQ(s->GetSettingsFile().utf8(), (user / "so-usuario.ini").string());
}

// $XDG_CONFIG_HOME/zrconector is the user's folder when the variable is set
// and not empty (~/.config/zrconector otherwise), searched after the folders
// of ZR_SETTINGS_DIR; a file not found names the folders in that order.
TEST_F(Settings, TheUsersFolderComesAfterTheSettingsFolders) {
  const std::filesystem::path xdg = root() / "xdg", home = root() / "home" / ".config" / "zrconector";
  Write(settings() / "zrhost.ini", "[database]\nname = settings.db\n");
  Write(xdg / "zrconector" / "zrhost.ini", "[database]\nname = xdg.db\n");
  Write(xdg / "zrconector" / "so-usuario.ini", "[database]\nname = xdg.db\n");
  Write(home / "so-usuario.ini", "[database]\nname = home.db\n");
  setenv("XDG_CONFIG_HOME", xdg.c_str(), 1);
  IZrSettingsPtr s = Create<IZrSettings>(CLSID_ZrSettings);
  ASSERT_EQ(s->Load(u"zrhost"), VARIANT_TRUE);
  EXPECT_EQ(s->GetDatabaseName()->GetValue().utf8(), "settings.db");
  ASSERT_EQ(s->Load(u"so-usuario"), VARIANT_TRUE);
  EXPECT_EQ(s->GetDatabaseName()->GetValue().utf8(), "xdg.db");
  EXPECT_EQ(s->Load(u"nenhum"), VARIANT_FALSE);
  EXPECT_NE(s->GetLoadError().utf8().find("in the settings folders " + settings().string() + ", " +
                                          (xdg / "zrconector").string() + ","),
            std::string::npos)
      << s->GetLoadError().utf8();
  setenv("XDG_CONFIG_HOME", "", 1);
  ASSERT_EQ(s->Load(u"so-usuario"), VARIANT_TRUE);
  EXPECT_EQ(s->GetDatabaseName()->GetValue().utf8(), "home.db");
}

// The examples are found only where an installation puts them (tested on the
// installed tree): never in the source tree the library was built from, which
// would hand a real drawing the example catalogue.
TEST_F(Settings, TheSourceTreesExamplesAreNeverUsed) {
  IZrSettingsPtr s = Create<IZrSettings>(CLSID_ZrSettings);
  EXPECT_EQ(s->Load(u"zrhost"), VARIANT_FALSE) << s->GetSettingsFile().utf8();
  EXPECT_NE(s->GetLoadError().utf8().find("no settings file zrhost.ini"), std::string::npos)
      << s->GetLoadError().utf8();
}

TEST_F(Settings, ItemsKeepTheValueTheyWereTakenWith) {
  Write(settings() / "a.ini", "[database]\nuser = primeiro\n");
  Write(settings() / "b.ini", "[database]\nuser = segundo\n");
  IZrSettingsPtr s = Create<IZrSettings>(CLSID_ZrSettings);
  s->Load(u"a");
  IZrSettingsItemPtr user = s->GetUser();
  s->Load(u"b");
  EXPECT_EQ(user->GetValue().utf8(), "primeiro");
  EXPECT_EQ(s->GetUser()->GetValue().utf8(), "segundo");
}

}  // namespace
