// Reading rows through recordsets: the cursor, field values and types,
// nulls, blanks, and failing statements.

#include <gtest/gtest.h>

#include <cctype>

#include "test_catalogue.h"

namespace {

using zrtest::Backend;
using zrtest::Describe;
using zrtest::TestCatalogue;

class Recordset : public testing::TestWithParam<Backend> {};

// Opens a statement the way the catalogue does: a client cursor on the
// connection passed as a dispatch variant.
_RecordsetPtr Query(const _ConnectionPtr& conn, const std::u16string& sql) {
  _RecordsetPtr rs;
  HRESULT hr = rs.CreateInstance(CLSID_Recordset);
  if (FAILED(hr)) _com_issue_errorex(hr, nullptr, GUID_NULL);
  rs->PutCursorLocation(adUseClient);
  rs->Open(_bstr_t(sql), _variant_t(static_cast<IDispatch*>(conn.GetInterfacePtr())), adOpenDynamic,
           adLockBatchOptimistic, adCmdUnspecified);
  return rs;
}

_variant_t Value(const _RecordsetPtr& rs, short index) { return rs->GetFields()->GetItem(index)->GetValue(); }

TEST_P(Recordset, WalksTheRowsOfAStatement) {
  TestCatalogue db(GetParam());
  ZR_REQUIRE_CATALOGUE(db);
  try {
  _ConnectionPtr conn = db.Connect();
  _RecordsetPtr rs = Query(conn, u"SELECT PINO_KEY, PINO_ID, PINO_PINO FROM BDPINOS WHERE PINO_CONECTOR='CM06M' ORDER BY PINO_KEY");
  EXPECT_EQ(rs->GetFields()->GetCount(), 3);
  std::vector<std::u16string> ids;
  while (!rs->GetadoEOF()) {
    _variant_t id = Value(rs, 1);
    ids.push_back(id.IsNull() ? u"<null>" : _bstr_t(id).str());
    EXPECT_EQ(_bstr_t(Value(rs, 2)).view(), u"M20");
    rs->MoveNext();
  }
  // The example gives the last cavity of this connector no identifier.
  EXPECT_EQ(ids, (std::vector<std::u16string>{u"A", u"B", u"C", u"D", u"E", u"<null>"}));
  EXPECT_EQ(rs->GetRecordCount(), 6);
  // Past the end there is no current row.
  try {
    static_cast<void>(Value(rs, 0));
    ADD_FAILURE() << "read past the end";
  } catch (const _com_error& e) {
    EXPECT_EQ(e.Error(), adErrNoCurrentRecord) << Describe(e);
  }
  EXPECT_THROW(rs->MoveNext(), _com_error);
  rs->MoveFirst();
  EXPECT_EQ(_bstr_t(Value(rs, 1)).view(), u"A");
  rs->Close();
  EXPECT_EQ(rs->GetState(), adStateClosed);
  EXPECT_THROW(rs->GetadoEOF(), _com_error);
  } catch (const _com_error& e) { FAIL() << Describe(e); }
}

TEST_P(Recordset, EmptyResultIsAtEndAtOnce) {
  TestCatalogue db(GetParam());
  ZR_REQUIRE_CATALOGUE(db);
  _RecordsetPtr rs = Query(db.Connect(), u"SELECT PINO_KEY FROM BDPINOS WHERE PINO_CONECTOR='NADA'");
  EXPECT_EQ(rs->GetState(), adStateOpen);
  EXPECT_TRUE(rs->GetadoEOF());
  EXPECT_TRUE(rs->GetBOF());
}

TEST_P(Recordset, NullsAndBlanksArriveAsStored) {
  TestCatalogue db(GetParam());
  ZR_REQUIRE_CATALOGUE(db);
  _ConnectionPtr conn = db.Connect();
  conn->Execute(u"CREATE TABLE T_VALORES (K varchar(6), V varchar(20), C char(6), N integer, R double precision)",
                nullptr, adExecuteNoRecords);
  conn->Execute(u"INSERT INTO T_VALORES VALUES ('1', '  A1 ', 'A1', 7, 2.5)", nullptr, adExecuteNoRecords);
  conn->Execute(u"INSERT INTO T_VALORES VALUES ('2', NULL, NULL, NULL, NULL)", nullptr, adExecuteNoRecords);
  conn->Execute(u"INSERT INTO T_VALORES VALUES ('3', 'contrapeça', 'ç', -1, 0.1)", nullptr, adExecuteNoRecords);
  _RecordsetPtr rs = Query(conn, u"SELECT V, C, N, R FROM T_VALORES ORDER BY K");

  EXPECT_EQ(Value(rs, 0).vt, VT_BSTR);
  EXPECT_EQ(_bstr_t(Value(rs, 0)).view(), u"  A1 ");  // blanks kept; trimming is the reader's job
  // A char(6) column comes back blank-padded where the database pads it.
  std::u16string padded = GetParam() == Backend::kPostgres ? u"A1    " : u"A1";
  EXPECT_EQ(_bstr_t(Value(rs, 1)).view(), padded);
  EXPECT_EQ(static_cast<long long>(Value(rs, 2)), 7);
  EXPECT_DOUBLE_EQ(static_cast<double>(Value(rs, 3)), 2.5);
  EXPECT_EQ(_bstr_t(Value(rs, 3)).view(), u"2.5");
  rs->MoveNext();
  for (short i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Value(rs, i).vt, VT_NULL);
  }
  EXPECT_THROW(_bstr_t(Value(rs, 0)), _com_error);  // null has no text
  rs->MoveNext();
  EXPECT_EQ(_bstr_t(Value(rs, 0)).view(), u"contrapeça");
  EXPECT_EQ(_bstr_t(Value(rs, 2)).view(), u"-1");
  EXPECT_EQ(_bstr_t(Value(rs, 3)).view(), u"0.1");
}

