// Dictionaries: exact keys, sorted iteration, ownership of new entries.
#include <gtest/gtest.h>

#include "zrdwg/OdDbDictionary.h"
#include "drawing_builder.h"
#include "temp_dir.h"

using namespace testing_support;

namespace {

class Dictionaries : public ::testing::Test {
 protected:
  OdDbDatabasePtr db = OdDbDatabase::createNew();

  OdDbDictionaryPtr root(OdDb::OpenMode mode) { return db->getNamedObjectsDictionaryId().safeOpenObject(mode); }
};

TEST_F(Dictionaries, KeysAreExact) {
  OdDbDictionaryPtr nod = root(OdDb::kForWrite);
  OdDbDictionaryPtr child = OdDbDictionary::createObject();
  OdDbObjectId id = nod->setAt(u("TRV_ZR_DIC_CONECTORES"), child);
  EXPECT_EQ(nod->getAt(u("TRV_ZR_DIC_CONECTORES")), id);
  EXPECT_TRUE(nod->getAt(u("trv_zr_dic_conectores")).isNull());
  EXPECT_TRUE(nod->getAt(u("TRV_ZR_DIC_CONECTORES "), OdDb::kForRead).isNull());
  EXPECT_FALSE(nod->getAt(u("TRV_ZR_DIC_CONECTORES"), OdDb::kForWrite).isNull());
}

TEST_F(Dictionaries, SortedIteratorOrdersByUtf16CodeUnits) {
  OdDbDictionaryPtr nod = root(OdDb::kForWrite);
  OdDbDictionaryPtr dict = OdDbDictionary::createObject();
  nod->setAt(u("CONN"), dict);
  for (const char* key : {"b", "X10", "B", "a", "X2", "É", "Z", "á"}) dict->setAt(u(key), OdDbDictionary::createObject());

  std::vector<std::string> sorted, collated;
  for (OdDbDictionaryIteratorPtr it = dict->newIterator(OdRx::kDictSorted); !it->done(); it->next())
    sorted.push_back(it->name().toUtf8());
  for (OdDbDictionaryIteratorPtr it = dict->newIterator(); !it->done(); it->next())
    collated.push_back(it->name().toUtf8());
  EXPECT_EQ(sorted, (std::vector<std::string>{"B", "X10", "X2", "Z", "a", "b", "É", "á"}));
  EXPECT_EQ(collated, (std::vector<std::string>{"b", "X10", "B", "a", "X2", "É", "Z", "á"}));
}

TEST_F(Dictionaries, NewEntriesAreOwnedAndGetFreshHandles) {
  OdDbDictionaryPtr nod = root(OdDb::kForWrite);
  const uint64_t seed = db->handseed().value();
  OdDbDictionaryPtr child = OdDbDictionary::createObject();
  OdDbObjectId id = nod->setAt(u("X1"), child);
  EXPECT_EQ(child->ownerId(), nod->objectId());
  EXPECT_EQ(id.getHandle().value(), seed);
  EXPECT_EQ(db->handseed().value(), seed + 1);
  EXPECT_EQ(db->getOdDbObjectId(id.getHandle()), id);
}

TEST_F(Dictionaries, ChangingADictionaryOpenedForReadIsRefused) {
  OdDbDictionaryPtr nod = root(OdDb::kForRead);
  try {
    nod->setAt(u("X"), OdDbDictionary::createObject());
    FAIL() << "a dictionary open for read must not change";
  } catch (const OdError& e) {
    EXPECT_EQ(e.code(), eNotOpenForWrite);
  }
  EXPECT_TRUE(nod->getAt(u("X")).isNull());
}

TEST_F(Dictionaries, EntryOfAnotherKindFailsTheCast) {
  OdDbDictionaryPtr nod = root(OdDb::kForWrite);
  nod->setAt(u("REC"), OdDbXrecord::createObject());
  OdDbObjectPtr entry = nod->getAt(u("REC"), OdDb::kForWrite);
  EXPECT_THROW(OdDbDictionaryPtr d = entry, OdError_NotThatKindOfClass);
}

TEST_F(Dictionaries, SurviveSavingAndReading) {
  TempDir dir;
  {
    OdDbDictionaryPtr nod = root(OdDb::kForWrite);
    OdDbDictionaryPtr conn = OdDbDictionary::createObject();
    nod->setAt(u("TRV_ZR_DIC_CONECTORES"), conn);
    conn->setAt(u("X2"), OdDbDictionary::createObject());
    conn->setAt(u("X1 ção"), OdDbDictionary::createObject());
    OdDbXrecordPtr rec = OdDbXrecord::createObject();
    conn->setAt(u("DATA"), rec);
    OdResBufPtr chain = OdResBuf::newRb(1, u("texto"));
    chain->setNext(OdResBuf::newRb(70, int32_t(7)));
    rec->setFromRbChain(chain);
  }
  db->writeDxf(u(dir.file("d.dxf").c_str()));
  OdDbDatabasePtr back = OdDbDatabase::readDxf(u(dir.file("d.dxf").c_str()));
  OdDbDictionaryPtr nod = back->getNamedObjectsDictionaryId().safeOpenObject();
  OdDbDictionaryPtr conn = nod->getAt(u("TRV_ZR_DIC_CONECTORES"), OdDb::kForRead);
  ASSERT_FALSE(conn.isNull());
  std::vector<std::string> keys;
  for (OdDbDictionaryIteratorPtr it = conn->newIterator(OdRx::kDictSorted); !it->done(); it->next())
    keys.push_back(it->name().toUtf8());
  EXPECT_EQ(keys, (std::vector<std::string>{"DATA", "X1 ção", "X2"}));
  OdDbXrecordPtr rec = conn->getAt(u("DATA"), OdDb::kForRead);
  OdResBufPtr chain = rec->rbChain();
  ASSERT_FALSE(chain.isNull());
  EXPECT_EQ(chain->getString().toUtf8(), "texto");
  ASSERT_FALSE(chain->next().isNull());
  EXPECT_EQ(chain->next()->getInt32(), 7);
}

TEST_F(Dictionaries, ExtensionDictionaryIsCreatedOnce) {
  OdDbObjectId pin = addPin(*db, "PIN-A", "X1", "C", "1", 0, 0);
  OdDbBlockReferencePtr ref = pin.safeOpenObject(OdDb::kForWrite);
  EXPECT_TRUE(ref->extensionDictionary().isNull());
  EXPECT_TRUE(ref->createExtensionDictionary());
  EXPECT_FALSE(ref->createExtensionDictionary());
  OdDbDictionaryPtr ext = ref->extensionDictionary().safeOpenObject();
  EXPECT_EQ(ext->ownerId(), pin);
}

}  // namespace
