// What the model writes never gives the audit more to report than the drawing
// it read: every drawing under tests/ and examples/ that reads (the fuzz corpus
// included), written back as it is and after edits through the model, has no
// finding its original did not have, and none at all when the original had none.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "zrdwg/DrawingAudit.h"
#include "zrdwg/OdDbDictionary.h"
#include "drawing_builder.h"
#include "drawings_in_tree.h"
#include "dxf_text_edits.h"
#include "temp_dir.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

// Findings without their lines, which edits move: kind, handle and message.
std::multiset<std::string> findingKeys(const std::string& text, const std::string& name) {
  std::multiset<std::string> keys;
  for (const AuditFinding& f : auditDxfText(text, u(name.c_str()))) keys.insert(f.subject + ": " + f.message);
  return keys;
}

OdResBufPtr chainOf(const char* app, const char* text) {
  OdResBufPtr head = OdResBuf::newRb(OdResBuf::kDxfRegAppName, u(app));
  head->setNext(OdResBuf::newRb(OdResBuf::kDxfXdAsciiString, u(text)))
      ->setNext(OdResBuf::newRb(OdResBuf::kDxfXdInteger16, int32_t(7)));
  return head;
}

// One edit; a drawing may refuse it (OdError), which is fine as long as what
// is written afterwards still audits clean. Returns whether it was made.
template <typename F>
bool attempt(F f) {
  try {
    f();
    return true;
  } catch (const OdError&) {
    return false;
  }
}

// The edits the module makes: extended data of a new application, new
// dictionaries and records (one of them erased again, with what it owns),
// attribute texts, a new block with a reference carrying an attribute.
int editThroughTheModel(OdDbDatabase& db) {
  int made = 0;
  made += attempt([&] {
    OdDbObjectPtr nod = db.getNamedObjectsDictionaryId().safeOpenObject(OdDb::kForWrite);
    nod->setXData(chainOf("ZR_AUDIT_NOD", "on the dictionary"));
  });
  made += attempt([&] {
    OdDbBlockTableRecordPtr ms = db.getModelSpaceId().safeOpenObject();
    for (OdDbObjectIteratorPtr it = ms->newIterator(); !it->done(); it->step()) {
      OdDbEntityPtr e = it->entity(OdDb::kForWrite);
      e->setXData(chainOf("ZR_AUDIT_ENTITY", "on an entity"));
      if (auto* ref = OdDbBlockReference::cast(e.get())) {
        for (OdDbObjectIteratorPtr a = ref->attributeIterator(); !a->done(); a->step()) {
          OdDbAttributePtr attribute = a->entity(OdDb::kForWrite);
          attribute->setTextString(OdString(u"edited ") + attribute->textString());
        }
      }
    }
  });
  made += attempt([&] {
    OdDbDictionaryPtr nod = db.getNamedObjectsDictionaryId().safeOpenObject(OdDb::kForWrite);
    OdDbDictionaryPtr kept = OdDbDictionary::createObject();
    nod->setAt(u("ZR_AUDIT_KEPT"), kept.get());
    OdDbXrecordPtr record = OdDbXrecord::createObject();
    kept->setAt(u("RECORD"), record.get());
    record->setFromRbChain(chainOf("ignored", "record value")->next());
    record->setXData(chainOf("ZR_AUDIT_RECORD", "on a record"));
    record->createExtensionDictionary();

    OdDbDictionaryPtr gone = OdDbDictionary::createObject();
    nod->setAt(u("ZR_AUDIT_GONE"), gone.get());
    gone->setAt(u("RECORD"), OdDbXrecord::createObject().get());
    gone->erase();
  });
  made += attempt([&] {
    addBlock(db, "ZR_AUDIT_BLOCK", {{"TAG", "prompt"}});
    Reference r = at("ZR_AUDIT_BLOCK", 1, 2, {{"TAG", "attribute text"}});
    r.application = "ZR_AUDIT_REFERENCE";
    r.xdata = {"one", "two"};
    addReference(db, r);
  });
  return made;
}

void expectNoNewFindings(const std::multiset<std::string>& before, const std::multiset<std::string>& after,
                         const std::string& what) {
  for (const std::string& key : after)
    EXPECT_TRUE(before.count(key)) << what << ": new finding " << key;
}

TEST(WrittenDrawingAudit, WritingAndEditingAddNoFinding) {
  const fs::path top(ZR_SOURCE_DIR);
  std::vector<fs::path> drawings = drawingsUnder(top / "tests");
  for (const fs::path& p : drawingsUnder(top / "examples")) drawings.push_back(p);
  ASSERT_GT(drawings.size(), 10u);

  int read = 0, clean = 0, edits = 0;
  for (const fs::path& path : drawings) {
    const std::string name = path.lexically_relative(top).string();
    const std::string original = readFile(path.string());
    OdDbDatabasePtr db;
    try {
      db = OdDbDatabase::readDxfText(original, u(name.c_str()));
    } catch (const OdError&) {
      continue;  // refused by the reader: nothing to write
    }
    ++read;
    const std::multiset<std::string> before = findingKeys(original, name);
    if (before.empty()) ++clean;

    const std::string written = db->dxfText();
    expectNoNewFindings(before, findingKeys(written, name + " (written)"), name + " written back");

    edits += editThroughTheModel(*db);
    const std::string edited = db->dxfText();
    try {
      OdDbDatabase::readDxfText(edited, u((name + " (edited)").c_str()));
    } catch (const OdError& e) {
      ADD_FAILURE() << name << ": the edited drawing is refused: " << e.description().toUtf8();
      continue;
    }
    expectNoNewFindings(before, findingKeys(edited, name + " (edited)"), name + " edited");
  }
  // The run means something only if many drawings were read and edited.
  EXPECT_GT(read, 10);
  EXPECT_GT(clean, 3);
  EXPECT_GT(edits, 4 * clean);
}

