// The pin check: which symbols are pins, missing and unknown pins, pairing of
// coinciding pins against the mating parts.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "drawing/CIPinos.h"
#include "drawing_builder.h"
#include "fake_catalogue.h"
#include "fake_host.h"

using namespace testing_support;

namespace {

// One pin as "identifier:status" (with "@handle" when asked), for comparisons.
std::vector<std::string> pinsOf(const zr::CEConectorPinos& r) {
  std::vector<std::string> out;
  for (const auto& p : r.GetPinos()) out.push_back(p->identifier.toUtf8() + ":" + std::to_string(p->status));
  return out;
}

class PinCheck : public ::testing::Test {
 protected:
  // A pin symbol on a drawn layer, away from the origin where the catalogue
  // pins without a symbol lie.
  OdDbObjectId pin(const std::string& block, const std::string& name, const std::string& code,
                   const std::string& id, double x, double y, const std::string& flag = "S") {
    OdDbBlockTablePtr table = db->getBlockTableId().safeOpenObject();
    if (!table->has(u(block.c_str()))) addBlock(*db, block, {{"ID_PINO", "Pino"}});
    Reference r = at(block, 100 + x, 100 + y, {{"ID_PINO", id}});
    r.xdata = {name, code, flag};
    r.layer = "ESQUEMA";
    return addReference(*db, r);
  }
  // The rows every test starts with: code C with pins 1 to 3, D with 1 and 2.
  static void fill(FakeCatalogue& c) {
    c.pins("C", {{"K1", "1", "P1"}, {"K2", "2", "P2"}, {"K3", "3", "P3"}});
    c.pins("D", {{"K4", "1", "Q1"}, {"K5", "2", "Q2"}});
  }
  void SetUp() override {
    host.open(db);
    fill(catalogue);
  }
  FakeHost host;
  OdDbDatabasePtr db = OdDbDatabase::createNew();
  FakeCatalogue catalogue;
};

TEST_F(PinCheck, OnlyBlocksWhoseNameStartsWithThePrefixArePins) {
  pin("PIN-A", "X1", "C", "1", 0, 0);
  pin("XPIN-A", "X2", "C", "1", 10, 0);
  pin("pin-b", "X3", "C", "1", 20, 0);
  EXPECT_EQ(catalogue.listedNames(), std::vector<std::string>{"X1"});
  zr::ConectoresPinos records = catalogue.check();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0]->GetNome().toUtf8(), "X1");
}

TEST_F(PinCheck, IgnoredLayersCountInTheCheckButNotInTheNameListing) {
  pin("PIN-A", "X1", "C", "1", 0, 0);
  Reference frozen = at("PIN-A", 5, 0, {{"ID_PINO", "1"}});
  frozen.xdata = {"X2", "C", "S"};
  frozen.layer = "zr_freeze";
  addReference(*db, frozen);
  Reference layer0 = frozen;
  layer0.layer = "0";
  layer0.xdata = {"X3", "C", "S"};
  addReference(*db, layer0);
  Reference twoValues = at("PIN-A", 9, 0, {{"ID_PINO", "1"}});
  twoValues.xdata = {"X4", "C"};
  twoValues.layer = "ESQ";
  addReference(*db, twoValues);
  Reference accented = frozen;
  accented.layer = "zr_freez\xC3\xA9";  // another layer, outside ASCII
  accented.xdata = {"X5", "C", "S"};
  addReference(*db, accented);
  // X2 is on "ZR_FREEZE" (in any case), X3 on "0".
  EXPECT_EQ(catalogue.listedNames(), (std::vector<std::string>{"X1", "X4", "X5"}));
  zr::ConectoresPinos records = catalogue.check();
  std::vector<std::string> found;
  for (auto& r : records) found.push_back(r->GetNome().toUtf8());
  EXPECT_EQ(found, (std::vector<std::string>{"X1", "X2", "X3", "X5"}));
}

