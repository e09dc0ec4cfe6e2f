// Pin symbols whose "ZR_PINO" extended data is not the three strings the
// suite writes: numbers, points, handles and binary chunks read as text;
// missing, empty and surplus values; every group code; other applications
// around it. The check and the name listing finish and read what is there.
#include <gtest/gtest.h>

#include <cctype>

#include "drawing/CIDicConectores.h"
#include "drawing/CIPinos.h"
#include "drawing_builder.h"
#include "fake_catalogue.h"
#include "fake_host.h"

using namespace testing_support;

namespace {

// A chain of extended data: the application, then the given values.
class Chain {
 public:
  explicit Chain(const char* application = "ZR_PINO")
      : head_(OdResBuf::newRb(OdResBuf::kDxfRegAppName, u(application))), tail_(head_.get()) {}
  Chain& text(int code, const std::string& v) { return add(OdResBuf::newRb(code, OdString::fromUtf8(v))); }
  Chain& integer(int code, int32_t v) { return add(OdResBuf::newRb(code, v)); }
  Chain& real(int code, double v) { return add(OdResBuf::newRb(code, v)); }
  Chain& point(int code, double x, double y, double z) { return add(OdResBuf::newRb(code, OdGePoint3d(x, y, z))); }
  Chain& add(OdResBufPtr rb) {
    tail_ = tail_->setNext(rb).get();
    return *this;
  }
  const OdResBuf* get() const { return head_.get(); }

 private:
  OdResBufPtr head_;
  OdResBuf* tail_;
};

class HostileXdata : public ::testing::Test {
 protected:
  void SetUp() override {
    host.open(db);
    addBlock(*db, "PIN-A", {{"ID_PINO", "Pino"}});
    catalogue.pins("C", {{"K1", "1", "P1"}, {"K2", "2", "P2"}});
    catalogue.pins("7", {{"K7", "1", "Q1"}});
  }
  // A symbol with pin identifier id at (x, y) on a drawn layer, carrying the
  // given extended data chains (none: no extended data at all).
  OdDbObjectId symbol(const std::string& id, double x, std::initializer_list<const Chain*> chains) {
    Reference r = at("PIN-A", 100 + x, 100, {{"ID_PINO", id}});
    r.layer = "ESQ";
    OdDbObjectId ref = addReference(*db, r);
    OdDbObjectPtr object = ref.safeOpenObject(OdDb::kForWrite);
    for (const Chain* c : chains) object->setXData(c->get());
    return ref;
  }

  FakeHost host;
  OdDbDatabasePtr db = OdDbDatabase::createNew();
  FakeCatalogue catalogue;
};

TEST_F(HostileXdata, NumbersAndPointsAreReadAsText) {
  // Name a 16-bit integer, code a 32-bit integer, flag a real: the integers in
  // decimal, the real in its shortest exact form (not "S", so not set).
  Chain numbers;
  numbers.integer(OdResBuf::kDxfXdInteger16, 12).integer(OdResBuf::kDxfXdInteger32, 7).real(OdResBuf::kDxfXdReal, 1.5);
  symbol("1", 0, {&numbers});
  Chain point;
  point.point(OdResBuf::kDxfXdXCoord, 1, 2.5, -3).text(1000, "C").text(1000, "s");
  symbol("2", 10, {&point});
  zr::ConectoresPinos records = catalogue.check();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0]->GetNome().toUtf8(), "12");
  EXPECT_EQ(records[0]->GetCodigo().toUtf8(), "7");
  EXPECT_FALSE(records[0]->GetFlag());
  // Code "7" is a catalogue code: the symbol's pin is known.
  EXPECT_EQ(records[0]->GetPinos()[0]->status, zr::PINO_OK);
  EXPECT_EQ(records[0]->GetPinos()[0]->pin.toUtf8(), "Q1");
  EXPECT_EQ(records[1]->GetNome().toUtf8(), "1.0,2.5,-3.0");
  EXPECT_TRUE(records[1]->GetFlag()) << "a lower-case s is set";
  EXPECT_EQ(catalogue.listedNames(), (std::vector<std::string>{"12", "1.0,2.5,-3.0"}));
}

TEST_F(HostileXdata, TooFewValuesLeaveTheSymbolOut) {
  Chain none;  // the application name alone
  Chain one;
  one.text(1000, "X1");
  Chain two;
  two.text(1000, "X2").text(1000, "C");
  symbol("1", 0, {});  // no extended data at all
  symbol("1", 10, {&none});
  symbol("1", 20, {&one});
  symbol("1", 30, {&two});
  EXPECT_TRUE(catalogue.check().empty());
  // The name listing needs the name and the code only.
  EXPECT_EQ(catalogue.listedNames(), std::vector<std::string>{"X2"});
}

