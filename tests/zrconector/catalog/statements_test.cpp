// Running statements: fields as text, single values, the one error box of a
// failing statement, and the schema upgrade that runs before the retry.

#include "catalogue_fixture.h"
#include "zrado/adox.h"

namespace {

using zrtest::CatalogueTest;
using zrtest::ComErrorOf;

class Statements : public CatalogueTest {
 protected:
  void SetUp() override {
    CatalogueTest::SetUp();
    if (IsSkipped()) return;
    OpenCatalogue();
  }
  bool HasTable(const std::string& upperName) { return RowCounts().count(upperName) == 1; }
  // The type name and size of a column, as the test's own connection sees them.
  std::pair<std::string, long> ColumnType(const char16_t* table, const char16_t* column) {
    ADOX::_CatalogPtr catalog;
    catalog.CreateInstance(ADOX::CLSID_Catalog);
    catalog->PutActiveConnection(_variant_t(static_cast<IDispatch*>(direct().GetInterfacePtr())));
    ADOX::TablesPtr tables = catalog->GetTables();
    for (LONG t = 0; t < tables->GetCount(); ++t) {
      if (CString(tables->GetItem(t)->GetName().str()).CompareNoCase(table) != 0) continue;
      ADOX::ColumnsPtr columns = tables->GetItem(t)->GetColumns();
      for (LONG c = 0; c < columns->GetCount(); ++c) {
        ADOX::_ColumnPtr col = columns->GetItem(c);
        if (CString(col->GetName().str()).CompareNoCase(column) != 0) continue;
        // The type without its size: drivers name it "char" or "char(1)".
        std::string type = CString(col->GetTypeName().str()).MakeLower().ToUtf8();
        return {type.substr(0, type.find('(')), col->GetDefinedSize()};
      }
    }
    return {"(missing)", 0};
  }
  const char* Text(const char* forFile, const char* forServer) const { return sqlite() ? forFile : forServer; }
};

TEST_P(Statements, FieldsReadAsTrimmedTextWithNullAsEmpty) {
  RunDirect(u"CREATE TABLE TSTCAMPOS (K integer, T varchar(20), C char(6), N integer)");
  RunDirect(u"INSERT INTO TSTCAMPOS (K, T, C, N) VALUES (1, '  A1 ', 'B2', 42)");
  RunDirect(u"INSERT INTO TSTCAMPOS (K, T, C, N) VALUES (2, NULL, NULL, NULL)");
  RunDirect(u"INSERT INTO TSTCAMPOS (K, T, C, N) VALUES (3, '\t X\r\n', '', -7)");
  _RecordsetPtr rs = bd().OpenRecordset(u"SELECT T, C, N FROM TSTCAMPOS ORDER BY K", true);
  ASSERT_NE(rs, nullptr);
  const std::vector<std::vector<std::string>> expected = {{"A1", "B2", "42"}, {"", "", ""}, {"X", "", "-7"}};
  for (const auto& row : expected) {
    ASSERT_FALSE(rs->GetadoEOF());
    for (int i = 0; i < 3; ++i) EXPECT_EQ(bd().FieldAsText(rs, i).ToUtf8(), row[i]) << "field " << i;
    EXPECT_EQ(bd().FieldAsText(rs, -1).ToUtf8(), "");
    EXPECT_EQ(bd().FieldAsText(rs, 3).ToUtf8(), "");  // no such field
    rs->MoveNext();
  }
  ASSERT_TRUE(rs->GetadoEOF());
  EXPECT_EQ(bd().FieldAsText(rs, 0).ToUtf8(), "");
  EXPECT_EQ(bd().FieldAsText(nullptr, 0).ToUtf8(), "");
  rs->Close();
  EXPECT_EQ(bd().FieldAsText(rs, 0).ToUtf8(), "");  // a closed recordset reads as nothing
  EXPECT_TRUE(boxes.shown().empty());
}

TEST_P(Statements, QueryValueIsTheFirstRowsFirstFieldOrEmpty) {
  EXPECT_EQ(bd().QueryValue(u"SELECT MENU_DESCR, MENU_NIVEL FROM BDMENUS WHERE MENU_KEY = '10'").ToUtf8(),
            "Circulares");
  EXPECT_EQ(bd().QueryValue(u"SELECT MENU_DESCR FROM BDMENUS WHERE MENU_KEY = 'nada'").ToUtf8(), "");
  EXPECT_TRUE(boxes.shown().empty());
}

TEST_P(Statements, AFailingStatementShowsOneBoxAfterTheUpgradeAndRetry) {
  ASSERT_FALSE(HasTable("BDTIPOCOMP"));
  EXPECT_EQ(bd().OpenRecordset(u"SELECT NADA FROM BDPINOS", true), nullptr);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"SQL ERROR: SELECT NADA FROM BDPINOS"});
  EXPECT_EQ(boxes.shown()[0].buttons(), MB_OK);
  // The upgrade ran although the failure had another cause.
  EXPECT_TRUE(HasTable("BDTIPOCOMP"));
  // Again: the upgrade finds nothing to add, so still one box per statement.
  EXPECT_EQ(bd().OpenRecordset(u"SELECT NADA FROM BDPINOS", true), nullptr);
  EXPECT_EQ(boxes.shown().size(), 2u);
}

