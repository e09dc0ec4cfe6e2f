// Where pin symbols stand: the check counts the direct references of every
// "PIN-" block wherever they are (model space, paper space, inside other
// blocks, inside their own block), the name listing only those of model
// space; a reference to a block that does not exist is nobody's pin.
#include <gtest/gtest.h>

#include <algorithm>

#include "drawing/CIPinos.h"
#include "drawing_builder.h"
#include "fake_catalogue.h"
#include "fake_host.h"

using namespace testing_support;

namespace {

class SymbolPlacement : public ::testing::Test {
 protected:
  void SetUp() override {
    catalogue.pins("C", {{"K1", "1", "P1"}, {"K2", "2", "P2"}});
    open(OdDbDatabase::createNew());
  }
  void open(OdDbDatabasePtr drawing) {
    db = drawing;
    host.open(db);
    OdDbBlockTablePtr table = db->getBlockTableId().safeOpenObject();
    if (!table->has(u("PIN-A"))) addBlock(*db, "PIN-A", {{"ID_PINO", "Pino"}});
  }
  // A pin symbol of connector name in space (model space when null).
  OdDbObjectId symbol(const std::string& name, const std::string& id, double x, OdDbObjectId space = {}) {
    Reference r = at("PIN-A", x, 50, {{"ID_PINO", id}});
    r.xdata = {name, "C", "S"};
    r.layer = "ESQ";
    return addReference(*db, r, space);
  }
  // "name.identifier:status" of every pin the check reports.
  std::vector<std::string> check() {
    std::vector<std::string> out;
    for (const auto& r : catalogue.check())
      for (const auto& p : r->GetPinos())
        out.push_back(r->GetNome().toUtf8() + "." + p->identifier.toUtf8() + ":" + std::to_string(p->status));
    return out;
  }

  FakeHost host;
  OdDbDatabasePtr db;
  FakeCatalogue catalogue;
};

TEST_F(SymbolPlacement, PaperSpaceSymbolsAreCheckedButNotListed) {
  symbol("X1", "1", 10);
  symbol("X2", "1", 20, db->getPaperSpaceId());
  EXPECT_EQ(check(), (std::vector<std::string>{"X1.1:0", "X1.2:1", "X2.1:0", "X2.2:1"}));
  EXPECT_EQ(catalogue.listedNames(), std::vector<std::string>{"X1"});
}

TEST_F(SymbolPlacement, ASymbolInsideAnotherBlockCountsOnceHoweverOftenThatBlockIsPlaced) {
  const OdDbObjectId group = addBlock(*db, "GRUPO", {});
  symbol("X1", "1", 10, group);
  addReference(*db, at("GRUPO", 0, 0));
  addReference(*db, at("GRUPO", 500, 0));
  EXPECT_EQ(check(), (std::vector<std::string>{"X1.1:0", "X1.2:1"}));
  EXPECT_TRUE(catalogue.listedNames().empty()) << "not a symbol of model space";
}

TEST_F(SymbolPlacement, ASymbolInsideItsOwnBlockEndsTheCheck) {
  // A block that holds a reference of itself: nothing walks into it, so the
  // check reads each reference once and ends.
  const OdDbObjectId own = addBlock(*db, "PIN-R", {{"ID_PINO", "Pino"}});
  Reference inner = at("PIN-R", 1, 1, {{"ID_PINO", "2"}});
  inner.xdata = {"X1", "C", "S"};
  addReference(*db, inner, own);
  Reference outer = at("PIN-R", 70, 70, {{"ID_PINO", "1"}});
  outer.xdata = {"X1", "C", "S"};
  outer.layer = "ESQ";
  addReference(*db, outer);
  std::vector<std::string> found = check();
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{"X1.1:0", "X1.2:0"}));
  EXPECT_EQ(catalogue.listedNames(), std::vector<std::string>{"X1"});
}

TEST_F(SymbolPlacement, AReferenceToABlockThatDoesNotExistIsNoPin) {
  symbol("X1", "1", 10);
  symbol("X2", "1", 20);
  // In the file, the second reference names a block the drawing lacks.
  std::string text = db->dxfText();
  const std::size_t entities = text.find("ENTITIES\n");
  ASSERT_NE(entities, std::string::npos);
  const std::size_t first = text.find("  2\nPIN-A\n", entities);
  const std::size_t second = text.find("  2\nPIN-A\n", first + 1);
  ASSERT_NE(second, std::string::npos);
  text.replace(second, 10, "  2\nPIN-SUMIDO\n");
  open(OdDbDatabase::readDxfText(text, u("missing-block.dxf")));
  EXPECT_EQ(check(), (std::vector<std::string>{"X1.1:0", "X1.2:1"}));
  EXPECT_EQ(catalogue.listedNames(), std::vector<std::string>{"X1"});
}

TEST_F(SymbolPlacement, AnErasedPinBlockHasNoSymbols) {
  symbol("X1", "1", 10);
  const OdDbObjectId block = addBlock(*db, "PIN-B", {{"ID_PINO", "Pino"}});
  Reference r = at("PIN-B", 30, 30, {{"ID_PINO", "1"}});
  r.xdata = {"X2", "C", "S"};
  addReference(*db, r);
  block.safeOpenObject(OdDb::kForWrite)->erase();
  EXPECT_EQ(check(), (std::vector<std::string>{"X1.1:0", "X1.2:1"}));
}

}  // namespace
