// examples/suite.scm as the module meets it: the next automatic name, the
// report of changed pin symbols and the variables.

#include "drawings_fixture.h"

namespace {

using zrhost_testing::describe;
using zrhost_testing::Outcome;
using zrhost_testing::runWithTestModule;

const std::string kSuite = ZRHOST_EXAMPLES "/suite.scm";

TEST_F(ZrhostRun, NextAutomaticNameFromThePlacedConnectors) {
  OdDbDatabasePtr db = OdDbDatabase::createNew();
  for (const char* name : {"X1", "X3", "XC1", "X", "X2a", "Y2", "X0"})
    testing_support::addPin(*db, "PIN-M", name, "AM04M", "1", 0, 0);
  db->writeDxf(testing_support::u(file("gaps.dxf").c_str()));
  Outcome o = runWithTestModule(folder(), {"--load", kSuite, "a.dxf", "gaps.dxf"},
                                "(zrtAskHost \"buscaProximaRelAuto\" \"X\")\n"
                                "(zrtAskHost \"buscaProximaRelAuto\" \"XC\")\n"
                                "(zrtAskHost \"buscaProximaRelAuto\" \"Z\")\n"
                                "(drawing-activate 0)\n"
                                "(zrtAskHost \"buscaProximaRelAuto\" \"X\")\n"
                                "(zrtAskHost \"buscaProximaRelAuto\" 7)\n");
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_EQ(o.out,
            "(5100 \"X2\")\n"
            "(5100 \"XC2\")\n"
            "(5100 \"Z1\")\n"
            "0\n"
            "(5100 \"X3\")\n"
            "(-5001)\n");
}

TEST_F(ZrhostRun, ChangedPinSymbolsAreReported) {
  Outcome o = runWithTestModule(folder(), {"--load", kSuite, "a.dxf"},
                                "(define e (zrtFirstReference))\n"
                                "(equal? (zrtAskHost \"atualizarMacros\" e e) (list 5100 (list (entity-name-handle e) (entity-name-handle e))))\n"
                                "(zrtAskHost \"atualizarMacros\")\n");
  EXPECT_EQ(o.status, 0) << describe(o);
  const std::size_t first = o.out.find("atualizarMacros: 2 changed pin symbol(s) ");
  EXPECT_NE(first, std::string::npos) << describe(o);
  EXPECT_NE(o.out.find("#t\natualizarMacros: 0 changed pin symbol(s)\n(5100 ())\n"), std::string::npos)
      << describe(o);
}

TEST_F(ZrhostRun, SuiteVariables) {
  Outcome o = runWithTestModule(folder(), {"--load", kSuite, "--eval",
                                           "(list (zrtVariable \"*NORMA_UTILIZADA*\") (zrtVariable \"*ZRATTPINO*\"))",
                                           "a.dxf"});
  EXPECT_EQ(o.status, 0) << describe(o);
  EXPECT_EQ(o.out, "((5100 \"IEC\") (5100 \"ID_PINO\"))\n");
  EXPECT_EQ(o.err, "");
}

}  // namespace
