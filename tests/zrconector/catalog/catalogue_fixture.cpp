#include "catalogue_fixture.h"

#include <algorithm>

#include "zrado/adox.h"

namespace zrtest {

void CatalogueTest::SetUp() {
  CIBancoDados::ResetInstanceForTesting();
  env = std::make_unique<ProgramEnvironment>(kProgram);
  db = std::make_unique<TestCatalogue>(GetParam());
  if (IsSkipped()) return;
  WriteSettingsFor(*db);
}

void CatalogueTest::TearDown() {
  // The module's connection and the test's go before the catalogue copy.
  CIBancoDados::ResetInstanceForTesting();
  direct_ = nullptr;
  db.reset();
  env.reset();
}

void CatalogueTest::WriteSettingsFor(const TestCatalogue& catalogue, const std::string& program) {
  if (catalogue.backend() == Backend::kSqlite) {
    env->WriteDatabaseSettings(program, "MDB", catalogue.folder(), catalogue.file_name());
  } else {
    const PgServer& s = catalogue.server();
    env->WriteDatabaseSettings(program, "SQL", "", catalogue.database(), s.host + "," + s.port, s.user, s.password);
  }
}

void CatalogueTest::OpenCatalogue() {
  try {
    ASSERT_EQ(bd().Open(), 0);
  } catch (const _com_error& e) {
    FAIL() << "Open failed: " << Describe(e);
  }
  ASSERT_TRUE(bd().IsConnected());
}

_ConnectionPtr& CatalogueTest::direct() {
  if (!direct_) direct_ = db->Connect();
  return direct_;
}

void CatalogueTest::RunDirect(const std::u16string& sql) {
  try {
    direct()->Execute(sql, nullptr, adExecuteNoRecords);
  } catch (const _com_error& e) {
    ADD_FAILURE() << ZrUtf16ToUtf8(sql) << ": " << Describe(e);
  }
}

std::vector<std::string> CatalogueTest::ColumnDirect(const std::u16string& sql) {
  std::vector<std::string> values;
  _RecordsetPtr rs = direct()->Execute(sql, nullptr, adCmdText);
  while (!rs->GetadoEOF()) {
    _variant_t v = rs->GetCollect(short{0});
    values.push_back(v.IsNull() ? std::string() : CString(_bstr_t(v).str()).Trim().ToUtf8());
    rs->MoveNext();
  }
  return values;
}

std::map<std::string, long long> CatalogueTest::RowCounts() {
  std::map<std::string, long long> counts;
  ADOX::_CatalogPtr catalog;
  catalog.CreateInstance(ADOX::CLSID_Catalog);
  catalog->PutActiveConnection(_variant_t(static_cast<IDispatch*>(direct().GetInterfacePtr())));
  ADOX::TablesPtr tables = catalog->GetTables();
  for (LONG i = 0; i < tables->GetCount(); ++i) {
    std::u16string name = tables->GetItem(i)->GetName().str();
    _RecordsetPtr rs = direct()->Execute(u"SELECT count(*) FROM " + name, nullptr, adCmdText);
    counts[CString(name).MakeUpper().ToUtf8()] = static_cast<long long>(rs->GetCollect(short{0}));
  }
  return counts;
}

std::vector<std::string> CatalogueTest::BoxTexts() const {
  std::vector<std::string> texts;
  for (const auto& box : boxes.shown()) texts.push_back(CString(box.text).ToUtf8());
  return texts;
}

std::vector<std::string> Entries(CStringList* list) {
  std::vector<std::string> entries;
  if (!list) {
    ADD_FAILURE() << "the module returned no list";
    return entries;
  }
  for (POSITION pos = list->GetHeadPosition(); pos;) entries.push_back(list->GetNext(pos).ToUtf8());
  EXPECT_EQ(list->GetCount(), static_cast<int>(entries.size()));
  delete list;
  return entries;
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

}  // namespace zrtest