TEST_F(HostileXdata, NamesOfAnyScriptAreListedOnceEachInTheOrderOfTheirFirstSymbol) {
  std::vector<Chain> chains(6);
  const char* names[] = {"X1", "\xC3\x98" "1", "X1", "\xC3\x98" "1", "\xCE\xA9", "X\xC3\x98"};
  for (int i = 0; i < 6; ++i) {
    chains[i].text(1000, names[i]).text(1000, "C").text(1000, "S");
    symbol("1", 10 * i, {&chains[i]});
  }
  EXPECT_EQ(catalogue.listedNames(),
            (std::vector<std::string>{"X1", "\xC3\x98" "1", "\xCE\xA9", "X\xC3\x98"}));
}

TEST_F(HostileXdata, EmptyValuesMakeANamelessConnectorOfAnUnknownCode) {
  Chain empty;
  empty.text(1000, "").text(1000, "").text(1000, "");
  symbol("1", 0, {&empty});
  symbol("2", 10, {&empty});
  zr::ConectoresPinos records = catalogue.check();
  ASSERT_EQ(records.size(), 1u) << "both symbols belong to the one nameless connector";
  EXPECT_EQ(records[0]->GetNome().toUtf8(), "");
  EXPECT_FALSE(records[0]->GetFlag());
  ASSERT_EQ(records[0]->GetPinos().size(), 2u);
  EXPECT_EQ(records[0]->GetPinos()[0]->status, zr::PINO_DESCONHECIDO);
  EXPECT_EQ(records[0]->GetEstado(), zr::CONECTOR_PINO_DESCONHECIDO);
  EXPECT_EQ(catalogue.rowQueries, (std::map<std::string, int>{{"", 1}}));
  EXPECT_EQ(catalogue.listedNames(), std::vector<std::string>{""});
}

TEST_F(HostileXdata, ANamelessConnectorGetsNoDictionaryEntryAndStopsNoOther) {
  Chain empty;
  empty.text(1000, "").text(1000, "C").text(1000, "S");
  Chain named;
  named.text(1000, "X1").text(1000, "C").text(1000, "S");
  symbol("1", 0, {&empty});
  symbol("1", 10, {&named});
  CIDicConectores(&catalogue).Atualizar();
  OdDbDictionaryPtr root = db->getNamedObjectsDictionaryId().safeOpenObject();
  OdDbDictionaryPtr connectors = root->getAt(u("TRV_ZR_DIC_CONECTORES"), OdDb::kForRead);
  ASSERT_FALSE(connectors.isNull());
  EXPECT_EQ(connectors->numEntries(), 1u);
  EXPECT_TRUE(connectors->has(u("X1")));
  EXPECT_TRUE(CIDicConectores(&catalogue).GetConector(u("")).isNull());
  std::unique_ptr<CStringList> lines(CIDicConectores(&catalogue).ListaConectores());
  ASSERT_EQ(lines->GetCount(), 1);
  EXPECT_EQ(lines->GetHead().ToUtf8().substr(0, 3), "X1\f");
}

TEST_F(HostileXdata, SurplusValuesAreIgnored) {
  Chain many;
  many.text(1000, "X1").text(1000, "C").text(1000, "S");
  for (int i = 0; i < 500; ++i) many.text(1000, "surplus " + std::to_string(i));
  symbol("1", 0, {&many});
  zr::ConectoresPinos records = catalogue.check();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0]->GetNome().toUtf8(), "X1");
  EXPECT_EQ(records[0]->GetCodigo().toUtf8(), "C");
  EXPECT_TRUE(records[0]->GetFlag());
  EXPECT_EQ(records[0]->GetPinos()[0]->status, zr::PINO_OK);
}

TEST_F(HostileXdata, EveryGroupCodeIsReadInItsPlace) {
  // Values 1 to 3 are whatever stands there, braces and layer names included;
  // the rest (handles, binary chunks, reals of every kind) are ignored.
  Chain all;
  all.text(OdResBuf::kDxfXdControlString, "{")
      .text(OdResBuf::kDxfXdLayerName, "C")
      .text(OdResBuf::kDxfXdAsciiString, "S");
  OdResBufPtr handle = OdResBuf::newRb(OdResBuf::kDxfXdHandle);
  handle->setHandle(OdDbHandle(0x1F));
  all.add(handle);
  OdResBufPtr chunk = OdResBuf::newRb(OdResBuf::kDxfXdBinaryChunk);
  chunk->setBinaryChunk({0x00, 0xFF, 0x0A});
  all.add(chunk);
  for (int code : {1010, 1011, 1012, 1013}) all.point(code, 1, 2, 3);
  for (int code : {1040, 1041, 1042}) all.real(code, 0.25);
  all.integer(1070, -5).integer(1071, 2000000000).text(1002, "}");
  symbol("1", 0, {&all});
  zr::ConectoresPinos records = catalogue.check();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0]->GetNome().toUtf8(), "{");
  EXPECT_EQ(records[0]->GetCodigo().toUtf8(), "C");
  EXPECT_EQ(records[0]->GetPinos()[0]->status, zr::PINO_OK);

  // A handle, a binary chunk and a 32-bit integer as the three values.
  Chain odd;
  odd.add(handle->copy()).add(chunk->copy()).integer(1071, -2147483647 - 1);
  symbol("2", 10, {&odd});
  records = catalogue.check();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[1]->GetNome().toUtf8(), "1F");
  EXPECT_EQ(records[1]->GetCodigo().toUtf8(), "00FF0A");
  EXPECT_FALSE(records[1]->GetFlag());
}

