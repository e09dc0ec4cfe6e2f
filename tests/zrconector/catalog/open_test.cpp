// Opening the catalogue: the settings of the running program, the two
// providers, and every way the opening fails (nothing left half-open, a later
// Open succeeds once the cause is fixed).

#include <dlfcn.h>

#include <filesystem>

#include "settings/CIConfig.h"
#include "catalog/ConnectionString.h"
#include "zrfx/FxDocumentManager.h"
#include "catalogue_fixture.h"
#include "zrui/afx/cmisc.h"

namespace {

using zrtest::Backend;
using zrtest::CatalogueTest;
using zrtest::Describe;
using zrtest::MissingClass;
using zrtest::TestCatalogue;

bool Mentions(const _com_error& e, const std::string& part) {
  return e.Description().utf8().find(part) != std::string::npos;
}

void* ResourceModule() { return GetFxSystemServices()->GetDocumentManager()->ResourceModule(); }

// The address the module's library is loaded at: its instance handle.
void* ModuleBase() {
  Dl_info info{};
  dladdr(reinterpret_cast<void*>(&MakeConnectionString), &info);
  return info.dli_fbase;
}

class OpenTest : public CatalogueTest {
 protected:
  // Runs Open, which must throw; returns the error.
  _com_error OpenFailure() {
    try {
      int result = bd().Open();
      ADD_FAILURE() << "Open returned " << result << " instead of failing";
    } catch (const _com_error& e) {
      return e;
    }
    return _com_error(S_OK);
  }
  // After a failed Open: no connection, and statements neither run nor show
  // boxes.
  void ExpectNothingHalfOpen() {
    EXPECT_FALSE(bd().IsConnected());
    const size_t shown = boxes.shown().size();
    EXPECT_EQ(bd().OpenRecordset(u"SELECT MENU_KEY FROM BDMENUS", true), nullptr);
    EXPECT_EQ(bd().QueryValue(u"select MENU_DESCR from BDMENUS where MENU_KEY = '1'").ToUtf8(), "");
    EXPECT_EQ(boxes.shown().size(), shown);
    EXPECT_EQ(ResourceModule(), nullptr);
  }
};

// ---- Either driver -----------------------------------------------------------

using OpenEither = OpenTest;

TEST_P(OpenEither, OpensTheCatalogueOfTheProgramsSettings) {
  OpenCatalogue();
  EXPECT_TRUE(boxes.shown().empty());
  EXPECT_EQ(ResourceModule(), nullptr);  // set while Open ran, restored after
  EXPECT_EQ(bd().GetDescricaoMenu(u"1").ToUtf8(), "Conectores");
}

TEST_P(OpenEither, ALaterOpenReleasesTheConnectionAndOpensTheNewSettings) {
  OpenCatalogue();
  EXPECT_EQ(bd().GetDescricaoMenu(u"ZZ9").ToUtf8(), "");
  TestCatalogue second(GetParam());
  {
    _ConnectionPtr c = second.Connect();
    c->Execute(u"INSERT INTO BDMENUS (MENU_NIVEL, MENU_KEY, MENU_DESCR) VALUES ('1', 'ZZ9', 'Só no segundo')",
               nullptr, adExecuteNoRecords);
  }
  WriteSettingsFor(second);
  OpenCatalogue();
  EXPECT_EQ(bd().GetDescricaoMenu(u"ZZ9").ToUtf8(), "Só no segundo");
  CIBancoDados::ResetInstanceForTesting();  // before the second copy goes
}

TEST_P(OpenEither, AFailedReopenLeavesNoConnectionBehind) {
  OpenCatalogue();
  env->RemoveSettingsFile(kProgram);
  _com_error e = OpenFailure();
  EXPECT_TRUE(Mentions(e, kProgram)) << Describe(e);
  ExpectNothingHalfOpen();
  WriteSettingsFor(*db);
  OpenCatalogue();
}

INSTANTIATE_TEST_SUITE_P(Drivers, OpenEither, zrtest::AllBackends(), zrtest::BackendName);

// ---- The file catalogue --------------------------------------------------------

using OpenFile = OpenTest;

TEST_P(OpenFile, AFolderWithoutSeparatorIsJoinedToTheNameUnchanged) {
  const std::string folder = db->folder().substr(0, db->folder().size() - 1);  // without its '/'
  env->WriteDatabaseSettings(kProgram, "MDB", folder, db->file_name());
  _com_error e = OpenFailure();
  EXPECT_TRUE(Mentions(e, folder + db->file_name())) << Describe(e);
  ExpectNothingHalfOpen();
  // Split anywhere, folder and name still make the file's path.
  env->WriteDatabaseSettings(kProgram, "MDB", db->folder() + "catal", "ogo.db");
  OpenCatalogue();
  EXPECT_EQ(bd().GetNivelMenu(u"10").ToUtf8(), "1");
}

TEST_P(OpenFile, AMissingDatabaseFileIsNamedAndNeverCreated) {
  const std::string path = db->folder() + "outro.db";
  env->WriteDatabaseSettings(kProgram, "MDB", db->folder(), "outro.db");
  _com_error e = OpenFailure();
  EXPECT_TRUE(Mentions(e, path)) << Describe(e);
  EXPECT_FALSE(std::filesystem::exists(path));
  ExpectNothingHalfOpen();
  std::filesystem::copy_file(db->folder() + db->file_name(), path);
  OpenCatalogue();
}

TEST_P(OpenFile, AMissingSettingsFileShowsItsBoxAndNamesTheProgram) {
  env->RemoveSettingsFile(kProgram);
  _com_error e = OpenFailure();
  EXPECT_EQ(e.Error(), E_FAIL);
  EXPECT_TRUE(Mentions(e, "\"zrcat-test\"")) << Describe(e);
  EXPECT_TRUE(Mentions(e, "settings")) << Describe(e);
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, u"Unable to load the settings file.");
  EXPECT_EQ(boxes.shown()[0].caption, u"#CC001");
  ExpectNothingHalfOpen();
  WriteSettingsFor(*db);
  OpenCatalogue();
}

