// The catalogue database object when its server stops during a session and
// comes back: while it is down each failed read shows one "SQL ERROR: " box
// and gives its failure result; once it is back the reads work again without
// a new Open; and a failure for want of the server never starts the schema
// upgrade.

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "catalog/CIBancoDados.h"
#include "private_pg_server.h"
#include "program_environment.h"
#include "zrado/adox.h"
#include "zrui/msgbox.h"

namespace {

using zrtest::Backend;
using zrtest::Describe;
using zrtest::TestCatalogue;

constexpr const char* kProgram = "zrcat-restart";

class CatalogueServerLost : public zrtest::PrivatePgServerTest {
 protected:
  void SetUp() override {
    PrivatePgServerTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    CIBancoDados::ResetInstanceForTesting();
    env_ = std::make_unique<zrtest::ProgramEnvironment>(kProgram);
    db_ = std::make_unique<TestCatalogue>(Backend::kPostgres, server_->server());
    ASSERT_FALSE(HasFailure());
    const zrtest::PgServer& s = server_->server();
    env_->WriteDatabaseSettings(kProgram, "SQL", "", db_->database(), s.host + "," + s.port, s.user, s.password);
    try {
      ASSERT_EQ(bd().Open(), 0);
    } catch (const _com_error& e) {
      FAIL() << "Open failed: " << Describe(e);
    }
    code_ = FirstConnectorCode();
    ASSERT_FALSE(code_.empty());
  }
  void TearDown() override {
    CIBancoDados::ResetInstanceForTesting();
    db_.reset();  // needs the server up: every test leaves it running
    env_.reset();
  }

  static CIBancoDados& bd() { return *CIBancoDados::Instance(); }

  // The catalogue's tables, read on a connection of the test's own.
  std::set<std::string> Tables() {
    _ConnectionPtr direct = db_->Connect();
    ADOX::_CatalogPtr catalog;
    catalog.CreateInstance(ADOX::CLSID_Catalog);
    catalog->PutActiveConnection(_variant_t(static_cast<IDispatch*>(direct.GetInterfacePtr())));
    ADOX::TablesPtr tables = catalog->GetTables();
    std::set<std::string> names;
    for (LONG i = 0; i < tables->GetCount(); ++i) names.insert(CString(tables->GetItem(i)->GetName().view()).MakeUpper().ToUtf8());
    return names;
  }
  std::string FirstConnectorCode() {
    _ConnectionPtr direct = db_->Connect();
    _RecordsetPtr rs = direct->Execute(u"SELECT min(PINO_CONECTOR) FROM BDPINOS", nullptr, adCmdText);
    return CString(_bstr_t(rs->GetCollect(short{0})).str()).Trim().ToUtf8();
  }
  std::vector<std::string> PinRows() {
    std::unique_ptr<CStringList> rows(bd().GetLinhasPinosConector(CString::FromUtf8(code_)));
    std::vector<std::string> out;
    for (POSITION pos = rows->GetHeadPosition(); pos;) out.push_back(rows->GetNext(pos).ToUtf8());
    return out;
  }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : boxes_.shown()) texts.push_back(CString(box.text).ToUtf8());
    return texts;
  }

  std::unique_ptr<zrtest::ProgramEnvironment> env_;
  std::unique_ptr<TestCatalogue> db_;
  zrui::ScriptedMessageBoxes boxes_;
  std::string code_;
};

TEST_F(CatalogueServerLost, ReadsFailWithOneBoxEachWhileDownAndWorkOnceBack) {
  const std::vector<std::string> rows = PinRows();
  ASSERT_FALSE(rows.empty());
  const std::set<std::string> tables = Tables();
  ASSERT_TRUE(BoxTexts().empty());
  ASSERT_TRUE(server_->Stop());

  // The read that finds the server gone: its failure result and one box.
  EXPECT_TRUE(PinRows().empty());
  const std::string pinStatement =
      "SQL ERROR: SELECT PINO_KEY, PINO_ID, PINO_PINO FROM BDPINOS WHERE PINO_CONECTOR='" + code_ + "'";
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{pinStatement});
  // Reads that need their rows raise E_POINTER after their one box.
  HRESULT hr = S_OK;
  try {
    delete bd().GetContraPecas(CString::FromUtf8(code_));
  } catch (const _com_error& e) {
    hr = e.Error();
  }
  EXPECT_EQ(hr, E_POINTER);
  ASSERT_EQ(BoxTexts().size(), 2u);
  EXPECT_EQ(BoxTexts()[1].rfind("SQL ERROR: SELECT CONTRA_CON_B FROM BDCONTRAPECAS", 0), 0u) << BoxTexts()[1];
  EXPECT_TRUE(bd().IsConnected()) << "the module keeps its one connection";

  ASSERT_TRUE(server_->Start());
  EXPECT_EQ(PinRows(), rows);
  EXPECT_EQ(BoxTexts().size(), 2u) << "no box once the server is back";
  // Nothing was added to the catalogue: the upgrade never ran for these failures.
  EXPECT_EQ(Tables(), tables);
}

TEST_F(CatalogueServerLost, RestartWhileIdleCostsNoBoxAndStartsNoUpgrade) {
  const std::vector<std::string> rows = PinRows();
  const std::set<std::string> tables = Tables();
  // The example catalogue lacks tables that the upgrade adds: an upgrade
  // would show here.
  ASSERT_EQ(tables.count("BDTIPOCOMP"), 0u);
  ASSERT_TRUE(server_->Stop());
  ASSERT_TRUE(server_->Start());

  EXPECT_EQ(PinRows(), rows);
  EXPECT_TRUE(BoxTexts().empty());
  EXPECT_EQ(Tables(), tables);
}

TEST_F(CatalogueServerLost, AStatementThatFailsOnItsOwnStillUpgradesAfterARestart) {
  ASSERT_TRUE(server_->Stop());
  ASSERT_TRUE(server_->Start());
  // The link is found lost, restored, and then the statement fails by
  // itself: that failure brings the catalogue up to date as always.
  EXPECT_EQ(bd().OpenRecordset(u"SELECT NO_SUCH_COLUMN FROM BDPINOS", true), nullptr);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"SQL ERROR: SELECT NO_SUCH_COLUMN FROM BDPINOS"});
  EXPECT_EQ(Tables().count("BDTIPOCOMP"), 1u);
}

}  // namespace