TEST_P(Recordset, FieldsAreFoundByIndexOrNameAndHaveTypes) {
  TestCatalogue db(GetParam());
  ZR_REQUIRE_CATALOGUE(db);
  _RecordsetPtr rs = Query(db.Connect(), u"SELECT ZR_KEY, ZR_DWG FROM BDZR WHERE ZR_KEY='CI04F'");
  FieldsPtr fields = rs->GetFields();
  EXPECT_EQ(fields->GetItem(u"zr_dwg")->GetValue(), fields->GetItem(1)->GetValue());
  EXPECT_EQ(_bstr_t(fields->GetItem(1L)->GetValue()).view(), u"CON-CI04F");
  EXPECT_EQ(fields->GetItem(short{0})->GetType(), adVarWChar);
  for (const _variant_t& bad : {_variant_t(2), _variant_t(-1), _variant_t(u"NADA")}) {
    try {
      fields->GetItem(bad);
      ADD_FAILURE() << "found a field that does not exist";
    } catch (const _com_error& e) {
      EXPECT_EQ(e.Error(), adErrItemNotFound) << Describe(e);
    }
  }
}

TEST_P(Recordset, AFailingStatementRaisesTheDriversDiagnostics) {
  TestCatalogue db(GetParam());
  ZR_REQUIRE_CATALOGUE(db);
  _ConnectionPtr conn = db.Connect();
  _RecordsetPtr rs;
  rs.CreateInstance(CLSID_Recordset);
  try {
    rs->Open(u"SELECT NADA FROM BDNENHUMA", _variant_t(static_cast<IDispatch*>(conn.GetInterfacePtr())),
             adOpenDynamic, adLockBatchOptimistic, adCmdUnspecified);
    ADD_FAILURE() << "the statement ran";
  } catch (const _com_error& e) {
    EXPECT_EQ(e.Error(), E_FAIL);
    std::string text = e.Description().utf8();
    std::string lower = text;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_NE(lower.find("bdnenhuma"), std::string::npos) << text;  // the driver names the table
    EXPECT_EQ(text.front(), '[') << text;  // "[SQLSTATE] (native N) message"
    EXPECT_NE(text.find("(native "), std::string::npos) << text;
    EXPECT_EQ(e.Source().view(), u"ADODB.Recordset");
  }
  EXPECT_EQ(rs->GetState(), adStateClosed);
  // The same object opens the next statement.
  rs->Open(u"SELECT MENU_KEY FROM BDMENUS", _variant_t(static_cast<IDispatch*>(conn.GetInterfacePtr())),
           adOpenDynamic, adLockBatchOptimistic, adCmdUnspecified);
  EXPECT_FALSE(rs->GetadoEOF());
}