TEST_F(PinCheck, TheNameListingNamesEachConnectorOnceInTheOrderFirstMet) {
  // An empty name first, names met again after others, and more names than
  // a small table holds (each met twice, apart): each listed once, where
  // first met.
  pin("PIN-A", "", "C", "1", -5, 0);
  pin("PIN-A", "X1", "C", "1", 0, 0);
  pin("PIN-A", "X2", "C", "1", 5, 0);
  pin("PIN-A", "X1", "C", "2", 10, 0);
  pin("PIN-A", "", "C", "2", 15, 0);
  pin("PIN-A", "X2", "C", "2", 20, 0);
  pin("PIN-A", "A-name-longer-than-a-short-string", "C", "1", 30, 0);
  std::vector<std::string> expected{"", "X1", "X2", "A-name-longer-than-a-short-string"};
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 300; ++i) {
      const std::string name = "N" + std::to_string(i);
      pin("PIN-A", name, "C", "1", 40 + i, 10 + round);
      if (round == 0) expected.push_back(name);
    }
  }
  pin("PIN-A", "A-name-longer-than-a-short-string", "C", "2", 35, 0);
  EXPECT_EQ(catalogue.listedNames(), expected);
}

TEST_F(PinCheck, MissingAndUnknownPinsFollowTheSymbolsInOrder) {
  pin("PIN-A", "X1", "C", "1", 0, 0);
  pin("PIN-A", "X1", "C", "4", 0, 5);
  zr::ConectoresPinos records = catalogue.check();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(pinsOf(*records[0]), (std::vector<std::string>{"1:0", "4:2", "2:1", "3:1"}));
  EXPECT_EQ(records[0]->GetEstado(), zr::CONECTOR_PINO_DESCONHECIDO);
  const zr::CEPino& missing = *records[0]->GetPinos()[2];
  EXPECT_TRUE(missing.handle.isEmpty());
  EXPECT_EQ(missing.pin.toUtf8(), "P2");
  EXPECT_EQ(missing.x, 0.0);
  EXPECT_EQ(records[0]->GetPinos()[0]->pin.toUtf8(), "P1");
  EXPECT_EQ(records[0]->GetFlagTexto().toUtf8(), "S");
}

// A catalogue that answers no parsed rows at all is taken as one that has
// none: every symbol's pin is unknown, and none is missing.
TEST_F(PinCheck, ACatalogueAnsweringNothingGivesUnknownPins) {
  catalogue.answerNoParsedRows();
  pin("PIN-A", "X1", "C", "1", 0, 0);
  pin("PIN-A", "X1", "C", "4", 0, 5);
  zr::ConectoresPinos records = catalogue.check();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(pinsOf(*records[0]), (std::vector<std::string>{"1:2", "4:2"}));
  EXPECT_EQ(records[0]->GetEstado(), zr::CONECTOR_PINO_DESCONHECIDO);
}

TEST_F(PinCheck, DuplicateCatalogueIdentifiersGiveOneMissingPin) {
  catalogue.pins("E", {{"K1", "1", "A"}, {"K2", "1", "B"}});
  pin("PIN-A", "X1", "E", "9", 0, 0);
  EXPECT_EQ(pinsOf(*catalogue.check()[0]), (std::vector<std::string>{"9:2", "1:1"}));
}

TEST_F(PinCheck, IdentifiersOfAnyLengthMatchOnlyTheirOwnRows) {
  // Identifiers up to four code units are compared within the index, longer
  // ones against their rows: both kinds, at the border between them, with
  // shared beginnings, repeated and outside ASCII.
  catalogue.pins("G", {{"K1", "1234", "A"},
                       {"K2", "12345", "B"},
                       {"K3", "123456", "C"},
                       {"K4", "12345", "D"},
                       {"K5", "\xC3\x89\xC3\x87", "E"},
                       {"K6", "\xC3\x89\xC3\x87\xC3\x83\xC3\x95\xC3\x9C", "F"},
                       {"K7", "123", "G"}});
  pin("PIN-A", "X1", "G", "12345", 0, 0);
  pin("PIN-B", "X1", "G", "1235", 0, 2);
  pin("PIN-C", "X1", "G", "\xC3\x89\xC3\x87\xC3\x83\xC3\x95\xC3\x9C", 0, 4);
  pin("PIN-D", "X1", "G", "1234", 0, 6);
  pin("PIN-E", "X1", "G", "12", 0, 8);
  pin("PIN-F", "X1", "G", "1234567", 0, 10);
  const zr::ConectoresPinos records = catalogue.check();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(pinsOf(*records[0]),
            (std::vector<std::string>{"12345:0", "1235:2", "\xC3\x89\xC3\x87\xC3\x83\xC3\x95\xC3\x9C:0", "1234:0",
                                      "12:2", "1234567:2", "123456:1", "\xC3\x89\xC3\x87:1", "123:1"}));
  std::vector<std::string> pinTexts;
  for (const auto& p : records[0]->GetPinos()) pinTexts.push_back(p->pin.toUtf8());
  // A repeated identifier matches its first row.
  EXPECT_EQ(pinTexts, (std::vector<std::string>{"B", "", "F", "A", "", "", "C", "E", "G"}));
}