TEST_P(OpenFile, AnUnknownOrEmptyProgramNameFailsClearly) {
  for (const std::string program : {"zrcat-desconhecido", ""}) {
    SCOPED_TRACE("program \"" + program + "\"");
    env->SetProgram(program);
    _com_error e = OpenFailure();
    EXPECT_TRUE(Mentions(e, "\"" + program + "\"")) << Describe(e);
    ExpectNothingHalfOpen();
  }
  env->SetProgram(kProgram);
  OpenCatalogue();
  EXPECT_EQ(BoxTexts(), std::vector<std::string>(2, "Unable to load the settings file."));
}

TEST_P(OpenFile, AMissingSettingsComponentShowsItsBox) {
  {
    MissingClass missing(CLSID_ZrSettings);
    _com_error e = OpenFailure();
    EXPECT_TRUE(Mentions(e, "PRMSET")) << Describe(e);
    ExpectNothingHalfOpen();
  }
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, u"Unable to find file PRMSET.dll");
  EXPECT_EQ(boxes.shown()[0].caption, u"#CC002");
  OpenCatalogue();
}

TEST_P(OpenFile, AConnectionObjectThatCannotBeCreatedIsAPointerError) {
  {
    MissingClass missing(CLSID_Connection);
    _com_error e = OpenFailure();
    EXPECT_EQ(e.Error(), E_POINTER);
    EXPECT_TRUE(Mentions(e, "ADODB.Connection")) << Describe(e);
    ExpectNothingHalfOpen();
  }
  EXPECT_TRUE(boxes.shown().empty());
  OpenCatalogue();
}

TEST_P(OpenFile, AnUnreachableServerIsNamed) {
  // Port 1 on loopback: nothing listens there, the refusal is immediate.
  env->WriteDatabaseSettings(kProgram, "SQL", "", "zrcatalogo", "127.0.0.1,1", "zrtest", "x");
  _com_error e = OpenFailure();
  EXPECT_TRUE(Mentions(e, "127.0.0.1:1")) << Describe(e);
  ExpectNothingHalfOpen();
  WriteSettingsFor(*db);
  OpenCatalogue();
}

TEST_P(OpenFile, TheResourceModuleIsTheModulesWhileOpenRuns) {
  env->RemoveSettingsFile(kProgram);
  void* during = nullptr;
  zrui::SetMessageBoxResponder([&](const zrui::MessageBoxInfo& box) {
    during = ResourceModule();
    return box.defaultAnswer();
  });
  OpenFailure();
  zrui::SetMessageBoxResponder(nullptr);
  ASSERT_NE(ModuleBase(), nullptr);
  EXPECT_EQ(during, ModuleBase());
  EXPECT_EQ(ResourceModule(), nullptr);
}

TEST_P(OpenFile, AFrameworkExceptionEndsOpenWithTwoAndNoConnection) {
  env->RemoveSettingsFile(kProgram);
  // Running out of memory while the settings box is up.
  zrui::SetMessageBoxResponder([](const zrui::MessageBoxInfo&) -> int { AfxThrowMemoryException(); });
  EXPECT_EQ(bd().Open(), 2);
  zrui::SetMessageBoxResponder(nullptr);
  ExpectNothingHalfOpen();
  WriteSettingsFor(*db);
  OpenCatalogue();
}

