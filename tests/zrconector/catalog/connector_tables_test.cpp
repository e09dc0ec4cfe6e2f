// Reads of pins (BDPINOS) and mating pairs (BDCONTRAPECAS).

#include <set>

#include "catalogue_fixture.h"

namespace {

using zrtest::CatalogueTest;
using zrtest::Entries;
using zrtest::Sorted;
using Strings = std::vector<std::string>;

class ConnectorTables : public CatalogueTest {
 protected:
  void SetUp() override {
    CatalogueTest::SetUp();
    if (IsSkipped()) return;
    // Pins with blanks around values and a NULL identifier; mating pairs
    // given in both directions.
    RunDirect(
        u"INSERT INTO BDPINOS (PINO_KEY, PINO_CONECTOR, PINO_PINO, PINO_ID) VALUES "
        u"('TK1', 'TCON1', 'P1', '  A1 '), ('TK2', 'TCON1', 'P2', NULL), (' TK3  ', 'TCON1', ' P3 ', 'ID3'), "
        u"('TK4', 'TCON2', 'P1', 'X')");
    RunDirect(
        u"INSERT INTO BDCONTRAPECAS (CONTRA_KEY, CONTRA_CON_A, CONTRA_CON_B) VALUES "
        u"('TC1', 'TMA', 'TMB'), ('TC2', 'TMB', 'TMA'), ('TC3', 'TMA', 'TMC'), ('TC4', 'TMD', 'TMA'), "
        u"('TC5', 'TMB', 'TMC')");
    OpenCatalogue();
  }
  void TearDown() override {
    EXPECT_TRUE(boxes.shown().empty()) << "unexpected box: " << BoxTexts().front();
    CatalogueTest::TearDown();
  }
};

TEST_P(ConnectorTables, PinKeysOfAConnectorComeInTheDatabasesOrder) {
  const std::u16string statement = u"SELECT PINO_KEY FROM BDPINOS WHERE PINO_CONECTOR='TCON1'";
  Strings keys = Entries(bd().GetPinosConector(u"TCON1"));
  EXPECT_EQ(keys, ColumnDirect(statement));
  EXPECT_EQ(Sorted(keys), (Strings{"TK1", "TK2", "TK3"}));
}

TEST_P(ConnectorTables, PinRowsArePackedWithAFormFeedEndingEveryField) {
  Strings rows = Entries(bd().GetLinhasPinosConector(u"TCON1"));
  // Trimmed fields; a NULL identifier leaves the middle field empty.
  EXPECT_EQ(Sorted(rows), (Strings{"TK1\fA1\fP1\f", "TK2\f\fP2\f", "TK3\fID3\fP3\f"}));
  EXPECT_EQ(Entries(bd().GetLinhasPinosConector(u"TCON2")), Strings{"TK4\fX\fP1\f"});
}

TEST_P(ConnectorTables, AConnectorWithoutPinsGivesAnEmptyList) {
  for (const char16_t* code : {u"SEMPINO", u"", u"tcon1"}) {  // codes compare exactly
    CStringList* keys = bd().GetPinosConector(code);
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(keys->GetCount(), 0);
    EXPECT_EQ(keys->BlockSize(), 10);
    delete keys;
    CStringList* rows = bd().GetLinhasPinosConector(code);
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(rows->GetCount(), 0);
    delete rows;
  }
}

TEST_P(ConnectorTables, IdentifierAndNameOfAPinKey) {
  EXPECT_EQ(bd().GetIdPino(u"TK1").ToUtf8(), "A1");
  EXPECT_EQ(bd().GetIdPino(u"TK2").ToUtf8(), "");  // NULL
  EXPECT_EQ(bd().GetNomePino(u"TK1").ToUtf8(), "P1");
  EXPECT_EQ(bd().GetNomePino(u" TK3  ").ToUtf8(), "P3");
  // A key that matches no row.
  EXPECT_EQ(bd().GetIdPino(u"NADA").ToUtf8(), "");
  EXPECT_EQ(bd().GetNomePino(u"NADA").ToUtf8(), "");
  EXPECT_EQ(bd().GetNomePino(u"TK3").ToUtf8(), "");  // the key is compared as stored
}

TEST_P(ConnectorTables, MatingPartsCountBothDirectionsOnce) {
  // (TMA, TMB) and (TMB, TMA) both exist: TMB comes once.
  EXPECT_EQ(Sorted(Entries(bd().GetContraPecas(u"TMA"))), (Strings{"TMB", "TMC", "TMD"}));
  EXPECT_EQ(Sorted(Entries(bd().GetContraPecas(u"TMC"))), (Strings{"TMA", "TMB"}));
  EXPECT_EQ(Entries(bd().GetContraPecas(u"TMD")), Strings{"TMA"});
  CStringList* none = bd().GetContraPecas(u"TCON1");
  ASSERT_NE(none, nullptr);
  EXPECT_EQ(none->GetCount(), 0);
  delete none;
}

TEST_P(ConnectorTables, PinsOfMatingPartsAreEveryOtherConnectorsPinNames) {
  // The two tables are not related: any pair with TMA admits the distinct
  // pin names of every connector but TMA.
  Strings names = Entries(bd().GetPinosContraPecas(u"TMA"));
  EXPECT_EQ(Sorted(names), Sorted(ColumnDirect(u"SELECT DISTINCT PINO_PINO FROM BDPINOS WHERE PINO_CONECTOR <> 'TMA'")));
  for (const char* name : {"P1", "P2", "P3"}) EXPECT_EQ(std::count(names.begin(), names.end(), name), 1) << name;
  // Without a mating pair there is nothing.
  CStringList* none = bd().GetPinosContraPecas(u"TCON1");
  ASSERT_NE(none, nullptr);
  EXPECT_EQ(none->GetCount(), 0);
  delete none;
}

TEST_P(ConnectorTables, TheExampleCatalogueReadsLikeTheTablesSay) {
  // Every connector of the example: its packed rows match its pin keys, one
  // for one, and a NULL identifier gives an empty middle field.
  for (const std::string& code : ColumnDirect(u"SELECT DISTINCT PINO_CONECTOR FROM BDPINOS")) {
    SCOPED_TRACE(code);
    const CString x = CString::FromUtf8(code);
    Strings keys = Entries(bd().GetPinosConector(x));
    Strings rows = Entries(bd().GetLinhasPinosConector(x));
    ASSERT_EQ(rows.size(), keys.size());
    for (size_t i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(rows[i].substr(0, keys[i].size() + 1), keys[i] + "\f");
      EXPECT_EQ(std::count(rows[i].begin(), rows[i].end(), '\f'), 3);
      EXPECT_EQ(rows[i].back(), '\f');
    }
  }
}

// Several connectors' pin rows read by one statement are each connector's
// own, as its own statement gives them, in the order asked.
TEST_P(ConnectorTables, PinRowsOfSeveralConnectorsReadTogetherAreEachConnectorsOwn) {
  std::vector<CString> codes;
  for (const std::string& code : ColumnDirect(u"SELECT DISTINCT PINO_CONECTOR FROM BDPINOS"))
    codes.push_back(CString::FromUtf8(code));
  codes.push_back(u"SEMPINO");
  codes.push_back(u"");
  codes.push_back(u"tcon1");  // codes compare exactly
  std::vector<LPCTSTR> asked;
  for (const CString& code : codes) asked.push_back(code);
  std::vector<std::unique_ptr<CStringList>> lists;
  ASSERT_TRUE(bd().GetLinhasPinosConectores(asked, lists));
  ASSERT_EQ(lists.size(), codes.size());
  std::size_t rows = 0;
  for (std::size_t c = 0; c < codes.size(); ++c) {
    SCOPED_TRACE(codes[c].ToUtf8());
    const Strings together = Entries(lists[c].release());
    EXPECT_EQ(together, Entries(bd().GetLinhasPinosConector(codes[c])));
    rows += together.size();
  }
  EXPECT_EQ(std::to_string(rows), ColumnDirect(u"SELECT COUNT(*) FROM BDPINOS").front());
}

// What one statement cannot tell apart, or cannot run, is refused without a
// box and without the schema's upgrade: the caller asks code by code.
TEST_P(ConnectorTables, PinRowsThatCannotBeReadTogetherAreRefusedQuietly) {
  // A code with blanks at its ends, which its rows' code (read trimmed)
  // no longer shows.
  RunDirect(u"INSERT INTO BDPINOS (PINO_KEY, PINO_CONECTOR, PINO_PINO, PINO_ID) VALUES ('TK5', ' TBL ', 'P1', '1')");
  EXPECT_EQ(Entries(bd().GetLinhasPinosConector(u" TBL ")), Strings{"TK5\f1\fP1\f"});
  std::vector<std::unique_ptr<CStringList>> lists;
  const std::vector<std::vector<LPCTSTR>> refused = {
      {u"TCON1", u" TBL "},
      // A quote: its own statement fails, with its box. Run together, this
      // one would give TCON2's rows as the asked code's, and pass.
      {u"TCON2", u"X') OR PINO_CONECTOR IN ('TCON2"},
      {u"TCON1", u"TCON2", u"TCON1"},
  };
  for (const std::vector<LPCTSTR>& codes : refused) EXPECT_FALSE(bd().GetLinhasPinosConectores(codes, lists));
  std::vector<LPCTSTR> good = {u"TCON2", u"TCON1"};
  ASSERT_TRUE(bd().GetLinhasPinosConectores(good, lists));
  EXPECT_EQ(Entries(lists[0].release()), Strings{"TK4\fX\fP1\f"});
  RunDirect(u"DROP TABLE BDPINOS");
  EXPECT_FALSE(bd().GetLinhasPinosConectores(good, lists));
  EXPECT_FALSE(bd().TableExists(u"BDPINOS"));  // not upgraded
}

// Several connectors' mating codes read by one statement are each
// connector's own, as its own statement gives them (in any order), pairs
// counting both ways and each code once.
TEST_P(ConnectorTables, MatingPartsOfSeveralConnectorsReadTogetherAreEachConnectorsOwn) {
  const std::vector<LPCTSTR> asked = {u"TMA", u"TMB", u"TMC", u"TMD", u"TCON1", u"tma", u""};
  std::vector<std::unique_ptr<CStringList>> lists;
  ASSERT_TRUE(bd().GetContraPecasConectores(asked, lists));
  ASSERT_EQ(lists.size(), asked.size());
  for (std::size_t c = 0; c < asked.size(); ++c) {
    SCOPED_TRACE(CString(asked[c]).ToUtf8());
    const Strings together = Entries(lists[c].release());
    EXPECT_EQ(Sorted(together), Sorted(Entries(bd().GetContraPecas(asked[c]))));
    EXPECT_EQ(std::set<std::string>(together.begin(), together.end()).size(), together.size()) << "each code once";
  }
}

TEST_P(ConnectorTables, MatingPartsThatCannotBeReadTogetherAreRefusedQuietly) {
  // A code with blanks at its ends, which the pair's code (read trimmed) no
  // longer shows.
  RunDirect(u"INSERT INTO BDCONTRAPECAS (CONTRA_KEY, CONTRA_CON_A, CONTRA_CON_B) VALUES ('TC6', ' TBL ', 'TMA')");
  EXPECT_EQ(Entries(bd().GetContraPecas(u" TBL ")), Strings{"TMA"});
  std::vector<std::unique_ptr<CStringList>> lists;
  const std::vector<std::vector<LPCTSTR>> refused = {
      {u"TMA", u" TBL "},
      {u"TMB", u"X') OR CONTRA_CON_A IN ('TMB"},
      {u"TMA", u"TMB", u"TMA"},
  };
  for (const std::vector<LPCTSTR>& codes : refused) EXPECT_FALSE(bd().GetContraPecasConectores(codes, lists));
  const std::vector<LPCTSTR> good = {u"TMD", u"TMC"};
  ASSERT_TRUE(bd().GetContraPecasConectores(good, lists));
  EXPECT_EQ(Entries(lists[0].release()), Strings{"TMA"});
  RunDirect(u"DROP TABLE BDCONTRAPECAS");
  EXPECT_FALSE(bd().GetContraPecasConectores(good, lists));
  EXPECT_FALSE(bd().TableExists(u"BDCONTRAPECAS"));  // not upgraded
}

INSTANTIATE_TEST_SUITE_P(Drivers, ConnectorTables, zrtest::AllBackends(), zrtest::BackendName);

}  // namespace
