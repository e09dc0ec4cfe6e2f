// The connector dictionary on drawings whose entries are not what the refresh
// writes: "TRV_ZR_DIC_CONECTORES" standing for a record, an entity, a
// dictionary of another owner or nothing; connector entries of another class
// or naming nothing. Each operation gives a clear error and leaves the drawing
// as it was, or does its work around the damage as documented.
#include <gtest/gtest.h>

#include "drawing/CIDicConectores.h"
#include "zrdwg/OdDbDictionary.h"
#include "drawing_builder.h"
#include "fake_catalogue.h"
#include "fake_host.h"

using namespace testing_support;

namespace {

const OdString kTrv = u("TRV_ZR_DIC_CONECTORES");

std::vector<std::string> entries(CStringList* list) {
  std::unique_ptr<CStringList> owned(list);
  std::vector<std::string> out;
  for (POSITION pos = owned->GetHeadPosition(); pos;) out.push_back(owned->GetNext(pos).ToUtf8());
  return out;
}

// Replaces the one occurrence of from in text (failing the test when there
// is none or more).
std::string replaceOnce(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << "no " << from;
  if (at == std::string::npos) return text;
  EXPECT_EQ(text.find(from, at + 1), std::string::npos) << "more than one " << from;
  return text.replace(at, from.size(), to);
}

class ConnectorDictionary : public ::testing::Test {
 protected:
  void SetUp() override {
    catalogue.pins("C", {{"K1", "1", "P1"}});
    open(OdDbDatabase::createNew());
    addPin(*db, "PIN-A", "X1", "C", "1", 10, 10);
    addPin(*db, "PIN-A", "X2", "C", "1", 20, 10);
  }
  void open(OdDbDatabasePtr drawing) {
    db = drawing;
    host.open(db);
  }
  OdDbDictionaryPtr root(OdDb::OpenMode mode = OdDb::kForRead) {
    return db->getNamedObjectsDictionaryId().safeOpenObject(mode);
  }
  OdDbDictionaryPtr connectors() { return OdDbDictionaryPtr(root()->getAt(kTrv, OdDb::kForRead)); }
  // Puts object under "TRV_ZR_DIC_CONECTORES" in the named objects.
  void standIn(OdDbObject* object) { root(OdDb::kForWrite)->setAt(kTrv, object); }

  // Runs f, which must throw OdError with the given code; returns its text.
  template <class F>
  std::string errorOf(F&& f, OdResult code) {
    try {
      f();
    } catch (const OdError& e) {
      EXPECT_EQ(e.code(), code) << e.description().toUtf8();
      return e.description().toUtf8();
    }
    ADD_FAILURE() << "no error";
    return std::string();
  }
  // Each of the three operations fails with code and a text holding every
  // one of words, and the drawing stays exactly as it was.
  void expectEveryOperationRefused(OdResult code, const std::vector<std::string>& words) {
    const std::string before = db->dxfText();
    CIDicConectores dictionary(&catalogue);
    const std::string texts[] = {
        errorOf([&] { dictionary.Atualizar(); }, code),
        errorOf([&] { dictionary.GetConector(u("X1")); }, code),
        errorOf([&] { delete dictionary.ListaConectores(); }, code),
    };
    for (const std::string& text : texts)
      for (const std::string& w : words) EXPECT_NE(text.find(w), std::string::npos) << text;
    EXPECT_EQ(db->dxfText(), before) << "the drawing changed";
  }