TEST(WrittenDrawingAudit, ExtendedDataRegistersItsApplicationEvenWithoutAnAppidTable) {
  // A drawing without an APPID table: extended data set through the model adds
  // the table and the application.
  std::string text = emptyDrawingText();
  const std::size_t from = text.find("  0\nTABLE\n  2\nAPPID\n");
  const std::size_t to = text.find("  0\nENDTAB\n", from) + std::string("  0\nENDTAB\n").size();
  text.erase(from, to - from);
  text = withEntities(text, lineEntity("2F"));
  ASSERT_TRUE(findingKeys(text, "no appid table").empty());
  OdDbDatabasePtr db = OdDbDatabase::readDxfText(text, u("no appid table"));
  ASSERT_TRUE(db->getRegAppTableId().isNull());
  {
    OdDbEntityPtr line = db->getOdDbObjectId(OdDbHandle(0x2F)).safeOpenObject(OdDb::kForWrite);
    line->setXData(chainOf("ZR_PINO", "x"));
  }
  const std::string written = db->dxfText();
  EXPECT_TRUE(findingKeys(written, "written").empty());
  OdDbDatabasePtr back = OdDbDatabase::readDxfText(written, u("written"));
  OdDbSymbolTablePtr apps = back->getRegAppTableId().safeOpenObject();
  EXPECT_TRUE(apps->has(u("ZR_PINO")));
  // Where other programs put it: before DIMSTYLE.
  EXPECT_LT(written.find("  2\nAPPID\n"), written.find("  2\nDIMSTYLE\n"));
}

TEST(WrittenDrawingAudit, ErasedOwnersTakeWhatTheyOwnOutOfTheFile) {
  OdDbDatabasePtr db = OdDbDatabase::createNew(u("AC1015"));
  OdDbObjectId recordId;
  {
    OdDbDictionaryPtr nod = db->getNamedObjectsDictionaryId().safeOpenObject(OdDb::kForWrite);
    OdDbDictionaryPtr outer = OdDbDictionary::createObject();
    nod->setAt(u("OUTER"), outer.get());
    OdDbDictionaryPtr inner = OdDbDictionary::createObject();
    outer->setAt(u("INNER"), inner.get());
    recordId = inner->setAt(u("RECORD"), OdDbXrecord::createObject().get());
    // Another dictionary names the record too; that entry must go with it.
    OdDbDictionaryPtr other = OdDbDictionary::createObject();
    nod->setAt(u("OTHER"), other.get());
    other->setAt(u("ALIAS"), recordId.safeOpenObject().get());
    outer->erase();
  }
  const std::string written = db->dxfText();
  OdDbDatabasePtr back = OdDbDatabase::readDxfText(written, u("written"));
  EXPECT_TRUE(back->getOdDbObjectId(recordId.getHandle()).isNull());
  OdDbDictionaryPtr nod = back->getNamedObjectsDictionaryId().safeOpenObject();
  EXPECT_FALSE(nod->has(u("OUTER")));
  OdDbDictionaryPtr other = nod->getAt(u("OTHER"), OdDb::kForRead);
  ASSERT_FALSE(other.isNull());
  EXPECT_EQ(other->numEntries(), 0u);
  EXPECT_TRUE(findingKeys(written, "written").empty());
}

TEST(WrittenDrawingAudit, WhatTheDrawingCannotDoWithoutIsNotErased) {
  OdDbDatabasePtr db = OdDbDatabase::createNew(u("AC1015"));
  const OdDbObjectId pin = addPin(*db, "PIN-A", "X1", "C-1", "1", 0, 0);
  OdDbSymbolTablePtr apps = db->getRegAppTableId().safeOpenObject();
  const OdDbObjectId app = apps->getAt(u("ZR_PINO"));
  apps.release();
  ASSERT_FALSE(app.isNull());
  const std::string before = db->dxfText();

  struct Refusal {
    const char* what;
    OdDbObjectId id;
    OdResult code;
  };
  const std::vector<Refusal> refusals = {
      {"application still named by extended data", app, eInvalidInput},
      {"APPID table", db->getRegAppTableId(), eNotApplicable},
      {"block table", db->getBlockTableId(), eNotApplicable},
      {"model space", db->getModelSpaceId(), eNotApplicable},
      {"paper space", db->getPaperSpaceId(), eNotApplicable},
      {"named objects dictionary", db->getNamedObjectsDictionaryId(), eNotApplicable},
  };
  for (const Refusal& r : refusals) {
    OdDbObjectPtr object = r.id.safeOpenObject(OdDb::kForWrite);
    try {
      object->erase();
      ADD_FAILURE() << r.what << ": erased";
    } catch (const OdError& e) {
      EXPECT_EQ(e.code(), r.code) << r.what << ": " << e.description().toUtf8();
    }
    EXPECT_FALSE(object->isErased()) << r.what;
  }
  EXPECT_TRUE(db->dxfText() == before);
  EXPECT_TRUE(findingKeys(before, "before").empty());

  // Once no extended data names it, the application goes.
  pin.safeOpenObject(OdDb::kForWrite)->erase();
  app.safeOpenObject(OdDb::kForWrite)->erase();
  const std::string written = db->dxfText();
  EXPECT_EQ(written.find("ZR_PINO"), std::string::npos);
  EXPECT_TRUE(findingKeys(written, "written").empty());
}

}  // namespace