// The driver hands a text over in chunks of 2 KB: a value is read whole
// whatever its length, its characters outside ASCII and those that straddle
// the end of a chunk included.
TEST_P(Recordset, TextsOfAnyLengthArriveWhole) {
  TestCatalogue db(GetParam());
  ZR_REQUIRE_CATALOGUE(db);
  try {
    _ConnectionPtr conn = db.Connect();
    _variant_t affected;
    conn->Execute(u"CREATE TABLE TSTLONG ( N integer, V text )", &affected, adExecuteNoRecords);
    std::u16string mixed;
    while (mixed.size() < 5000) mixed += u"a\u00e7\u20ac\U0001D11E-";  // 1, 2, 3 and 4 bytes in UTF-8
    const std::vector<std::u16string> values = {u"",
                                                u"x",
                                                std::u16string(2047, u'k'),
                                                std::u16string(2048, u'k'),
                                                std::u16string(2049, u'k'),
                                                std::u16string(1023, u'\u00e7') + u"!",
                                                mixed};
    for (std::size_t i = 0; i < values.size(); ++i)
      conn->Execute(_bstr_t(u"INSERT INTO TSTLONG (N, V) VALUES (" + std::u16string(1, char16_t(u'0' + i)) + u", '" +
                            values[i] + u"')"),
                    &affected, adExecuteNoRecords);
    _RecordsetPtr rs = Query(conn, u"SELECT V FROM TSTLONG ORDER BY N");
    std::vector<std::u16string> read;
    for (; !rs->GetadoEOF(); rs->MoveNext()) {
      _variant_t v = Value(rs, 0);
      read.push_back(v.IsNull() ? u"<null>" : _bstr_t(v).str());
    }
    ASSERT_EQ(read.size(), values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(read[i].size(), values[i].size());
      EXPECT_TRUE(read[i] == values[i]);
    }
  } catch (const _com_error& e) {
    FAIL() << Describe(e);
  }
}

TEST_P(Recordset, StatementsWithoutRowsLeaveItClosed) {
  TestCatalogue db(GetParam());
  ZR_REQUIRE_CATALOGUE(db);
  _ConnectionPtr conn = db.Connect();
  _RecordsetPtr rs = Query(conn, u"CREATE TABLE BDTIPOCOMP ( COMP_KEY varchar(6), TIPO_KEY varchar(6) ) ");
  EXPECT_EQ(rs->GetState(), adStateClosed);
  try {
    rs->GetadoEOF();
    ADD_FAILURE() << "EOF of a closed recordset";
  } catch (const _com_error& e) {
    EXPECT_EQ(e.Error(), adErrObjectClosed);
  }
  _variant_t affected;
  conn->Execute(u"UPDATE BDPINOS SET PINO_ID='X' WHERE PINO_CONECTOR='CM03M'", &affected, adExecuteNoRecords);
  EXPECT_EQ(static_cast<int>(affected), 3);
}

TEST_P(Recordset, OpensOnAConnectionStringOrRefusesWithoutConnection) {
  TestCatalogue db(GetParam());
  ZR_REQUIRE_CATALOGUE(db);
  if (GetParam() == Backend::kSqlite) {
    _RecordsetPtr rs;
    rs.CreateInstance(CLSID_Recordset);
    rs->Open(u"SELECT count(*) FROM BDMENUS", _variant_t(_bstr_t(db.ConnectionString())), adOpenStatic,
             adLockReadOnly, adCmdText);
    EXPECT_GT(static_cast<long long>(rs->GetCollect(0)), 40);
  }
  _RecordsetPtr rs;
  rs.CreateInstance(CLSID_Recordset);
  for (const _variant_t& none : {vtMissing, _variant_t()}) {
    try {
      rs->Open(u"SELECT 1", none, adOpenStatic, adLockReadOnly, adCmdText);
      ADD_FAILURE() << "opened without a connection";
    } catch (const _com_error& e) {
      EXPECT_EQ(e.Error(), adErrInvalidConnection) << Describe(e);
    }
  }
  _ConnectionPtr closed;
  closed.CreateInstance(CLSID_Connection);
  try {
    rs->Open(u"SELECT 1", _variant_t(static_cast<IDispatch*>(closed.GetInterfacePtr())), adOpenStatic, adLockReadOnly, adCmdText);
    ADD_FAILURE() << "opened on a closed connection";
  } catch (const _com_error& e) {
    EXPECT_EQ(e.Error(), adErrInvalidConnection) << Describe(e);
  }
}

INSTANTIATE_TEST_SUITE_P(Drivers, Recordset, zrtest::AllBackends(), zrtest::BackendName);

}  // namespace
