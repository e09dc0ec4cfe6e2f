// The three drawing queries on hostile drawings and arguments, as the host
// calls them: a connector dictionary that is not one gives each function a
// box naming it and its failure result, and the object stays; connector names
// of every kind of text come back through the listing exactly.
#include <gtest/gtest.h>

#include <algorithm>

#include "zrdwg/OdDbDictionary.h"
#include "command_fixture.h"

using namespace testing_support;

namespace {

using Kind = CFxFunctionInterface::CallResult::Kind;

class HostileCommands : public zrtest::CommandFixture {
 protected:
  OdDbDictionaryPtr root(OdDb::OpenMode mode = OdDb::kForRead) {
    return db->getNamedObjectsDictionaryId().safeOpenObject(mode);
  }
  std::vector<std::string> listing() {
    auto r = call("BuscaListaConectores");
    if (r.kind != Kind::kList) return {};
    std::vector<std::string> lines = chainStrings(r.list);
    fxReleaseChain(r.list);
    return lines;
  }
  // Every function that reads the connector dictionary yields its failure
  // result with one box holding words, and the drawing does not change.
  void expectRefusedByEveryFunction(const std::vector<std::string>& words) {
    const std::string before = db->dxfText();
    EXPECT_EQ(call("AtualizarDicConectores").kind, Kind::kVoid);
    EXPECT_EQ(call("GetEnameConector", {"X1"}).kind, Kind::kNil);
    EXPECT_EQ(call("BuscaListaConectores").kind, Kind::kNil);
    const std::vector<std::string> texts = boxTexts();
    ASSERT_EQ(texts.size(), 3u);
    for (const std::string& text : texts) {
      EXPECT_NE(text, "Fatal Error") << "a drawing error shows its own description";
      for (const std::string& w : words) EXPECT_NE(text.find(w), std::string::npos) << text;
    }
    EXPECT_EQ(db->dxfText(), before) << "the drawing changed";
  }
};

TEST_F(HostileCommands, ARecordForTheConnectorDictionaryIsReportedByEveryFunction) {
  pin("X1", "AM04M", "1", 0, 0);
  OdDbXrecordPtr record = OdDbXrecord::createObject();
  root(OdDb::kForWrite)->setAt(u("TRV_ZR_DIC_CONECTORES"), record);
  const OdDbObjectId id = record->objectId();
  record.release();
  expectRefusedByEveryFunction({"TRV_ZR_DIC_CONECTORES", "AcDbXrecord"});
  EXPECT_EQ(root()->getAt(u("TRV_ZR_DIC_CONECTORES")), id);
}

TEST_F(HostileCommands, AnEntityForTheConnectorDictionaryIsReportedByEveryFunction) {
  pin("X1", "AM04M", "1", 0, 0);
  OdDbBlockTableRecordPtr model = db->getModelSpaceId().safeOpenObject();
  OdDbObjectIteratorPtr it = model->newIterator();
  const OdDbObjectId symbol = it->objectId();
  root(OdDb::kForWrite)->setAt(u("TRV_ZR_DIC_CONECTORES"), symbol.safeOpenObject(OdDb::kForWrite));
  expectRefusedByEveryFunction({"TRV_ZR_DIC_CONECTORES", "AcDbBlockReference"});
  EXPECT_TRUE(symbol.isValid());
}

TEST_F(HostileCommands, AConnectorEntryOfAnotherClassFailsOnlyItsOwnLookup) {
  pin("X1", "AM04M", "1", 0, 0);
  pin("X2", "AM04M", "1", 10, 0);
  call("AtualizarDicConectores");
  OdDbDictionaryPtr trv = root()->getAt(u("TRV_ZR_DIC_CONECTORES"), OdDb::kForWrite);
  trv->setAt(u("X2"), OdDbXrecord::createObject());
  trv.release();
  EXPECT_EQ(call("GetEnameConector", {"X1"}).kind, Kind::kEntityName);
  EXPECT_EQ(call("GetEnameConector", {"X2"}).kind, Kind::kNil);
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_NE(boxTexts()[0].find("\"X2\""), std::string::npos) << boxTexts()[0];
}

TEST_F(HostileCommands, ArgumentsThatNameNothingGiveNilWithoutABox) {
  pin("X1", "AM04M", "1", 0, 0);
  call("AtualizarDicConectores");
  for (const std::string& name : {std::string(), std::string(100'000, 'X'), std::string("X1\n"),
                                  std::string("X1'; --"), std::string("\x01\x02\x1b")}) {
    EXPECT_EQ(call("GetEnameConector", {name}).kind, Kind::kNil) << name.size();
  }
  EXPECT_TRUE(boxTexts().empty());
}

TEST_F(HostileCommands, NamesOfEveryKindComeBackThroughTheListing) {
  // Quotes, separators, comment markers, control characters, letters of
  // other scripts and emoji.
  const std::vector<std::string> names = {"O'Brien \"X\"", "a;b -- c /* d */", "tab\there\x01", "Conexão Ñ",
                                          "连接器", "\xF0\x9F\x94\x8C plug"};
  for (std::size_t i = 0; i < names.size(); ++i) pin(names[i], "AM04M", "1", 10.0 * static_cast<double>(i), 0);
  EXPECT_EQ(call("AtualizarDicConectores").kind, Kind::kVoid);
  const std::vector<std::string> lines = listing();
  ASSERT_EQ(lines.size(), names.size());
  std::vector<std::string> sorted = names;
  std::sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
    return OdString::fromUtf8(a).str() < OdString::fromUtf8(b).str();  // UTF-16 code units
  });
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    const std::string handle = CFxAPI::GetObjectId(call("GetEnameConector", {sorted[i]}).entity).getHandle().hex();
    EXPECT_EQ(lines[i], sorted[i] + "\fS\f" + handle + "\fAM04M") << i;
  }
  EXPECT_TRUE(boxTexts().empty());
}

TEST_F(HostileCommands, ANameOrCodeHoldingTheFieldSeparatorIsListedAsTheLineIsSpecified) {
  pin("X1", "AM04M", "1", 0, 0);
  pin("X\f2", "AM04M", "1", 10, 0);
  pin("X3", "AM\f04M", "1", 20, 0);
  EXPECT_EQ(call("AtualizarDicConectores").kind, Kind::kVoid);
  const std::vector<std::string> lines = listing();
  auto handle = [&](const char* name) {
    return CFxAPI::GetObjectId(call("GetEnameConector", {name}).entity).getHandle().hex();
  };
  // Sorted by UTF-16 code units: U+000C comes before the digits.
  EXPECT_EQ(lines, (std::vector<std::string>{"X\f2\fS\f" + handle("X\f2") + "\fAM04M", "X1\fS\f" + handle("X1") + "\fAM04M",
                                             "X3\fS\f" + handle("X3") + "\fAM\f04M"}));
}

}  // namespace
