// Pin symbols of absurd size: a reference with millions of attributes (and a
// block with as many definitions), an attribute value of a megabyte, connector
// names and codes of a hundred thousand characters. The check reads them in
// time linear in their size (a quadratic walk would not end within the test's
// run) and gives the same answers as for small ones.
#include <gtest/gtest.h>

#include "drawing/CICad.h"
#include "drawing/CIDicConectores.h"
#include "drawing/CIPinos.h"
#include "zrdwg/OdDbDictionary.h"
#include "drawing_builder.h"
#include "fake_catalogue.h"
#include "fake_host.h"

using namespace testing_support;

namespace {

class LargeSymbols : public ::testing::Test {
 protected:
  void SetUp() override {
    host.open(db);
    catalogue.pins("C", {{"K1", "1", "P1"}, {"K2", "2", "P2"}});
  }
  // A reference of block in model space with count attributes "A<n>" before
  // the pin attribute (identifier id), and "ZR_PINO" data name, code, "S".
  // Attributes join the reference before it joins the drawing, so building
  // it is linear too.
  OdDbObjectId crowdedSymbol(const std::string& block, int count, const std::string& id, const std::string& name) {
    OdDbBlockTablePtr table = db->getBlockTableId().safeOpenObject();
    OdDbBlockReferencePtr ref = OdDbBlockReference::createObject();
    ref->setBlockTableRecord(table->getAt(u(block.c_str())));
    ref->setPosition(OdGePoint3d(10, 10, 0));
    ref->setLayer(u("ESQ"));
    for (int i = 0; i <= count; ++i) {
      OdDbAttributePtr attribute = OdDbAttribute::createObject();
      attribute->setTag(i < count ? OdString::fromUtf8("A" + std::to_string(i)) : u("ID_PINO"));
      attribute->setTextString(i < count ? u("v") : OdString::fromUtf8(id));
      ref->appendAttribute(attribute);
    }
    OdDbBlockTableRecordPtr space = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
    const OdDbObjectId refId = space->appendOdDbEntity(ref);
    OdResBufPtr xdata = OdResBuf::newRb(OdResBuf::kDxfRegAppName, u("ZR_PINO"));
    xdata->setNext(OdResBuf::newRb(OdResBuf::kDxfXdAsciiString, OdString::fromUtf8(name)))
        ->setNext(OdResBuf::newRb(OdResBuf::kDxfXdAsciiString, u("C")))
        ->setNext(OdResBuf::newRb(OdResBuf::kDxfXdAsciiString, u("S")));
    ref->setXData(xdata);
    return refId;
  }

  FakeHost host;
  OdDbDatabasePtr db = OdDbDatabase::createNew();
  FakeCatalogue catalogue;
};

TEST_F(LargeSymbols, MillionsOfAttributesOnOneSymbol) {
  addBlock(*db, "PIN-A", {{"ID_PINO", "Pino"}});
  crowdedSymbol("PIN-A", 2'000'000, "2", "X1");
  zr::ConectoresPinos records = catalogue.check();
  ASSERT_EQ(records.size(), 1u);
  ASSERT_EQ(records[0]->GetPinos().size(), 2u);
  EXPECT_EQ(records[0]->GetPinos()[0]->identifier.toUtf8(), "2");
  EXPECT_EQ(records[0]->GetPinos()[0]->status, zr::PINO_OK);
  EXPECT_EQ(records[0]->GetPinos()[1]->status, zr::PINO_FALTANTE);
}

TEST_F(LargeSymbols, AsManyDefinitionsAsAttributesPairByPositionInOneWalk) {
  // Each attribute takes the prompt of the definition at its position; asking
  // the block anew for every position would take some 10^10 steps here.
  constexpr int kCount = 100'000;
  std::vector<AttDef> definitions;
  definitions.reserve(kCount + 1);
  for (int i = 0; i < kCount; ++i) definitions.push_back({"A" + std::to_string(i), "Prompt " + std::to_string(i)});
  definitions.push_back({"ID_PINO", "Pino"});
  addBlock(*db, "PIN-MUITOS", definitions);
  const OdDbObjectId ref = crowdedSymbol("PIN-MUITOS", kCount, "1", "X1");

  zr::CEListaAtributos* list = nullptr;
  ASSERT_EQ(CICad().GetAtributos(ref, list, true), CICad::ATRIBUTOS_OK);
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->GetSize(), kCount + 1);
  EXPECT_EQ(list->GetAt(0)->GetPrompt().toUtf8(), "Prompt 0");
  EXPECT_EQ(list->GetAt(kCount - 1)->GetPrompt().toUtf8(), "Prompt " + std::to_string(kCount - 1));
  EXPECT_EQ(list->GetAt(kCount)->GetPrompt().toUtf8(), "Pino");
  list->FreeRecords();
  delete list;

  zr::ConectoresPinos records = catalogue.check();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0]->GetPinos()[0]->status, zr::PINO_OK);
}

TEST_F(LargeSymbols, AMegabyteIdentifierIsUnknownAndKeptWhole) {
  const std::string big(1 << 20, 'x');
  addPin(*db, "PIN-A", "X1", "C", "  " + big + "\t\n", 10, 10);
  zr::ConectoresPinos records = catalogue.check();
  ASSERT_EQ(records.size(), 1u);
  const zr::CEPino& pin = *records[0]->GetPinos()[0];
  EXPECT_EQ(pin.identifier.getLength(), 1 << 20) << "trimmed, not cut";
  EXPECT_EQ(pin.status, zr::PINO_DESCONHECIDO);
  EXPECT_EQ(records[0]->GetEstado(), zr::CONECTOR_PINO_DESCONHECIDO);
}

TEST_F(LargeSymbols, NamesAndCodesOfAHundredThousandCharactersGoThroughTheDictionary) {
  // A long name in characters outside the BMP too (two code units each).
  std::string name;
  for (int i = 0; i < 50'000; ++i) name += "\xF0\x9F\x94\x8C";  // U+1F50C
  const std::string code(100'000, 'C');
  catalogue.pins(code, {{"K1", "1", "P1"}});
  addPin(*db, "PIN-A", name, code, "1", 10, 10);
  addPin(*db, "PIN-A", "X2", "C", "1", 20, 10);
  zr::ConectoresPinos records = catalogue.check();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0]->GetNome().toUtf8(), name);
  EXPECT_EQ(records[0]->GetPinos()[0]->status, zr::PINO_OK);

  CIDicConectores dictionary(&catalogue);
  dictionary.Atualizar();
  const OdDbObjectId entry = dictionary.GetConector(OdString::fromUtf8(name));
  ASSERT_FALSE(entry.isNull());
  std::unique_ptr<CStringList> lines(dictionary.ListaConectores());
  ASSERT_EQ(lines->GetCount(), 2);
  // Sorted by UTF-16 code units: "X2" (0x58) before the surrogates (0xD83D).
  EXPECT_EQ(lines->GetTail().ToUtf8(), name + "\fS\f" + entry.getHandle().hex() + "\f" + code);

  // The drawing is saved and read back with the long key whole.
  OdDbDatabasePtr back = OdDbDatabase::readDxfText(db->dxfText(), u("long.dxf"));
  OdDbDictionaryPtr named = back->getNamedObjectsDictionaryId().safeOpenObject();
  OdDbDictionaryPtr trv = named->getAt(u("TRV_ZR_DIC_CONECTORES"), OdDb::kForRead);
  ASSERT_FALSE(trv.isNull());
  EXPECT_TRUE(trv->has(OdString::fromUtf8(name)));
}

}  // namespace