TEST_F(PinCheck, IdentifiersAreComparedCaseSensitively) {
  catalogue.pins("F", {{"K1", "a", "A"}});
  pin("PIN-A", "X1", "F", "A", 0, 0);
  EXPECT_EQ(pinsOf(*catalogue.check()[0]), (std::vector<std::string>{"A:2", "a:1"}));
}

TEST_F(PinCheck, CoincidingPinsOfMatingPartsStayValid) {
  catalogue.mates("C", "D");
  pin("PIN-M", "X1", "C", "1", 10, 10);
  pin("PIN-F", "X2", "D", "1", 10.000009, 9.999991);
  zr::ConectoresPinos records = catalogue.check();
  ASSERT_EQ(records.size(), 2u);
  const zr::CEPino& a = *records[0]->GetPinos()[0];
  const zr::CEPino& b = *records[1]->GetPinos()[0];
  EXPECT_EQ(a.mate, &b);
  EXPECT_EQ(b.mate, &a);
  EXPECT_EQ(a.status, zr::PINO_OK);
  EXPECT_EQ(b.status, zr::PINO_OK);
}

TEST_F(PinCheck, CoincidingPinsThatMayNotMateAreInvalid) {
  pin("PIN-M", "X1", "C", "1", 10, 10);
  pin("PIN-F", "X2", "D", "1", 10, 10);
  zr::ConectoresPinos records = catalogue.check();
  EXPECT_EQ(records[0]->GetPinos()[0]->status, zr::PINO_LIGACAO_INVALIDA);
  EXPECT_EQ(records[1]->GetPinos()[0]->status, zr::PINO_LIGACAO_INVALIDA);
  EXPECT_EQ(records[0]->GetEstado(), zr::CONECTOR_LIGACAO_INVALIDA);
  EXPECT_EQ(records[1]->GetEstado(), zr::CONECTOR_LIGACAO_INVALIDA);
}

TEST_F(PinCheck, PinsPairOnlyStrictlyWithinTheTolerance) {
  // Positions whose difference is exactly 0.00001 in double arithmetic (such
  // as 0 and 0.00001) do not pair. The symbols are placed at exactly these
  // positions; each case lies apart from the others (and from the origin,
  // where missing pins lie) along the axis on which its two pins agree.
  struct Case {
    double x1, y1, x2, y2;
    bool paired;
  };
  std::vector<Case> cases = {
      {0, 0, 0.00001, 0, false},  {0.00001, 0, 0, 0, false},      {0, 0, 0, 0.00001, false},
      {0, 0.00001, 0, 0, false},  {-0.00001, 0, 0, 0, false},     {0, 0, 0.0000099999, 0, true},
      {0, 0, 0, 0, true},         {0, 0, 0, -0.0000099999, true}, {0.00001, 0, 1e-10, 0, true},
  };
  auto place = [&](const std::string& name, const std::string& code, double x, double y) {
    OdDbBlockTablePtr table = db->getBlockTableId().safeOpenObject();
    if (!table->has(u("PIN-A"))) addBlock(*db, "PIN-A", {{"ID_PINO", "Pino"}});
    Reference r = at("PIN-A", x, y, {{"ID_PINO", "1"}});
    r.xdata = {name, code, "S"};
    r.layer = "ESQUEMA";
    addReference(*db, r);
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    Case& c = cases[i];
    const double apart = 10.0 * static_cast<double>(i + 1);
    if (c.y1 == c.y2) {
      c.y1 += apart, c.y2 += apart;
    } else {
      c.x1 += apart, c.x2 += apart;
    }
    const bool boundary = std::fabs(c.x2 - c.x1) == 0.00001 || std::fabs(c.y2 - c.y1) == 0.00001;
    ASSERT_EQ(boundary, !c.paired) << "case " << i;
    place("A" + std::to_string(i), "C", c.x1, c.y1);
    place("B" + std::to_string(i), "D", c.x2, c.y2);
  }
  zr::ConectoresPinos records = catalogue.check();
  std::map<std::string, const zr::CEPino*> symbolOf;
  for (const auto& r : records) symbolOf[r->GetNome().toUtf8()] = r->GetPinos()[0].get();
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    const zr::CEPino* a = symbolOf.at("A" + std::to_string(i));
    const zr::CEPino* b = symbolOf.at("B" + std::to_string(i));
    const std::string where = "case " + std::to_string(i) + ": " + std::to_string(c.x1) + "," +
                              std::to_string(c.y1) + " / " + std::to_string(c.x2) + "," + std::to_string(c.y2);
    EXPECT_EQ(a->x, c.x1) << where;
    EXPECT_EQ(b->x, c.x2) << where;
    EXPECT_EQ(a->mate, c.paired ? b : nullptr) << where;
    EXPECT_EQ(b->mate, c.paired ? a : nullptr) << where;
    EXPECT_EQ(a->status, c.paired ? zr::PINO_LIGACAO_INVALIDA : zr::PINO_OK) << where;
  }
}

