// The pin check reading the real catalogue, on both drivers: pin rows and
// mating parts come from BDPINOS and BDCONTRAPECAS. Codes and identifiers
// that a drawing carries reach the statements unchanged: whatever they hold,
// a check finishes (or ends with the catalogue's error), one box per failing
// statement, and every table keeps its rows.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "catalog/CIBancoDados.h"
#include "drawing/CIPinos.h"
#include "drawing_builder.h"
#include "program_environment.h"
#include "test_catalogue.h"
#include "zrado/adox.h"
#include "zrui/msgbox.h"

using namespace testing_support;

namespace {

class PinCheckCatalogue : public testing::TestWithParam<zrtest::Backend> {
 protected:
  void SetUp() override {
    CIBancoDados::ResetInstanceForTesting();
    env = std::make_unique<zrtest::ProgramEnvironment>("zrpins-test");
    catalogue = std::make_unique<zrtest::TestCatalogue>(GetParam());
    if (IsSkipped()) return;
    if (GetParam() == zrtest::Backend::kSqlite) {
      env->WriteDatabaseSettings("zrpins-test", "MDB", catalogue->folder(), catalogue->file_name());
    } else {
      const zrtest::PgServer& s = catalogue->server();
      env->WriteDatabaseSettings("zrpins-test", "SQL", "", catalogue->database(), s.host + "," + s.port, s.user,
                                 s.password);
    }
    ASSERT_EQ(CIBancoDados::Instance()->Open(), 0);
    db = ACTIVE_DOCUMENT()->GetFxDatabase()->database();
  }
  void TearDown() override {
    CIBancoDados::ResetInstanceForTesting();
    catalogue.reset();
    env.reset();
  }
  // Row counts of every table of the catalogue, through a connection of the
  // test's own.
  std::map<std::string, long long> rowCounts() {
    std::map<std::string, long long> counts;
    _ConnectionPtr direct = catalogue->Connect();
    ADOX::_CatalogPtr tables;
    tables.CreateInstance(ADOX::CLSID_Catalog);
    tables->PutActiveConnection(_variant_t(static_cast<IDispatch*>(direct.GetInterfacePtr())));
    ADOX::TablesPtr all = tables->GetTables();
    for (LONG i = 0; i < all->GetCount(); ++i) {
      const std::u16string name = all->GetItem(i)->GetName().str();
      _RecordsetPtr rs = direct->Execute(u"SELECT count(*) FROM " + name, nullptr, adCmdText);
      counts[CString(name).MakeUpper().ToUtf8()] = static_cast<long long>(rs->GetCollect(short{0}));
    }
    return counts;
  }
  // Runs statements on the test's own connection (arranging catalogue rows).
  void runDirect(const std::vector<std::u16string>& statements) {
    _ConnectionPtr direct = catalogue->Connect();
    for (const std::u16string& sql : statements) direct->Execute(sql, nullptr, adExecuteNoRecords);
  }
  // Every table of before keeps its rows. A failing statement first runs the
  // schema upgrade, which may add (empty) tables.
  void expectRowsKept(const std::map<std::string, long long>& before) {
    const std::map<std::string, long long> after = rowCounts();
    for (const auto& [table, rows] : before) {
      auto it = after.find(table);
      ASSERT_NE(it, after.end()) << table << " is gone";
      EXPECT_EQ(it->second, rows) << table;
    }
    for (const auto& [table, rows] : after) {
      if (!before.count(table)) {
        EXPECT_EQ(rows, 0) << "new table " << table;
      }
    }
  }
  std::vector<std::string> boxTexts() const {
    std::vector<std::string> out;
    for (const auto& b : boxes.shown()) out.push_back(OdString(b.text).toUtf8());
    return out;
  }
  std::map<std::string, int> statuses(const zr::CEConectorPinos& r) {
    std::map<std::string, int> out;
    for (const auto& p : r.GetPinos()) out[p->identifier.toUtf8()] = p->status;
    return out;
  }

