// The pin check reading the real catalogue, on both drivers: pin rows and
// mating parts come from BDPINOS and BDCONTRAPECAS.
#include <gtest/gtest.h>

#include "CIBancoDados.h"
#include "CIPinos.h"
#include "drawing_builder.h"
#include "program_environment.h"
#include "test_catalogue.h"
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

INSTANTIATE_TEST_SUITE_P(Drivers, PinCheckCatalogue, zrtest::AllBackends(), zrtest::BackendName);

}  // namespace