TEST_P(OpenFile, WithoutAConnectionNothingRunsAndNoBoxIsShown) {
  CIBancoDados& b = bd();
  ASSERT_FALSE(b.IsConnected());
  EXPECT_EQ(b.OpenRecordset(u"SELECT * FROM BDPINOS", true), nullptr);
  EXPECT_EQ(b.OpenRecordset(u"SELECT nonsense", false), nullptr);
  EXPECT_NO_THROW(b.Execute(u"DROP TABLE BDPINOS"));
  EXPECT_EQ(b.QueryValue(u"SELECT 1").ToUtf8(), "");
  EXPECT_FALSE(b.TableExists(u"BDPINOS"));
  EXPECT_FALSE(b.ColumnExists(u"BDPINOS", u"PINO_KEY"));
  EXPECT_NO_THROW(b.UpgradeSchema());
  EXPECT_TRUE(zrtest::Entries(b.GetPinosConector(u"C1")).empty());
  EXPECT_TRUE(zrtest::Entries(b.GetLinhasPinosConector(u"C1")).empty());
  EXPECT_EQ(b.GetIdPino(u"1").ToUtf8(), "");
  EXPECT_EQ(b.GetNomePino(u"1").ToUtf8(), "");
  EXPECT_EQ(zrtest::ComErrorOf([&] { delete b.GetContraPecas(u"C1"); }), E_POINTER);
  EXPECT_EQ(zrtest::ComErrorOf([&] { delete b.GetPinosContraPecas(u"C1"); }), E_POINTER);
  CString outputs[12];
  for (CString& o : outputs) o = u"antes";
  EXPECT_FALSE(b.GetDadosComponente(u"C1", u"N", outputs[0], outputs[1], outputs[2], outputs[3], outputs[4],
                                    outputs[5], outputs[6], outputs[7], outputs[8], outputs[9], outputs[10],
                                    outputs[11]));
  for (const CString& o : outputs) EXPECT_EQ(o.ToUtf8(), "antes");
  EXPECT_EQ(b.GetDwgComponente(u"C1", u"N").ToUtf8(), "");
  EXPECT_EQ(b.GetDescricaoMenu(u"1").ToUtf8(), "");
  EXPECT_EQ(b.GetNivelMenu(u"1").ToUtf8(), "");
  EXPECT_TRUE(boxes.shown().empty());
  // The catalogue itself is untouched.
  EXPECT_EQ(RowCounts().count("BDPINOS"), 1u);
}

INSTANTIATE_TEST_SUITE_P(FileCatalogue, OpenFile, testing::Values(Backend::kSqlite), zrtest::BackendName);

// ---- The server catalogue ------------------------------------------------------

using OpenServer = OpenTest;

TEST_P(OpenServer, AWrongPasswordIsReportedWithoutTheSecret) {
  const zrtest::PgServer& s = db->server();
  env->WriteDatabaseSettings(kProgram, "SQL", "", db->database(), s.host + "," + s.port, s.user, "senha-errada");
  _com_error e = OpenFailure();
  EXPECT_TRUE(Mentions(e, "password authentication failed")) << Describe(e);
  EXPECT_FALSE(Mentions(e, "senha-errada")) << Describe(e);
  ExpectNothingHalfOpen();
  WriteSettingsFor(*db);
  OpenCatalogue();
  EXPECT_EQ(bd().GetDescricaoMenu(u"1").ToUtf8(), "Conectores");
}

TEST_P(OpenServer, AMissingDatabaseIsNamed) {
  const zrtest::PgServer& s = db->server();
  env->WriteDatabaseSettings(kProgram, "SQL", "", "zr_nao_existe", s.host + "," + s.port, s.user, s.password);
  _com_error e = OpenFailure();
  EXPECT_TRUE(Mentions(e, "zr_nao_existe")) << Describe(e);
  ExpectNothingHalfOpen();
  WriteSettingsFor(*db);
  OpenCatalogue();
}

TEST_P(OpenServer, ASessionEndedByTheServerIsRestoredWithoutABoxOrNewOpen) {
  OpenCatalogue();
  EXPECT_EQ(bd().GetNivelMenu(u"10").ToUtf8(), "1");
  const std::vector<std::string> pins = zrtest::Entries(bd().GetPinosConector(u"C1"));
  // The server ends the module's session (as a restart or a network failure
  // would) while the server itself stays up.
  ColumnDirect(u"SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
               u"WHERE datname = current_database() AND pid <> pg_backend_pid()");
  // The read that finds the session gone is tried again on a new one.
  EXPECT_EQ(zrtest::Entries(bd().GetPinosConector(u"C1")), pins);
  EXPECT_EQ(bd().GetNivelMenu(u"10").ToUtf8(), "1");
  EXPECT_TRUE(BoxTexts().empty());
}

INSTANTIATE_TEST_SUITE_P(ServerCatalogue, OpenServer, testing::Values(Backend::kPostgres), zrtest::BackendName);

}  // namespace
