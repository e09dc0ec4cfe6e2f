// Identifiers, opening, casts and erasure.
#include <gtest/gtest.h>

#include "zrdwg/OdDbDictionary.h"
#include "drawing_builder.h"
#include "temp_dir.h"

using testing_support::addPin;
using testing_support::u;

namespace {

class ObjectModel : public ::testing::Test {
 protected:
  OdDbDatabasePtr db = OdDbDatabase::createNew();
};

TEST_F(ObjectModel, NullIdentifierOpensNothing) {
  OdDbObjectId id;
  id.prefetch();  // a hint: ignored for the null identifier
  EXPECT_TRUE(id.isNull());
  EXPECT_FALSE(id.isErased());
  EXPECT_TRUE(id.openObject().isNull());
  EXPECT_TRUE(id.getHandle().isNull());
  try {
    id.safeOpenObject();
    FAIL() << "a null identifier must not open";
  } catch (const OdError& e) {
    EXPECT_EQ(e.code(), eNullObjectId);
  }
}

TEST_F(ObjectModel, FailedCastThrowsNotThatKindOfClassWithBothClasses) {
  OdDbObjectId pin = addPin(*db, "PIN-A", "X1", "C", "1", 0, 0);
  OdDbObjectPtr object = pin.openObject();
  try {
    OdDbDictionaryPtr wrong = object;
    FAIL() << "cast should have failed";
  } catch (const OdError_NotThatKindOfClass& e) {
    EXPECT_EQ(e.code(), eNotThatKindOfClass);
    EXPECT_NE(e.description().toUtf8().find("AcDbBlockReference"), std::string::npos);
    EXPECT_NE(e.description().toUtf8().find("AcDbDictionary"), std::string::npos);
  }
  // The checked cast of a fitting class works, and cast() answers null instead of throwing.
  OdDbBlockReferencePtr ref = object;
  EXPECT_FALSE(ref.isNull());
  EXPECT_EQ(OdDbDictionary::cast(object.get()), nullptr);
}

TEST_F(ObjectModel, UnknownKindsReportTheirRecordedClassInCastErrors) {
  const std::string dxf = OdDbDatabase::createNew(u("AC1015"))->dxfText();
  // A LINE is not modelled; its class comes from its subclass marker.
  std::string text = dxf;
  const std::string entities = "ENTITIES\n";
  text.insert(text.find(entities) + entities.size(),
              "  0\nLINE\n  5\n99\n330\n17\n100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n 10\n0\n 20\n0\n 30\n0\n 11\n1\n 21\n1\n 31\n0\n");
  testing_support::TempDir dir;
  testing_support::writeFile(dir.file("line.dxf"), text);
  OdDbDatabasePtr withLine = OdDbDatabase::readDxf(u(dir.file("line.dxf").c_str()));
  OdDbObjectId line = withLine->getOdDbObjectId(OdDbHandle(0x99));
  ASSERT_FALSE(line.isNull());
  try {
    OdDbBlockReferencePtr ref = line.openObject();
    FAIL() << "a line is not a block reference";
  } catch (const OdError_NotThatKindOfClass& e) {
    EXPECT_NE(e.description().toUtf8().find("AcDbLine"), std::string::npos) << e.description().toUtf8();
  }
}

TEST_F(ObjectModel, ErasedObjectsDoNotOpen) {
  OdDbObjectId pin = addPin(*db, "PIN-A", "X1", "C", "1", 0, 0);
  pin.openObject(OdDb::kForWrite)->erase();
  pin.prefetch();  // a hint: it opens nothing, and changes nothing
  EXPECT_TRUE(pin.isErased());
  EXPECT_FALSE(pin.isValid());
  EXPECT_TRUE(pin.openObject().isNull());
  EXPECT_FALSE(pin.openObject(OdDb::kForRead, true).isNull());
  try {
    pin.safeOpenObject();
    FAIL();
  } catch (const OdError& e) {
    EXPECT_EQ(e.code(), eWasErased);
  }
  // The handle still finds it, and an erased object is left out of the file.
  EXPECT_EQ(db->getOdDbObjectId(pin.getHandle()), pin);
  EXPECT_EQ(db->dxfText().find("\n" + pin.getHandle().hex() + "\n330"), std::string::npos);
}

TEST_F(ObjectModel, WritingNeedsAnObjectOpenForWrite) {
  OdDbObjectId pin = addPin(*db, "PIN-A", "X1", "C", "1", 0, 0);
  {
    OdDbBlockReferencePtr ref = pin.openObject(OdDb::kForRead);
    EXPECT_THROW(ref->setLayer(u("OTHER")), OdError);
  }
  {
    OdDbBlockReferencePtr ref = pin.openObject(OdDb::kForWrite);
    ref->setLayer(u("OTHER"));
  }
  // Closed again once the last pointer is gone.
  OdDbBlockReferencePtr again = pin.openObject();
  EXPECT_EQ(again->layer().toUtf8(), "OTHER");
  EXPECT_FALSE(again->isWriteEnabled());
}

TEST_F(ObjectModel, HandlesTurnBackIntoIdentifiersWithoutCreatingAny) {
  OdDbObjectId pin = addPin(*db, "PIN-A", "X1", "C", "1", 0, 0);
  OdDbHandle h;
  h = pin.getHandle().ascii();
  EXPECT_EQ(db->getOdDbObjectId(h), pin);
  const OdDbHandle seed = db->handseed();
  EXPECT_TRUE(db->getOdDbObjectId(OdDbHandle(seed.value() + 100), true).isNull());
  EXPECT_EQ(db->handseed().value(), seed.value());
}

TEST_F(ObjectModel, NewObjectsTakeHandlesFromTheSeed) {
  const uint64_t seed = db->handseed().value();
  OdDbObjectId pin = addPin(*db, "PIN-A", "X1", "C", "1", 0, 0);
  EXPECT_GE(pin.getHandle().value(), seed);
  EXPECT_GT(db->handseed().value(), pin.getHandle().value());
}

TEST_F(ObjectModel, SystemVariablesComeFromTheHostThenTheHeader) {
  OdResBufPtr version = db->getSysVar(u("ACADVER"));
  ASSERT_FALSE(version.isNull());
  EXPECT_EQ(version->getString().toUtf8(), "AC1027");
  OdResBufPtr insbase = db->getSysVar(u("insbase"));
  ASSERT_FALSE(insbase.isNull());
  EXPECT_EQ(insbase->restype(), 10);
  EXPECT_TRUE(db->getSysVar(u("PROGRAM")).isNull());

  OdDbDatabase::setHostSysVar(u("PROGRAM"), OdResBuf::newRb(OdResBuf::kDxfText, u("zrhost")));
  OdResBufPtr program = db->getSysVar(u("PROGRAM"));
  ASSERT_FALSE(program.isNull());
  EXPECT_EQ(program->getString().toUtf8(), "zrhost");
  OdDbDatabase::setHostSysVar(u("PROGRAM"), nullptr);
  EXPECT_TRUE(db->getSysVar(u("PROGRAM")).isNull());
}

TEST_F(ObjectModel, NewDrawingsOfEveryVersionReadBack) {
  for (const char* v : {"AC1015", "AC1018", "AC1021", "AC1024", "AC1027", "AC1032"}) {
    OdDbDatabasePtr fresh = OdDbDatabase::createNew(u(v));
    EXPECT_EQ(fresh->version().toUtf8(), v);
    EXPECT_FALSE(fresh->getModelSpaceId().isNull());
    EXPECT_FALSE(fresh->getPaperSpaceId().isNull());
    EXPECT_FALSE(fresh->getNamedObjectsDictionaryId().isNull());
  }
  EXPECT_THROW(OdDbDatabase::createNew(u("AC1009")), OdError);
}

}  // namespace