TEST_F(PinCheck, ASymbolAtTheOriginTouchesTheMissingPinsOfItsInstance) {
  // Catalogue pins without a symbol lie at 0,0: a symbol there coincides with
  // them, and a connector may not connect to itself.
  addPin(*db, "PIN-A", "X1", "C", "1", 0, 0);
  zr::ConectoresPinos records = catalogue.check();
  EXPECT_EQ(pinsOf(*records[0]), (std::vector<std::string>{"1:3", "2:3", "3:3"}));
  EXPECT_EQ(records[0]->GetEstado(), zr::CONECTOR_LIGACAO_INVALIDA);
}

TEST_F(PinCheck, ASymbolTouchingItsOwnConnectorIsInvalid) {
  catalogue.mates("C", "C");
  pin("PIN-M", "X1", "C", "1", 3, 3);
  pin("PIN-M", "X1", "C", "2", 3, 3);
  zr::ConectoresPinos records = catalogue.check();
  EXPECT_EQ(pinsOf(*records[0]), (std::vector<std::string>{"1:3", "2:3", "3:1"}));
}

TEST_F(PinCheck, OneNameInTwoPinBlocksIsOneRecord) {
  pin("PIN-M", "X1", "C", "1", 0, 0);
  pin("PIN-F", "X1", "C", "2", 0, 5);
  zr::ConectoresPinos records = catalogue.check();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(pinsOf(*records[0]), (std::vector<std::string>{"1:0", "2:0", "3:1"}));
}

TEST_F(PinCheck, InterleavedSymbolsOfTwoConnectorsJoinTheirOwnRecords) {
  pin("PIN-M", "X1", "C", "1", 0, 0);
  pin("PIN-M", "X2", "D", "1", 0, 5);
  pin("PIN-M", "X1", "C", "2", 0, 10);
  pin("PIN-M", "X2", "D", "2", 0, 15);
  pin("PIN-M", "X1", "D", "2", 0, 20);
  zr::ConectoresPinos records = catalogue.check();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0]->GetNome().toUtf8(), "X1");
  EXPECT_EQ(pinsOf(*records[0]), (std::vector<std::string>{"1:0", "2:0", "2:0", "3:1"}));
  EXPECT_EQ(records[1]->GetNome().toUtf8(), "X2");
  EXPECT_EQ(pinsOf(*records[1]), (std::vector<std::string>{"1:0", "2:0"}));
}

TEST_F(PinCheck, AConnectorMetAgainAfterAnotherUsesTheCodeOfEachOfItsSymbols) {
  catalogue.pins("E", {{"K6", "9", "R9"}});
  pin("PIN-M", "X1", "C", "1", 0, 0);
  pin("PIN-M", "X2", "D", "1", 0, 5);
  pin("PIN-M", "X1", "E", "9", 0, 10);  // known in E only
  pin("PIN-M", "X2", "D", "2", 0, 15);
  pin("PIN-M", "X1", "C", "3", 0, 20);  // known in C only, after symbols of D and E
  zr::ConectoresPinos records = catalogue.check();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0]->GetCodigo().toUtf8(), "C");
  EXPECT_EQ(pinsOf(*records[0]), (std::vector<std::string>{"1:0", "9:0", "3:0", "2:1"}));
  EXPECT_EQ(pinsOf(*records[1]), (std::vector<std::string>{"1:0", "2:0"}));
}

TEST_F(PinCheck, TheFirstAttributeWithThePinTagGivesTheIdentifier) {
  addBlock(*db, "PIN-T", {{"ID_PINO", ""}, {"id_pino", ""}});
  Reference r = at("PIN-T", 50, 50, {{"Id_Pino", "2"}, {"ID_PINO", "1"}});
  r.xdata = {"X1", "C", "S"};
  addReference(*db, r);
  EXPECT_EQ(pinsOf(*catalogue.check()[0]), (std::vector<std::string>{"2:0", "1:1", "3:1"}));
}