TEST_F(HostileXdata, OnlyTheDataOfZrPinoCounts) {
  Chain before("ZR_OUTRO");
  before.text(1000, "WRONG").text(1000, "C").text(1000, "S");
  Chain pins;
  pins.text(1000, "X1").text(1000, "C").text(1000, "N");
  Chain after("ZR_DEPOIS");
  after.text(1000, "LATER").text(1000, "C").text(1000, "S");
  symbol("1", 0, {&before, &pins, &after});
  symbol("2", 10, {&before, &after});  // other applications only
  zr::ConectoresPinos records = catalogue.check();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0]->GetNome().toUtf8(), "X1");
  EXPECT_FALSE(records[0]->GetFlag());
  EXPECT_EQ(catalogue.listedNames(), std::vector<std::string>{"X1"});
}

TEST_F(HostileXdata, TheApplicationNameIsFoundIgnoringCase) {
  // Registered application names are looked up ignoring case.
  Chain lower("zr_pino");
  lower.text(1000, "X1").text(1000, "C").text(1000, "S");
  symbol("1", 0, {&lower});
  zr::ConectoresPinos records = catalogue.check();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0]->GetNome().toUtf8(), "X1");
}

// Extended data as a file writes it, where the values are not what their
// group codes promise: numbers that are not numbers, a point without its Y
// and Z, braces, lone surrogates, bytes that are not UTF-8, handles and
// chunks that are not hexadecimal. The drawing reads, and the check reads the
// values as the object model decodes them.
struct FileCase {
  const char* what;
  const char* versions;  // the drawing versions the case applies to
  std::string groups;    // the "ZR_PINO" values, as DXF lines
  std::string name, code;
  bool flag;
};

class HostileXdataInFiles : public HostileXdata, public ::testing::WithParamInterface<FileCase> {};

TEST_P(HostileXdataInFiles, ReadsWhatTheFileHolds) {
  const FileCase& c = GetParam();
  for (const char* version : {"AC1015", "AC1027"}) {
    if (std::string(c.versions).find(version) == std::string::npos) continue;
    SCOPED_TRACE(version);
    OdDbDatabasePtr drawing = OdDbDatabase::createNew(u(version));
    addPin(*drawing, "PIN-A", "X1", "C", "1", 10, 10);
    std::string text = drawing->dxfText();
    const std::string written = "1001\nZR_PINO\n1000\nX1\n1000\nC\n1000\nS\n";
    const std::size_t at = text.find(written);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, written.size(), "1001\nZR_PINO\n" + c.groups);
    host.open(OdDbDatabase::readDxfText(text, u("xdata.dxf")));
    zr::ConectoresPinos records = catalogue.check();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]->GetNome().toUtf8(), c.name);
    EXPECT_EQ(records[0]->GetCodigo().toUtf8(), c.code);
    EXPECT_EQ(records[0]->GetFlag(), c.flag);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostileXdataInFiles,
    ::testing::Values(
        FileCase{"numbers that are not numbers", "AC1015 AC1027",
                 "1070\nabc\n1040\nnan\n1071\n99999999999999999999\n", "0", "nan", false},
        FileCase{"a point without Y and Z", "AC1015 AC1027", "1010\n1e999\n1000\nC\n1000\nS\n", "0.0,0.0,0.0",
                 "C", true},
        FileCase{"braces around the values", "AC1015 AC1027", "1002\n{\n1000\nX1\n1002\n}\n1000\nC\n", "{",
                 "X1", false},
        FileCase{"a lone surrogate", "AC1015 AC1027", "1000\nX\\U+D800Y\n1000\nC\n1000\nS\n",
                 "X\xEF\xBF\xBDY", "C", true},
        FileCase{"bytes that are not UTF-8", "AC1027", "1000\nX\xFF\xFEY\n1000\nC\n1000\nS\n",
                 "X\xEF\xBF\xBD\xEF\xBF\xBDY", "C", true},
        FileCase{"a chunk and a handle that are not hexadecimal", "AC1015 AC1027",
                 "1004\nZZZ\n1005\nQQ\n1000\nS\n", "", "0", true}),
    [](const ::testing::TestParamInfo<FileCase>& info) {
      std::string name;
      for (const char* p = info.param.what; *p; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
      return name;
    });

}  // namespace
