// A value with a quote inside a statement makes the statement fail and can
// never run a second statement, on either driver.

#include <gtest/gtest.h>

#include <map>

#include "test_catalogue.h"
#include "zrado/adox.h"

namespace {

using zrtest::Backend;
using zrtest::Describe;
using zrtest::TestCatalogue;

class Injection : public testing::TestWithParam<Backend> {};

// Row counts of every table, to show that nothing changed.
std::map<std::u16string, long long> Snapshot(const _ConnectionPtr& conn) {
  std::map<std::u16string, long long> counts;
  ADOX::_CatalogPtr catalog;
  catalog.CreateInstance(ADOX::CLSID_Catalog);
  catalog->PutActiveConnection(_variant_t(static_cast<IDispatch*>(conn.GetInterfacePtr())));
  ADOX::TablesPtr tables = catalog->GetTables();
  for (LONG i = 0; i < tables->GetCount(); ++i) {
    std::u16string name = tables->GetItem(i)->GetName().str();
    _RecordsetPtr rs = conn->Execute(u"SELECT count(*) FROM " + name, nullptr, adCmdText);
    counts[name] = static_cast<long long>(rs->GetCollect(0));
  }
  return counts;
}

_com_error RunFailing(const _ConnectionPtr& conn, const std::u16string& sql) {
  _RecordsetPtr rs;
  rs.CreateInstance(CLSID_Recordset);
  rs->PutCursorLocation(adUseClient);
  try {
    rs->Open(_bstr_t(sql), _variant_t(static_cast<IDispatch*>(conn.GetInterfacePtr())), adOpenDynamic,
             adLockBatchOptimistic, adCmdUnspecified);
  } catch (const _com_error& e) {
    EXPECT_EQ(rs->GetState(), adStateClosed);
    return e;
  }
  ADD_FAILURE() << "the statement ran: " << ZrUtf16ToUtf8(sql);
  return _com_error(S_OK);
}

TEST_P(Injection, HostileCodesRunNothingAndLeaveEveryTable) {
  TestCatalogue db(GetParam());
  ZR_REQUIRE_CATALOGUE(db);
  _ConnectionPtr conn = db.Connect();
  auto before = Snapshot(conn);
  ASSERT_GE(before.size(), 7u);
  const char16_t* hostile[] = {
      u"X'; DROP TABLE BDPINOS; --",
      u"X';DROP TABLE BDPINOS;",
      u"X'; DELETE FROM BDZR; SELECT '",
      u"X' /* */ ; /* */ DROP TABLE BDCONTRAPECAS --",
      u"X\\'; DROP TABLE BDPINOS; --",
  };
  // The statements of the catalogue reads, with the code put between the
  // quotes unchanged.
  for (const char16_t* code : hostile) {
    SCOPED_TRACE(ZrUtf16ToUtf8(code));
    std::u16string x(code);
    for (const std::u16string& sql : {
             u"SELECT PINO_KEY FROM BDPINOS WHERE PINO_CONECTOR='" + x + u"'",
             u"SELECT CONTRA_CON_B FROM BDCONTRAPECAS WHERE CONTRA_CON_A = '" + x +
                 u"' UNION SELECT CONTRA_CON_A FROM BDCONTRAPECAS WHERE CONTRA_CON_B = '" + x + u"'",
             u"select ZR_DWG from BDZR where ZR_KEY = '" + x + u"' and ZR_KEY_NOR = 'IEC'",
         }) {
      _com_error e = RunFailing(conn, sql);
      EXPECT_EQ(e.Error(), E_FAIL) << Describe(e);
      EXPECT_FALSE(e.Description().utf8().empty());
    }
  }
  EXPECT_EQ(Snapshot(conn), before);
}

TEST_P(Injection, AQuoteInAValueMakesTheStatementFail) {
  TestCatalogue db(GetParam());
  ZR_REQUIRE_CATALOGUE(db);
  _ConnectionPtr conn = db.Connect();
  auto before = Snapshot(conn);
  _com_error e = RunFailing(conn, u"SELECT PINO_KEY FROM BDPINOS WHERE PINO_CONECTOR='D'ÁGUA'");
  std::string text = e.Description().utf8();
  EXPECT_EQ(text.front(), '[') << text;  // the driver's syntax error, with its SQLSTATE
  _com_error update = RunFailing(conn, u"UPDATE BDPINOS SET PINO_ID='O'BRIEN' WHERE PINO_KEY='P00001'");
  EXPECT_EQ(update.Error(), E_FAIL);
  EXPECT_EQ(Snapshot(conn), before);
  // The connection stays usable.
  EXPECT_NO_THROW(conn->Execute(u"SELECT 1", nullptr, adCmdText));
}

TEST_P(Injection, TextWithTwoStatementsIsRefusedBeforeTheDriver) {
  TestCatalogue db(GetParam());
  ZR_REQUIRE_CATALOGUE(db);
  _ConnectionPtr conn = db.Connect();
  auto before = Snapshot(conn);
  _com_error e = RunFailing(conn, u"SELECT 1; DROP TABLE BDGP");
  EXPECT_NE(e.Description().utf8().find("Only one statement"), std::string::npos) << Describe(e);
  EXPECT_THROW(conn->Execute(u"DELETE FROM BDWIRE; DELETE FROM BDGP", nullptr, adExecuteNoRecords), _com_error);
  EXPECT_EQ(Snapshot(conn), before);
  // One statement with a closing ';' is fine; whatever happens to a trailing
  // comment that holds a ';' (the SQLite driver refuses it), nothing else runs.
  EXPECT_NO_THROW(conn->Execute(u"SELECT count(*) FROM BDGP;", nullptr, adCmdText));
  try {
    conn->Execute(u"SELECT count(*) FROM BDGP -- ; DROP TABLE BDGP", nullptr, adCmdText);
  } catch (const _com_error&) {
  }
  EXPECT_NO_THROW(conn->Execute(u"SELECT ';' FROM BDGP", nullptr, adCmdText));
  EXPECT_EQ(Snapshot(conn), before);
}

INSTANTIATE_TEST_SUITE_P(Drivers, Injection, zrtest::AllBackends(), zrtest::BackendName);

}  // namespace