TEST_F(PinCheck, TheFirstSymbolGivesTheRecordItsCodeAndFlagButEachSymbolUsesItsOwnCode) {
  pin("PIN-M", "X1", "C", "1", 0, 0, "n");
  pin("PIN-M", "X1", "D", "2", 0, 5, "S");
  zr::ConectoresPinos records = catalogue.check();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0]->GetCodigo().toUtf8(), "C");
  EXPECT_FALSE(records[0]->GetFlag());
  // "2" is a pin of D, so it is known although the record's code is C.
  EXPECT_EQ(pinsOf(*records[0]), (std::vector<std::string>{"1:0", "2:0", "3:1"}));
}

TEST_F(PinCheck, EachCodeIsQueriedOncePerKind) {
  catalogue.mates("C", "D");
  for (int i = 0; i < 5; ++i) {
    pin("PIN-M", "X" + std::to_string(i), "C", "1", i * 10.0, 0);
    pin("PIN-F", "Y" + std::to_string(i), "D", "1", i * 10.0, 0);
  }
  catalogue.check();
  EXPECT_EQ(catalogue.rowQueries, (std::map<std::string, int>{{"C", 1}, {"D", 1}}));
  EXPECT_EQ(catalogue.matingQueries, (std::map<std::string, int>{{"C", 1}, {"D", 1}}));
}

TEST_F(PinCheck, RowsAreAskedInTheOrderTheSymbolsMeetTheirCodesAheadOfTimeOrNot) {
  // Block by block: PIN-A meets E (X2), C (X1), then D on a symbol of X1;
  // PIN-B meets F on X2, whose code is E.
  catalogue.pins("E", {{"K6", "9", "R9"}});
  catalogue.pins("F", {{"K7", "7", "S7"}});
  pin("PIN-A", "X2", "E", "9", 0, 0);
  pin("PIN-A", "X1", "C", "1", 0, 5);
  pin("PIN-A", "X1", "D", "2", 0, 10);
  pin("PIN-B", "X2", "F", "7", 0, 15);
  pin("PIN-B", "X1", "C", "3", 0, 20);
  const std::vector<std::string> met = {"E", "C", "D", "F"};
  std::vector<std::vector<std::string>> now;
  for (const auto& r : catalogue.check()) now.push_back(pinsOf(*r));
  EXPECT_EQ(catalogue.rowOrder, met);
  EXPECT_EQ(now, (std::vector<std::vector<std::string>>{{"9:0", "7:0"}, {"1:0", "2:0", "3:0"}}));

  // Asked ahead in the same order; the results the same.
  FakeCatalogue ahead;
  fill(ahead);
  ahead.pins("E", {{"K6", "9", "R9"}});
  ahead.pins("F", {{"K7", "7", "S7"}});
  ahead.readAhead();
  std::vector<std::vector<std::string>> later;
  for (const auto& r : ahead.check()) later.push_back(pinsOf(*r));
  EXPECT_EQ(ahead.prefetched, met);
  EXPECT_EQ(later, now);
  EXPECT_EQ(ahead.rowQueries, (std::map<std::string, int>{{"C", 1}, {"D", 1}, {"E", 1}, {"F", 1}}));
}

TEST_F(PinCheck, AFailedMatingQueryEndsTheCheck) {
  catalogue.failMatingQueries();
  pin("PIN-M", "X1", "C", "1", 0, 0);
  pin("PIN-F", "X2", "D", "1", 0, 0);
  zr::ConectoresPinos records;
  EXPECT_THROW(CIPinos(&catalogue).VerificarPinos(records), std::runtime_error);
}

TEST_F(PinCheck, ThePinTagComesFromTheHostVariable) {
  host.script().setString("*ZRATTPINO*", "PINO");
  addBlock(*db, "PIN-T", {{"PINO", ""}});
  Reference r = at("PIN-T", 50, 50, {{"pino", " 2 "}});
  r.xdata = {"X1", "C", "S"};
  addReference(*db, r);
  pin("PIN-A", "X1", "C", "1", 0, 9);  // its tag ID_PINO is not the pin tag now
  EXPECT_EQ(pinsOf(*catalogue.check()[0]), (std::vector<std::string>{"2:0", "1:1", "3:1"}));
}

