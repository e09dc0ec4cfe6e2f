// ADOX: the tables of a connection and the columns of a table.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "test_catalogue.h"
#include "zrado/adox.h"

namespace {

using zrtest::Backend;
using zrtest::Describe;
using zrtest::TestCatalogue;

class Adox : public testing::TestWithParam<Backend> {};

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

ADOX::_CatalogPtr CatalogOf(const _ConnectionPtr& conn) {
  ADOX::_CatalogPtr catalog;
  HRESULT hr = catalog.CreateInstance(ADOX::CLSID_Catalog);
  if (FAILED(hr)) _com_issue_errorex(hr, nullptr, GUID_NULL);
  catalog->PutActiveConnection(_variant_t(static_cast<IDispatch*>(conn.GetInterfacePtr())));
  return catalog;
}

std::vector<std::string> TableNames(const ADOX::_CatalogPtr& catalog) {
  std::vector<std::string> names;
  ADOX::TablesPtr tables = catalog->GetTables();
  for (LONG i = 0; i < tables->GetCount(); ++i) names.push_back(Upper(tables->GetItem(i)->GetName().utf8()));
  std::sort(names.begin(), names.end());
  return names;
}

TEST_P(Adox, ListsTheCataloguesTables) {
  TestCatalogue db(GetParam());
  ZR_REQUIRE_CATALOGUE(db);
  ADOX::_CatalogPtr catalog = CatalogOf(db.Connect());
  EXPECT_EQ(TableNames(catalog), (std::vector<std::string>{"BDCONTRAPECAS", "BDGP", "BDMENUS", "BDPINOS", "BDVINCL",
                                                           "BDWIRE", "BDZR"}));
  ADOX::TablesPtr tables = catalog->GetTables();
  EXPECT_EQ(Upper(tables->GetItem(u"bdpinos")->GetName().utf8()), "BDPINOS");  // by name, ignoring case
  EXPECT_EQ(tables->GetItem(u"BDPINOS")->GetType().utf8(), "TABLE");
  try {
    tables->GetItem(tables->GetCount());
    ADD_FAILURE() << "an item past the end";
  } catch (const _com_error& e) {
    EXPECT_EQ(e.Error(), adErrItemNotFound) << Describe(e);
  }
}

TEST_P(Adox, ListsAColumnsInTheirOrder) {
  TestCatalogue db(GetParam());
  ZR_REQUIRE_CATALOGUE(db);
  ADOX::_CatalogPtr catalog = CatalogOf(db.Connect());
  ADOX::ColumnsPtr columns = catalog->GetTables()->GetItem(u"BDPINOS")->GetColumns();
  std::vector<std::string> names;
  for (LONG i = 0; i < columns->GetCount(); ++i) names.push_back(Upper(columns->GetItem(i)->GetName().utf8()));
  EXPECT_EQ(names, (std::vector<std::string>{"PINO_KEY", "PINO_CONECTOR", "PINO_PINO", "PINO_ID"}));
  EXPECT_EQ(columns->GetItem(u"pino_id")->GetDefinedSize(), 100);
  EXPECT_EQ(Upper(columns->GetItem(short{3})->GetTypeName().utf8()).substr(0, 7), "VARCHAR");
}

TEST_P(Adox, SeesChangesOnTheNextRead) {
  TestCatalogue db(GetParam());
  ZR_REQUIRE_CATALOGUE(db);
  _ConnectionPtr conn = db.Connect();
  ADOX::_CatalogPtr catalog = CatalogOf(conn);
  ADOX::TablesPtr before = catalog->GetTables();
  conn->Execute(u"CREATE TABLE BDTIPOCOMP ( COMP_KEY varchar(6), TIPO_KEY varchar(6) ) ", nullptr, adExecuteNoRecords);
  conn->Execute(u"ALTER TABLE BDGP ADD GP_OCULTO varchar(1) ", nullptr, adExecuteNoRecords);
  // A table whose name a search pattern would also match ('_' is a wildcard).
  conn->Execute(u"CREATE TABLE BDGPX ( Z varchar(1) )", nullptr, adExecuteNoRecords);
  EXPECT_EQ(catalog->GetTables()->GetCount(), before->GetCount() + 2);
  ADOX::ColumnsPtr gp = catalog->GetTables()->GetItem(u"BDGP")->GetColumns();
  ASSERT_EQ(gp->GetCount(), 3);
  EXPECT_EQ(Upper(gp->GetItem(2)->GetName().utf8()), "GP_OCULTO");
}

TEST(AdoxConnection, NeedsAnOpenConnection) {
  TestCatalogue db(Backend::kSqlite);
  ADOX::_CatalogPtr catalog;
  ASSERT_EQ(catalog.CreateInstance(ADOX::CLSID_Catalog), S_OK);
  EXPECT_THROW(catalog->GetTables(), _com_error);
  _ConnectionPtr closed;
  closed.CreateInstance(CLSID_Connection);
  try {
    catalog->PutActiveConnection(_variant_t(static_cast<IDispatch*>(closed.GetInterfacePtr())));
    ADD_FAILURE() << "accepted a closed connection";
  } catch (const _com_error& e) {
    EXPECT_EQ(e.Error(), adErrInvalidConnection) << Describe(e);
  }
  // A connection string opens a connection of the catalogue's own.
  catalog->PutActiveConnection(_variant_t(_bstr_t(db.ConnectionString())));
  EXPECT_EQ(catalog->GetTables()->GetCount(), 7);
  // Closing the connection later makes the catalogue fail, not crash.
  _ConnectionPtr conn = db.Connect();
  catalog->PutRefActiveConnection(conn);
  conn->Close();
  EXPECT_THROW(catalog->GetTables(), _com_error);
}

INSTANTIATE_TEST_SUITE_P(Drivers, Adox, zrtest::AllBackends(), zrtest::BackendName);

}  // namespace
