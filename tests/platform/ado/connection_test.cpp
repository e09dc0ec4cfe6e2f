// Opening and closing connections, and the errors of failed openings.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "test_catalogue.h"

namespace {

using zrtest::Backend;
using zrtest::Describe;
using zrtest::TestCatalogue;

class Connection : public testing::TestWithParam<Backend> {};

// Opens conn with the given string; returns the _com_error it raised.
_com_error OpenFailure(_ConnectionPtr& conn, const std::u16string& text, const std::u16string& user = u"",
                       const std::u16string& password = u"") {
  try {
    conn->Open(text, user, password, adConnectUnspecified);
  } catch (const _com_error& e) {
    return e;
  }
  ADD_FAILURE() << "Open succeeded: " << ZrUtf16ToUtf8(text);
  return _com_error(S_OK);
}

bool Mentions(const _com_error& e, const std::string& part) {
  return e.Description().utf8().find(part) != std::string::npos;
}

TEST_P(Connection, OpensRunsAndCloses) {
  TestCatalogue db(GetParam());
  ZR_REQUIRE_CATALOGUE(db);
  _ConnectionPtr conn;
  ASSERT_EQ(conn.CreateInstance(CLSID_Connection), S_OK);
  EXPECT_EQ(conn->GetState(), adStateClosed);
  conn->Open(db.ConnectionString(), db.User(), db.Password(), adConnectUnspecified);
  EXPECT_EQ(conn->GetState(), adStateOpen);
  _RecordsetPtr rs = conn->Execute(u"SELECT count(*) FROM BDPINOS", nullptr, adCmdText);
  EXPECT_GT(static_cast<long long>(rs->GetCollect(0)), 500);
  conn->Close();
  EXPECT_EQ(conn->GetState(), adStateClosed);
  // The recordset keeps its rows after its connection closed (client cursor).
  EXPECT_GT(static_cast<long long>(rs->GetCollect(0)), 500);
}

TEST_P(Connection, RefusesOpeningTwiceAndClosingTwice) {
  TestCatalogue db(GetParam());
  ZR_REQUIRE_CATALOGUE(db);
  _ConnectionPtr conn = db.Connect();
  _com_error again = OpenFailure(conn, db.ConnectionString(), db.User(), db.Password());
  EXPECT_EQ(again.Error(), adErrObjectOpen);
  EXPECT_EQ(conn->GetState(), adStateOpen);  // the first connection is untouched
  conn->Close();
  EXPECT_THROW(conn->Close(), _com_error);
  EXPECT_THROW(conn->Execute(u"SELECT 1", nullptr, adCmdText), _com_error);
}

TEST_P(Connection, KeepsTheStringWithoutThePassword) {
  TestCatalogue db(GetParam());
  ZR_REQUIRE_CATALOGUE(db);
  _ConnectionPtr conn;
  conn.CreateInstance(CLSID_Connection);
  std::u16string text = db.ConnectionString() + u";Password=\"se;gredo\"";
  conn->Open(text, db.User(), db.Password(), adConnectUnspecified);
  std::string kept = conn->GetConnectionString().utf8();
  EXPECT_EQ(kept.find("gredo"), std::string::npos) << kept;
  EXPECT_NE(kept.find("Provider="), std::string::npos) << kept;
}

// Mode=Read: every statement that would change the catalogue is refused by
// the driver, reads still work, and the data is as it was.
TEST_P(Connection, ReadModeRefusesChanges) {
  TestCatalogue db(GetParam());
  ZR_REQUIRE_CATALOGUE(db);
  _ConnectionPtr conn;
  ASSERT_EQ(conn.CreateInstance(CLSID_Connection), S_OK);
  conn->Open(db.ConnectionString() + u";Mode=Read", db.User(), db.Password(), adConnectUnspecified);
  const long long pins = static_cast<long long>(conn->Execute(u"SELECT count(*) FROM BDPINOS", nullptr, adCmdText)
                                                    ->GetCollect(0));
  for (const char16_t* change : {u"DELETE FROM BDPINOS", u"CREATE TABLE BDTIPOCOMP ( COMP_KEY varchar(6) )",
                                 u"ALTER TABLE BDGP ADD GP_OCULTO varchar(1)",
                                 u"INSERT INTO BDCONTRAPECAS VALUES ('a', 'b', 'c')"}) {
    EXPECT_THROW(conn->Execute(change, nullptr, adCmdText), _com_error) << ZrUtf16ToUtf8(change);
  }
  conn->Close();
  _ConnectionPtr writer = db.Connect();
  EXPECT_EQ(static_cast<long long>(writer->Execute(u"SELECT count(*) FROM BDPINOS", nullptr, adCmdText)->GetCollect(0)),
            pins);
}

TEST(ConnectionString, UnknownOrMissingProviderIsNamed) {
  CoInitialize(nullptr);
  _ConnectionPtr conn;
  ASSERT_EQ(conn.CreateInstance(CLSID_Connection), S_OK);
  _com_error unknown = OpenFailure(conn, u"Provider=MSDASQL;Data Source=x");
  EXPECT_EQ(unknown.Error(), adErrProviderNotFound);
  EXPECT_TRUE(Mentions(unknown, "\"MSDASQL\"")) << Describe(unknown);
  _com_error none = OpenFailure(conn, u"Data Source=x");
  EXPECT_EQ(none.Error(), adErrProviderNotFound);
  EXPECT_EQ(conn->GetState(), adStateClosed);
  CoUninitialize();
}

TEST(ConnectionString, MalformedTextIsRefused) {
  CoInitialize(nullptr);
  _ConnectionPtr conn;
  ASSERT_EQ(conn.CreateInstance(CLSID_Connection), S_OK);
  struct {
    const char16_t* text;
    const char* why;
  } refused[] = {
      {u"Provider=Microsoft.Jet.OLEDB.4.0", "no Data Source"},
      {u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"/tmp/a.db", "unterminated quote"},
      {u"Provider=SQLOLEDB.1;Data Source=127.0.0.1,5432", "no Initial Catalog"},
      {u"Provider=SQLOLEDB.1;Initial Catalog=x;Data Source=127.0.0.1,99999", "Malformed port"},
      {u"Provider=SQLOLEDB.1;Initial Catalog=x;Data Source=host\\SQLEXPRESS", "names an instance"},
      {u"Provider=SQLOLEDB.1;garbage;Initial Catalog=x", "key=value"},
      {u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/tmp/a.db;Mode=Share Deny Write", "Mode"},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(ZrUtf16ToUtf8(c.text));
    _com_error e = OpenFailure(conn, c.text);
    EXPECT_EQ(e.Error(), adErrInvalidArgument);
    EXPECT_TRUE(Mentions(e, c.why)) << Describe(e);
  }
  CoUninitialize();
}

TEST(FileCatalogue, MissingFileIsNamedAndALaterOpenSucceeds) {
  TestCatalogue db(Backend::kSqlite);
  _ConnectionPtr conn;
  ASSERT_EQ(conn.CreateInstance(CLSID_Connection), S_OK);
  std::string path = db.folder() + "sub/catalogo.db";
  _com_error e = OpenFailure(conn, u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + ZrUtf8ToUtf16(path));
  EXPECT_EQ(e.Error(), E_FAIL);
  EXPECT_TRUE(Mentions(e, "Could not find file '" + path + "'")) << Describe(e);
  EXPECT_EQ(conn->GetState(), adStateClosed);
  EXPECT_FALSE(std::filesystem::exists(path));  // never created empty
  // The folder is given without its trailing separator: the name is joined
  // unchanged and names another, missing file.
  std::string joined = db.folder().substr(0, db.folder().size() - 1) + db.file_name();
  e = OpenFailure(conn, u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + ZrUtf8ToUtf16(joined));
  EXPECT_TRUE(Mentions(e, joined)) << Describe(e);

  std::filesystem::create_directories(db.folder() + "sub");
  std::filesystem::copy_file(db.folder() + db.file_name(), path);
  conn->Open(u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + ZrUtf8ToUtf16(path), u"", u"", adConnectUnspecified);
  EXPECT_EQ(conn->GetState(), adStateOpen);
}

TEST(FileCatalogue, AFileThatIsNoDatabaseFailsAtOpen) {
  TestCatalogue db(Backend::kSqlite);
  std::string path = db.folder() + "texto.db";
  std::ofstream(path) << "this is not a database file, only some text that is long enough to be read\n";
  _ConnectionPtr conn;
  conn.CreateInstance(CLSID_Connection);
  _com_error e = OpenFailure(conn, u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + ZrUtf8ToUtf16(path));
  EXPECT_TRUE(Mentions(e, "Cannot open file '" + path + "'")) << Describe(e);
  EXPECT_TRUE(Mentions(e, "not a database")) << Describe(e);
  _com_error folder = OpenFailure(conn, u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + ZrUtf8ToUtf16(db.folder()));
  EXPECT_TRUE(Mentions(folder, "is a folder")) << Describe(folder);
}

TEST(Server, WrongPasswordIsReportedAndALaterOpenSucceeds) {
  TestCatalogue db(Backend::kPostgres);
  ZR_REQUIRE_CATALOGUE(db);
  _ConnectionPtr conn;
  conn.CreateInstance(CLSID_Connection);
  _com_error e = OpenFailure(conn, db.ConnectionString(), db.User(), u"wrong-password");
  EXPECT_EQ(e.Error(), E_FAIL);
  EXPECT_TRUE(Mentions(e, "Cannot open database '" + db.database() + "'")) << Describe(e);
  EXPECT_TRUE(Mentions(e, "[08001] (native ")) << Describe(e);  // the driver's SQLSTATE and code
  EXPECT_TRUE(Mentions(e, "password authentication failed")) << Describe(e);
  EXPECT_FALSE(Mentions(e, "wrong-password")) << Describe(e);
  EXPECT_EQ(conn->GetState(), adStateClosed);
  conn->Open(db.ConnectionString(), db.User(), db.Password(), adConnectUnspecified);
  EXPECT_EQ(conn->GetState(), adStateOpen);
}

TEST(Server, UnreachableServerAndMissingDatabaseAreReported) {
  TestCatalogue db(Backend::kPostgres);
  ZR_REQUIRE_CATALOGUE(db);
  _ConnectionPtr conn;
  conn.CreateInstance(CLSID_Connection);
  conn->PutConnectionTimeout(5);
  // Port 1 on loopback: nothing listens there.
  _com_error refused = OpenFailure(conn, u"Provider=SQLOLEDB.1;Initial Catalog=x;Data Source=127.0.0.1,1", db.User(),
                                   db.Password());
  EXPECT_TRUE(Mentions(refused, "on server 127.0.0.1:1")) << Describe(refused);
  EXPECT_TRUE(Mentions(refused, "[08001]")) << Describe(refused);
  _com_error missing = OpenFailure(conn,
                                   u"Provider=SQLOLEDB.1;Initial Catalog=no_such_db;Data Source=" +
                                       ZrUtf8ToUtf16(db.server().host + ":" + db.server().port),
                                   db.User(), db.Password());
  EXPECT_TRUE(Mentions(missing, "no_such_db")) << Describe(missing);
  EXPECT_EQ(conn->GetState(), adStateClosed);
  conn->Open(db.ConnectionString(), db.User(), db.Password(), adConnectUnspecified);
  EXPECT_EQ(conn->GetState(), adStateOpen);
}

INSTANTIATE_TEST_SUITE_P(Drivers, Connection, zrtest::AllBackends(), zrtest::BackendName);

}  // namespace