// A tag is upper-cased in full before it is compared: a tag outside ASCII
// may name the pin tag ("Ä±", dotless i, upper-cases to "I"), and a pin
// tag outside ASCII is found whatever the case of its letters.
TEST_F(PinCheck, TagsOutsideAsciiAreUpperCasedInFull) {
  addBlock(*db, "PIN-T", {{"ID_PINO", ""}});
  Reference r = at("PIN-T", 50, 50, {{"\xC4\xB1" "d_pino", "2"}});
  r.xdata = {"X1", "C", "S"};
  addReference(*db, r);
  zr::ConectoresPinos found = catalogue.check();
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(pinsOf(*found[0]), (std::vector<std::string>{"2:0", "1:1", "3:1"}));

  host.script().setString("*ZRATTPINO*", "p\xC3\xADno");  // "pino" with an acute i
  addBlock(*db, "PIN-U", {{"P\xC3\x8DNO", ""}});
  Reference s = at("PIN-U", 60, 50, {{"P\xC3\x8DNO", "1"}});
  s.xdata = {"X2", "C", "S"};
  addReference(*db, s);
  zr::ConectoresPinos records = catalogue.check();
  ASSERT_EQ(records.size(), 1u);  // the ID_PINO tag of X1 is not the pin tag now
  EXPECT_EQ(records[0]->GetNome().toUtf8(), "X2");
  EXPECT_EQ(pinsOf(*records[0]), (std::vector<std::string>{"1:0", "2:1", "3:1"}));
}

// Symbols join their records by name whatever the name's letters: among
// ASCII names, names outside ASCII keep records of their own, "\xC3\xA9"
// (whose UTF-8 bytes C3 A9 are the code units of the other name) apart from
// "\xC3\x83\xC2\xA9".
TEST_F(PinCheck, NamesOutsideAsciiKeepTheirOwnRecords) {
  pin("PIN-M", "\xC3\xA9", "C", "1", 0, 0);
  pin("PIN-M", "X1", "C", "1", 0, 5);
  pin("PIN-M", "\xC3\x83\xC2\xA9", "D", "1", 0, 10);
  pin("PIN-M", "\xC3\xA9", "C", "2", 0, 15);
  pin("PIN-M", "X1", "C", "2", 0, 20);
  pin("PIN-M", "\xC3\x83\xC2\xA9", "D", "2", 0, 25);
  zr::ConectoresPinos records = catalogue.check();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0]->GetNome().toUtf8(), "\xC3\xA9");
  EXPECT_EQ(pinsOf(*records[0]), (std::vector<std::string>{"1:0", "2:0", "3:1"}));
  EXPECT_EQ(records[1]->GetNome().toUtf8(), "X1");
  EXPECT_EQ(pinsOf(*records[1]), (std::vector<std::string>{"1:0", "2:0", "3:1"}));
  EXPECT_EQ(records[2]->GetNome().toUtf8(), "\xC3\x83\xC2\xA9");
  EXPECT_EQ(pinsOf(*records[2]), (std::vector<std::string>{"1:0", "2:0"}));
}

// Block by block, each symbol comes among those of every other connector:
// each of many connectors still gathers its own pins, under its own code.
TEST_F(PinCheck, ManyConnectorsMetBlockByBlockEachGatherTheirPins) {
  const int kConnectors = 300;
  for (int n = 1; n <= 3; ++n)
    for (int k = 0; k < kConnectors; ++k)
      pin("PIN-" + std::to_string(n), "X" + std::to_string(k), k % 2 ? "C" : "D", std::to_string(n), k * 10.0, n);
  zr::ConectoresPinos records = catalogue.check();
  ASSERT_EQ(records.size(), static_cast<std::size_t>(kConnectors));
  for (int k = 0; k < kConnectors; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(records[k]->GetNome().toUtf8(), "X" + std::to_string(k));
    EXPECT_EQ(records[k]->GetCodigo().toUtf8(), k % 2 ? "C" : "D");
    // D has no pin 3: the symbol that carries it is unknown.
    EXPECT_EQ(pinsOf(*records[k]), (std::vector<std::string>{"1:0", "2:0", k % 2 ? "3:0" : "3:2"}));
  }
}

TEST_F(PinCheck, ErasedSymbolsAreSkipped) {
  OdDbObjectId erased = pin("PIN-A", "X1", "C", "1", 0, 0);
  pin("PIN-A", "X1", "C", "2", 0, 5);
  erased.openObject(OdDb::kForWrite)->erase();
  EXPECT_EQ(pinsOf(*catalogue.check()[0]), (std::vector<std::string>{"2:0", "1:1", "3:1"}));
}

}  // namespace