  std::unique_ptr<zrtest::ProgramEnvironment> env;
  std::unique_ptr<zrtest::TestCatalogue> catalogue;
  zrui::ScriptedMessageBoxes boxes;
  OdDbDatabase* db = nullptr;
};

TEST_P(PinCheckCatalogue, MissingUnknownAndMatedPinsFromTheCatalogue) {
  // CM03M (pins A, B, C) mates with CM03F; AM02F does not mate with CM03M.
  addPin(*db, "PIN-A", "X1", "CM03M", "A", 10, 10);
  addPin(*db, "PIN-A", "X1", "CM03M", "Z", 10, 20);
  addPin(*db, "PIN-A", "X2", "CM03F", "A", 10, 10);
  addPin(*db, "PIN-A", "X3", "AM02F", "1", 10, 20);
  zr::ConectoresPinos records;
  CIPinos().VerificarPinos(records);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(statuses(*records[0]), (std::map<std::string, int>{{"A", 0}, {"Z", 3}, {"B", 1}, {"C", 1}}));
  EXPECT_EQ(statuses(*records[1]), (std::map<std::string, int>{{"A", 0}, {"B", 1}, {"C", 1}}));
  EXPECT_EQ(records[2]->GetPinos()[0]->status, zr::PINO_LIGACAO_INVALIDA);
  EXPECT_EQ(records[0]->GetEstado(), zr::CONECTOR_LIGACAO_INVALIDA);
  EXPECT_TRUE(boxes.shown().empty());
}

TEST_P(PinCheckCatalogue, AHostileCodeFailsItsQueriesAndLeavesTheCatalogueIntact) {
  addPin(*db, "PIN-A", "X1", "X'; DROP TABLE BDPINOS; --", "1", 10, 10);
  zr::ConectoresPinos records;
  CIPinos().VerificarPinos(records);
  ASSERT_EQ(records.size(), 1u);
  // The pin rows query failed (one box): the symbol's pin is unknown.
  EXPECT_EQ(records[0]->GetPinos()[0]->status, zr::PINO_DESCONHECIDO);
  EXPECT_EQ(boxes.shown().size(), 1u);
  std::unique_ptr<CStringList> rows(CIBancoDados::Instance()->GetLinhasPinosConector(u"CM03M"));
  EXPECT_EQ(rows->GetCount(), 3);
}

// Texts a drawing may carry as a code or an identifier.
struct Hostile {
  const char* what;
  std::string text;
};

const std::vector<Hostile>& HostileTexts() {
  static const std::vector<Hostile> texts = {
      {"a quote", "O'Brien"},
      {"a statement after a quote", "X'; DROP TABLE BDPINOS; --"},
      {"a delete after a parenthesis", "X') OR 1=1; DELETE FROM BDCONTRAPECAS; /*"},
      {"a backslash before a quote", "X\\'; DELETE FROM BDPINOS; --"},
      {"semicolons", "a;b;;DELETE FROM BDPINOS"},
      {"a line comment", "CM03M -- rest"},
      {"a block comment", "CM03M /* x */ */"},
      {"double quotes", "\"BDPINOS\""},
      {"dollar quoting", "$$; DELETE FROM BDPINOS; $$"},
      {"wildcards", "%_*?[]"},
      {"10,000 characters", std::string(10'000, 'Z')},
      {"12,000 characters and a quote", std::string(12'000, 'Q') + "'; DELETE FROM BDPINOS; --"},
      {"accents", "Conexão-Ñ"},
      {"CJK", "连接器"},
      {"emoji outside the BMP", "\xF0\x9F\x94\x8C\xF0\x9F\x98\x80"},
      {"control characters", std::string("\x01\x02\x1b[31m\x7f\x1f") + "x"},
      {"line breaks", "A\r\nB\nC"},
  };
  return texts;
}

bool hasQuote(const std::string& s) { return s.find('\'') != std::string::npos; }

TEST_P(PinCheckCatalogue, HostileCodesEndInUnknownPinsAndLeaveEveryTableAlone) {
  const auto before = rowCounts();
  ASSERT_GT(before.at("BDPINOS"), 0);
  // One symbol per hostile code, far from each other, plus one good connector.
  const std::vector<Hostile>& texts = HostileTexts();
  for (std::size_t i = 0; i < texts.size(); ++i)
    addPin(*db, "PIN-A", "H" + std::to_string(i), texts[i].text, "A", 10.0 * static_cast<double>(i), 500);
  addPin(*db, "PIN-A", "X1", "CM03M", "A", 10, 10);
  zr::ConectoresPinos records;
  CIPinos().VerificarPinos(records);
  ASSERT_EQ(records.size(), texts.size() + 1);
  std::size_t failing = 0;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    SCOPED_TRACE(texts[i].what);
    const zr::CEConectorPinos& r = *records[i];
    EXPECT_EQ(r.GetCodigo().toUtf8(), texts[i].text) << "the code is kept exactly";
    ASSERT_EQ(r.GetPinos().size(), 1u) << "no catalogue pins for such a code";
    EXPECT_EQ(r.GetPinos()[0]->status, zr::PINO_DESCONHECIDO);
    if (hasQuote(texts[i].text)) ++failing;
  }
  EXPECT_EQ(statuses(*records.back()), (std::map<std::string, int>{{"A", 0}, {"B", 1}, {"C", 1}}));
  // A quote makes the pin rows statement fail: one box each, naming it.
  const std::vector<std::string> shown = boxTexts();
  EXPECT_EQ(shown.size(), failing);
  for (const std::string& text : shown) EXPECT_EQ(text.rfind("SQL ERROR: ", 0), 0u) << text.substr(0, 200);
  expectRowsKept(before);
}

TEST_P(PinCheckCatalogue, AHostileCodeTouchingAnotherPinEndsTheCheckWithTheCatalogueError) {
  // The mating parts of a code whose statement fails are an error, not an
  // empty list: the check ends and the caller reports it.
  const auto before = rowCounts();
  for (const Hostile& h : HostileTexts()) {
    if (!hasQuote(h.text)) continue;
    SCOPED_TRACE(h.what);
    OdDbDatabasePtr drawing = OdDbDatabase::createNew();
    env->host().open(drawing);
    addPin(*drawing, "PIN-A", "H1", h.text, "A", 10, 10);
    addPin(*drawing, "PIN-A", "X2", "CM03F", "A", 10, 10);
    const std::size_t shownBefore = boxes.shown().size();
    zr::ConectoresPinos records;
    EXPECT_THROW(CIPinos().VerificarPinos(records), _com_error);
    // The pin rows statement and the mating parts statement: two boxes.
    EXPECT_EQ(boxes.shown().size() - shownBefore, 2u);
  }
  expectRowsKept(before);
}

TEST_P(PinCheckCatalogue, CodesAndIdentifiersOfEveryScriptMatchTheCatalogue) {
  // Catalogue rows whose codes and identifiers are not ASCII, and quotes and
  // comment markers in identifiers (which never reach a statement): the check
  // finds them exactly as the drawing writes them.
  runDirect({u"INSERT INTO BDPINOS (PINO_KEY, PINO_CONECTOR, PINO_PINO, PINO_ID) VALUES "
             u"('ZK1', 'ÇÃ-Ω', 'P1', 'Pino ñ'), ('ZK2', 'ÇÃ-Ω', 'P2', 'O''Brien; -- /* */'), "
             u"('ZK3', '连接器', 'P3', '针脚'), ('ZK4', '🔌1', 'P4', '😀')",
             u"INSERT INTO BDCONTRAPECAS (CONTRA_KEY, CONTRA_CON_A, CONTRA_CON_B) VALUES ('ZC1', 'ÇÃ-Ω', '连接器')"});
  const auto before = rowCounts();
  addPin(*db, "PIN-A", "X1", "ÇÃ-Ω", "Pino ñ", 10, 10);
  addPin(*db, "PIN-A", "X1", "ÇÃ-Ω", "O'Brien; -- /* */", 10, 20);
  addPin(*db, "PIN-A", "X2", "连接器", "针脚", 10, 10);  // mates with X1
  addPin(*db, "PIN-A", "X3", "🔌1", "😀", 10, 20);     // may not touch X1
  addPin(*db, "PIN-A", "X3", "🔌1", "😁", 50, 50);
  zr::ConectoresPinos records;
  CIPinos().VerificarPinos(records);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(statuses(*records[0]), (std::map<std::string, int>{{"Pino ñ", 0}, {"O'Brien; -- /* */", 3}}));
  EXPECT_EQ(records[0]->GetPinos()[1]->pin.toUtf8(), "P2");
  EXPECT_EQ(statuses(*records[1]), (std::map<std::string, int>{{"针脚", 0}}));
  EXPECT_EQ(statuses(*records[2]), (std::map<std::string, int>{{"😀", 3}, {"😁", 2}}));
  EXPECT_TRUE(boxes.shown().empty()) << boxTexts().front();
  expectRowsKept(before);
}

INSTANTIATE_TEST_SUITE_P(Drivers, PinCheckCatalogue, zrtest::AllBackends(), zrtest::BackendName);

}  // namespace
