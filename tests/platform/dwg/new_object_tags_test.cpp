// A new object starts with the tags of its subclasses, in the order other
// programs write them and with the values they expect; once added to a
// drawing it gets its handle and owner first. Each row is one kind, as a
// writer emits it ("code value" per tag).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "zrdwg/OdDbBlockReference.h"
#include "zrdwg/OdDbBlockTableRecord.h"
#include "zrdwg/OdDbDatabase.h"
#include "zrdwg/OdDbDictionary.h"
#include "zrdwg/OdDbSymbolTable.h"
#include "zrdwg/OdDbText.h"

namespace {

std::string tagsOf(const OdDbObject& object) {
  std::string out;
  for (const DxfTag& t : object.dxfTags()) {
    if (!out.empty()) out += " | ";
    out += std::to_string(t.code) + " " + std::string(t.value);
  }
  return out;
}

struct NewObject {
  const char* kind;
  std::function<OdDbObjectPtr()> make;
  const char* tags;
};

TEST(NewObjectTags, EachKindStartsWithItsSubclassesFields) {
  const std::vector<NewObject> rows = {
      {"TEXT", [] { return OdDbObjectPtr(OdDbText::createObject()); },
       "100 AcDbEntity | 8 0 | 100 AcDbText | 10 0.0 | 20 0.0 | 30 0.0 | 40 2.5 | 1  | 100 AcDbText"},
      {"ATTRIB", [] { return OdDbObjectPtr(OdDbAttribute::createObject()); },
       "100 AcDbEntity | 8 0 | 100 AcDbText | 10 0.0 | 20 0.0 | 30 0.0 | 40 2.5 | 1  | 100 AcDbAttribute | 2  | 70 0"},
      {"ATTDEF", [] { return OdDbObjectPtr(OdDbAttributeDefinition::createObject()); },
       "100 AcDbEntity | 8 0 | 100 AcDbText | 10 0.0 | 20 0.0 | 30 0.0 | 40 2.5 | 1  | "
       "100 AcDbAttributeDefinition | 3  | 2  | 70 0"},
      {"INSERT", [] { return OdDbObjectPtr(OdDbBlockReference::createObject()); },
       "100 AcDbEntity | 8 0 | 100 AcDbBlockReference | 2  | 10 0.0 | 20 0.0 | 30 0.0"},
      {"BLOCK_RECORD", [] { return OdDbObjectPtr(OdDbBlockTableRecord::createObject()); },
       "100 AcDbSymbolTableRecord | 100 AcDbBlockTableRecord | 2  | 340 0"},
      {"APPID", [] { return OdDbObjectPtr(OdDbRegAppTableRecord::createObject()); },
       "100 AcDbSymbolTableRecord | 100 AcDbRegAppTableRecord | 2  | 70 0"},
      {"DICTIONARY", [] { return OdDbObjectPtr(OdDbDictionary::createObject()); }, "100 AcDbDictionary | 281 1"},
      {"XRECORD", [] { return OdDbObjectPtr(OdDbXrecord::createObject()); }, "100 AcDbXrecord | 280 1"},
  };
  for (const NewObject& row : rows) {
    SCOPED_TRACE(row.kind);
    OdDbObjectPtr object = row.make();
    EXPECT_EQ(object->dxfName(), row.kind);
    EXPECT_EQ(tagsOf(*object), row.tags);
  }
}

TEST(NewObjectTags, AnAddedObjectGetsItsHandleAndOwnerFirst) {
  OdDbDatabasePtr db = OdDbDatabase::createNew();
  OdDbDictionaryPtr root = db->getNamedObjectsDictionaryId().safeOpenObject(OdDb::kForWrite);
  OdSmartPtr<OdDbXrecord> record = OdDbXrecord::createObject();
  root->setAt(OdString(u"ZR_TEST"), record.get());
  const std::string handle = record->getDbHandle().hex();
  const std::string owner = root->getDbHandle().hex();
  // A dictionary's entry names it among its reactors too.
  EXPECT_EQ(tagsOf(*record), "5 " + handle + " | 102 {ACAD_REACTORS | 330 " + owner + " | 102 } | 330 " + owner +
                                 " | 100 AcDbXrecord | 280 1");

  OdDbBlockTableRecordPtr space = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
  OdDbTextPtr text = OdDbText::createObject();
  space->appendOdDbEntity(text.get());
  EXPECT_EQ(tagsOf(*text), "5 " + text->getDbHandle().hex() + " | 330 " + space->getDbHandle().hex() +
                               " | 100 AcDbEntity | 8 0 | 100 AcDbText | 10 0.0 | 20 0.0 | 30 0.0 | 40 2.5 | 1  | "
                               "100 AcDbText");
}

}  // namespace