  FakeHost host;
  OdDbDatabasePtr db;
  FakeCatalogue catalogue;
};

TEST_F(ConnectorDictionary, ARecordInItsPlaceIsReportedAndKept) {
  OdDbXrecordPtr record = OdDbXrecord::createObject();
  OdResBufPtr data = OdResBuf::newRb(1, u("dados de outro programa"));
  record->setFromRbChain(data);
  standIn(record);
  const OdDbObjectId id = record->objectId();
  record.release();
  expectEveryOperationRefused(eNotThatKindOfClass, {"TRV_ZR_DIC_CONECTORES", "AcDbXrecord", "not a dictionary"});
  EXPECT_EQ(root()->getAt(kTrv), id);
  OdDbXrecordPtr kept = id.safeOpenObject();
  ASSERT_FALSE(kept->rbChain().isNull());
  EXPECT_EQ(kept->rbChain()->getString().toUtf8(), "dados de outro programa");
}

TEST_F(ConnectorDictionary, AnEntityInItsPlaceIsReportedAndKept) {
  // The name stands for a pin symbol of model space.
  const OdDbObjectId symbol = addPin(*db, "PIN-A", "X3", "C", "1", 30, 10);
  standIn(symbol.safeOpenObject(OdDb::kForWrite));
  expectEveryOperationRefused(eNotThatKindOfClass, {"TRV_ZR_DIC_CONECTORES", "AcDbBlockReference"});
  EXPECT_TRUE(symbol.isValid());
  EXPECT_EQ(symbol.safeOpenObject()->ownerId(), db->getModelSpaceId()) << "still in model space";
}

TEST_F(ConnectorDictionary, ADictionaryOfAnotherOwnerIsNotTakenOver) {
  // "TRV_ZR_DIC_CONECTORES" names a dictionary inside another one: adding
  // connector entries to it would change that other object.
  OdDbDictionaryPtr other = OdDbDictionary::createObject();
  root(OdDb::kForWrite)->setAt(u("OUTRO_PROGRAMA"), other);
  OdDbDictionaryPtr inner = OdDbDictionary::createObject();
  other->setAt(u("CONFIG"), inner);
  standIn(inner);
  inner.release();
  other.release();
  expectEveryOperationRefused(eInvalidOwnerObject, {"TRV_ZR_DIC_CONECTORES", "another object"});
}

TEST_F(ConnectorDictionary, TheNamedObjectsThemselvesAreNotTakenOver) {
  OdDbDictionaryPtr named = root(OdDb::kForWrite);
  named->setAt(kTrv, named);
  named.release();
  expectEveryOperationRefused(eInvalidOwnerObject, {"TRV_ZR_DIC_CONECTORES"});
}

TEST_F(ConnectorDictionary, AnErasedDictionaryIsReplacedByTheRefresh) {
  OdDbDictionaryPtr old = OdDbDictionary::createObject();
  standIn(old);
  old->erase();
  const OdDbObjectId oldId = old->objectId();
  old.release();
  // The lookup and the listing find nothing, and make the dictionary anew.
  EXPECT_TRUE(CIDicConectores(&catalogue).GetConector(u("X1")).isNull());
  CIDicConectores(&catalogue).Atualizar();
  ASSERT_FALSE(connectors().isNull());
  EXPECT_NE(connectors()->objectId(), oldId);
  EXPECT_TRUE(connectors()->has(u("X1")));
  EXPECT_EQ(entries(CIDicConectores(&catalogue).ListaConectores()).size(), 2u);
}

TEST_F(ConnectorDictionary, ARecordUnderAConnectorNameStopsTheRefreshBeforeAnyChange) {
  OdDbDictionaryPtr trv = OdDbDictionary::createObject();
  standIn(trv);
  OdDbXrecordPtr record = OdDbXrecord::createObject();
  // X2 comes after X1 in check order: nothing may be added for X1 either.
  trv->setAt(u("X2"), record);
  const OdDbHandle recordHandle = record->getDbHandle();
  record.release();
  trv.release();
  const std::string before = db->dxfText();
  const std::string text = errorOf([&] { CIDicConectores(&catalogue).Atualizar(); }, eNotThatKindOfClass);
  EXPECT_NE(text.find("\"X2\""), std::string::npos) << text;
  EXPECT_NE(text.find("AcDbXrecord"), std::string::npos) << text;
  EXPECT_EQ(db->dxfText(), before);
  EXPECT_FALSE(connectors()->has(u("X1")));

  // The lookup of that name fails the same way; other names are answered.
  errorOf([&] { CIDicConectores(&catalogue).GetConector(u("X2")); }, eNotThatKindOfClass);
  EXPECT_TRUE(CIDicConectores(&catalogue).GetConector(u("X1")).isNull());
  // The listing names the entry's object as it is (it never opens entries).
  const std::vector<std::string> lines = entries(CIDicConectores(&catalogue).ListaConectores());
  EXPECT_EQ(lines, std::vector<std::string>{"X2\fS\f" + recordHandle.hex() + "\fC"});
}

TEST_F(ConnectorDictionary, ALongNameIsShortenedInTheMessage) {
  const std::string longName(5000, 'N');
  addPin(*db, "PIN-A", longName, "C", "1", 40, 10);
  OdDbDictionaryPtr trv = OdDbDictionary::createObject();
  standIn(trv);
  trv->setAt(OdString::fromUtf8(longName), OdDbXrecord::createObject());
  trv.release();
  const std::string text = errorOf([&] { CIDicConectores(&catalogue).Atualizar(); }, eNotThatKindOfClass);
  EXPECT_NE(text.find(std::string(80, 'N') + "…\""), std::string::npos) << text;
  EXPECT_LT(text.size(), 300u);
}

TEST_F(ConnectorDictionary, KeysOfEveryKindSurviveSavingAndReading) {
  // Names as symbols may carry them: line breaks, control characters, spaces
  // at either end, quotes, other scripts, emoji, great length.
  const std::vector<std::string> names = {"A\nB", "C\r\nD", "tab\t", "\x01\x1b[2J", "  spaces  ", "O'Brien \"x\"",
                                          "连接器", "\xF0\x9F\x94\x8C", std::string(3000, 'L')};
  for (const char* version : {"AC1015", "AC1027"}) {
    SCOPED_TRACE(version);
    open(OdDbDatabase::createNew(u(version)));
    for (std::size_t i = 0; i < names.size(); ++i)
      addPin(*db, "PIN-A", names[i], "C", "1", 100 + 10.0 * static_cast<double>(i), 10);
    CIDicConectores(&catalogue).Atualizar();
    // Saved, read back and refreshed again: every name finds its entry, and
    // no entry is added.
    open(OdDbDatabase::readDxfText(db->dxfText(), u("keys.dxf")));
    ASSERT_FALSE(connectors().isNull());
    EXPECT_EQ(connectors()->numEntries(), names.size());
    for (const std::string& n : names) EXPECT_TRUE(connectors()->has(OdString::fromUtf8(n))) << n.substr(0, 40);
    CIDicConectores(&catalogue).Atualizar();
    EXPECT_EQ(connectors()->numEntries(), names.size()) << "a name lost its entry";
  }
}

TEST_F(ConnectorDictionary, ADrawingWithoutObjectsGetsItsDictionaryOnTheRefresh) {
  // A file without an OBJECTS section: the drawing still has named objects,
  // and the refresh puts the connector dictionary there.
  std::string text = db->dxfText();
  const std::size_t begin = text.find("  0\nSECTION\n  2\nOBJECTS\n");
  ASSERT_NE(begin, std::string::npos);
  const std::size_t end = text.find("  0\nENDSEC\n", begin);
  ASSERT_NE(end, std::string::npos);
  text.erase(begin, end + 11 - begin);
  ASSERT_EQ(text.find("TRV_ZR_DIC_CONECTORES"), std::string::npos);
  open(OdDbDatabase::readDxfText(text, u("no-objects.dxf")));
  CIDicConectores(&catalogue).Atualizar();
  EXPECT_EQ(entries(CIDicConectores(&catalogue).ListaConectores()).size(), 2u);
  OdDbDatabasePtr back = OdDbDatabase::readDxfText(db->dxfText(), u("back.dxf"));
  OdDbDictionaryPtr named = back->getNamedObjectsDictionaryId().safeOpenObject();
  EXPECT_FALSE(named->getAt(kTrv).isNull());
}

// A drawing read from a file whose entries name no object: a handle the file
// lacks (as other programs leave it), 0, or not hexadecimal at all. Each is
// read and names nothing.
class DanglingEntries : public ConnectorDictionary, public ::testing::WithParamInterface<const char*> {
 protected:
  // The text of a drawing whose connector dictionary holds X1 and X2, with
  // the entry of X2 (or the connector dictionary itself) naming the handle
  // text of the test's parameter.
  std::string textWithDangling(bool wholeDictionary) {
    CIDicConectores(&catalogue).Atualizar();
    const std::string handle = wholeDictionary ? connectors()->getDbHandle().hex()
                                               : connectors()->getAt(u("X2")).getHandle().hex();
    const std::string key = wholeDictionary ? "TRV_ZR_DIC_CONECTORES" : "X2";
    return replaceOnce(db->dxfText(), "  3\n" + key + "\n350\n" + handle + "\n",
                       "  3\n" + key + "\n350\n" + GetParam() + "\n");
  }
};

INSTANTIATE_TEST_SUITE_P(HandleTexts, DanglingEntries, ::testing::Values("0", "ZZ", "FFFF0"));

TEST_P(DanglingEntries, AConnectorEntryOfNoObjectIsPassedOverThenReplaced) {
  open(OdDbDatabase::readDxfText(textWithDangling(false), u("dangling.dxf")));
  CIDicConectores dictionary(&catalogue);
  EXPECT_TRUE(dictionary.GetConector(u("X2")).isNull());
  std::vector<std::string> lines = entries(dictionary.ListaConectores());
  ASSERT_EQ(lines.size(), 1u) << "no line for an entry without object";
  EXPECT_EQ(lines[0].substr(0, 3), "X1\f");
  dictionary.Atualizar();
  const OdDbObjectId x2 = dictionary.GetConector(u("X2"));
  ASSERT_FALSE(x2.isNull());
  lines = entries(dictionary.ListaConectores());
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], "X2\fS\f" + x2.getHandle().hex() + "\fC");
}

TEST_P(DanglingEntries, AConnectorDictionaryOfNoObjectIsMadeAnew) {
  open(OdDbDatabase::readDxfText(textWithDangling(true), u("dangling.dxf")));
  EXPECT_TRUE(CIDicConectores(&catalogue).GetConector(u("X1")).isNull());
  CIDicConectores(&catalogue).Atualizar();
  EXPECT_FALSE(CIDicConectores(&catalogue).GetConector(u("X1")).isNull());
  EXPECT_EQ(entries(CIDicConectores(&catalogue).ListaConectores()).size(), 2u);
  // The repaired drawing reads back with its entries.
  OdDbDatabasePtr back = OdDbDatabase::readDxfText(db->dxfText(), u("back.dxf"));
  OdDbDictionaryPtr named = back->getNamedObjectsDictionaryId().safeOpenObject();
  OdDbDictionaryPtr trv = named->getAt(kTrv, OdDb::kForRead);
  ASSERT_FALSE(trv.isNull());
  EXPECT_TRUE(trv->has(u("X1")) && trv->has(u("X2")));
}

}  // namespace