TEST_P(Statements, WithoutUpgradeAndRetryAFailureShowsItsBoxAndChangesNothing) {
  EXPECT_EQ(bd().OpenRecordset(u"SELECT COMP_KEY FROM BDTIPOCOMP", false), nullptr);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"SQL ERROR: SELECT COMP_KEY FROM BDTIPOCOMP"});
  EXPECT_FALSE(HasTable("BDTIPOCOMP"));
}

TEST_P(Statements, BdTipoCompIsCreatedBeforeTheRetry) {
  // The first attempt fails only because the table is missing; the upgrade
  // creates it, so the retry succeeds and no box is shown.
  _RecordsetPtr rs = bd().OpenRecordset(u"SELECT COMP_KEY, TIPO_KEY FROM BDTIPOCOMP", true);
  ASSERT_NE(rs, nullptr);
  EXPECT_TRUE(rs->GetadoEOF());
  EXPECT_TRUE(boxes.shown().empty());
}

TEST_P(Statements, TheUpgradeAddsEveryMissingPieceWithTheProvidersTypes) {
  bd().UpgradeSchema();
  EXPECT_TRUE(boxes.shown().empty());
  for (const char* table : {"BDTIPOCOMP", "BDCABO", "BDCFORMA", "BDCMENUS", "BDEQUIP"})
    EXPECT_TRUE(HasTable(table)) << table;
  EXPECT_TRUE(bd().ColumnExists(u"BDVINCL", u"VL_USAR_REP"));
  EXPECT_TRUE(bd().ColumnExists(u"BDGP", u"GP_OCULTO"));
  EXPECT_TRUE(bd().ColumnExists(u"BDWIRE", u"WIRE_SEG"));
  EXPECT_TRUE(bd().ColumnExists(u"BDEQUIP", u"EQU_INC"));
  // char(n) in the file catalogue, varchar(n) on a server.
  const std::string type = Text("char", "varchar");
  EXPECT_EQ(ColumnType(u"BDVINCL", u"VL_USAR_REP"), std::make_pair(type, 1L));
  EXPECT_EQ(ColumnType(u"BDGP", u"GP_OCULTO"), std::make_pair(type, 1L));
  EXPECT_EQ(ColumnType(u"BDWIRE", u"WIRE_SEG"), std::make_pair(type, 6L));
  EXPECT_EQ(ColumnType(u"BDTIPOCOMP", u"COMP_KEY"), std::make_pair(std::string("varchar"), 6L));
  // Everything is there now: a second upgrade runs no statement.
  const auto counts = RowCounts();
  bd().UpgradeSchema();
  EXPECT_TRUE(boxes.shown().empty());
  EXPECT_EQ(RowCounts(), counts);
}

TEST_P(Statements, AFailingUpgradeStepEndsTheUpgradeWithItsOwnBox) {
  // Without BDVINCL the first step's ALTER TABLE fails; it must not start
  // another upgrade, and the steps after it do not run.
  RunDirect(u"DROP TABLE BDVINCL");
  EXPECT_EQ(bd().OpenRecordset(u"SELECT NADA FROM BDPINOS", true), nullptr);
  const std::vector<std::string> expected = {
      std::string("SQL ERROR: ALTER TABLE BDVINCL ADD  VL_USAR_REP ") + Text("char(1) ", "varchar(1) "),
      "SQL ERROR: SELECT NADA FROM BDPINOS"};
  EXPECT_EQ(BoxTexts(), expected);
  EXPECT_FALSE(HasTable("BDTIPOCOMP"));
}

TEST_P(Statements, ExecuteRunsAStatementAndRaisesAPointerErrorWhenItFails) {
  bd().Execute(u"CREATE TABLE TSTEXEC (A varchar(2))");
  bd().Execute(u"INSERT INTO TSTEXEC (A) VALUES ('x')");
  EXPECT_EQ(zrtest::CatalogueTest::ColumnDirect(u"SELECT A FROM TSTEXEC"), std::vector<std::string>{"x"});
  EXPECT_TRUE(boxes.shown().empty());
  EXPECT_EQ(ComErrorOf([&] { bd().Execute(u"INSERT INTO TSTNADA (A) VALUES ('x')"); }), E_POINTER);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"SQL ERROR: INSERT INTO TSTNADA (A) VALUES ('x')"});
}

TEST_P(Statements, QueryValueOfAFailingStatementIsAPointerError) {
  EXPECT_EQ(ComErrorOf([&] { bd().QueryValue(u"SELECT NADA FROM BDMENUS"); }), E_POINTER);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"SQL ERROR: SELECT NADA FROM BDMENUS"});
}

TEST_P(Statements, TablesAndColumnsAreFoundIgnoringCase) {
  for (const char16_t* name : {u"BDPINOS", u"bdpinos", u"BdPinos"}) EXPECT_TRUE(bd().TableExists(name));
  EXPECT_FALSE(bd().TableExists(u"BDPINO"));
  EXPECT_FALSE(bd().TableExists(u""));
  EXPECT_TRUE(bd().ColumnExists(u"bdpinos", u"pino_id"));
  EXPECT_TRUE(bd().ColumnExists(u"BDCONTRAPECAS", u"Contra_Con_B"));
  EXPECT_FALSE(bd().ColumnExists(u"BDPINOS", u"PINO_NADA"));
  EXPECT_FALSE(bd().ColumnExists(u"BDNADA", u"PINO_ID"));
  EXPECT_FALSE(bd().ColumnExists(u"BDPINOS", u"CONTRA_CON_A"));  // a column of another table
}

INSTANTIATE_TEST_SUITE_P(Drivers, Statements, zrtest::AllBackends(), zrtest::BackendName);

}  // namespace
