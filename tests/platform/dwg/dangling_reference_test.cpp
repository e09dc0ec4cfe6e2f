// Drawings whose references name handles they do not hold, as other programs
// leave them: they open, answer the null identifier for what is missing, are
// written back byte for byte, are audited with the right finding at the right
// line, and `--fix` repairs what it can.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "zrdwg/DrawingAudit.h"
#include "zrdwg/DrawingRepair.h"
#include "zrdwg/OdDbBlockTableRecord.h"
#include "zrdwg/OdDbDatabase.h"
#include "zrdwg/OdDbDictionary.h"
#include "audit_text.h"
#include "drawing_builder.h"
#include "dxf_text_edits.h"
#include "temp_dir.h"

using namespace testing_support;

namespace {

OdDbObjectPtr open(OdDbDatabase& db, uint64_t handle) {
  return db.getOdDbObjectId(OdDbHandle(handle)).openObject(OdDb::kForRead);
}

struct Case {
  const char* name;
  std::function<std::string(const std::string&)> make;  // the drawing from the empty one (LF)
  const char* marker;                                   // the line the finding names
  const char* finding;                                  // "KIND H: message"
  const char* change;                                   // what --fix does, or null: kept
  std::function<void(OdDbDatabase&)> model;             // what the model answers
};

std::vector<Case> cases() {
  return {
      {"entity owned by a missing block record",
       [](const std::string& t) { return withEntities(t, lineEntity("99", "9A")); }, "330\n9A\n",
       "LINE 99: owner 9A does not exist", "LINE 99: owner 9A (which does not exist) set to 17, its container",
       [](OdDbDatabase& db) { EXPECT_EQ(open(db, 0x99)->ownerId(), db.getModelSpaceId()); }},
      {"BLOCK owned by a record handle never written",
       [](const std::string& t) { return replaced(t, "BLOCK\n  5\n19\n330\n17\n", "BLOCK\n  5\n19\n330\nFB\n"); },
       "330\nFB\n", "BLOCK 19: owner FB does not exist",
       "BLOCK 19: owner FB (which does not exist) set to 17, its container",
       [](OdDbDatabase& db) {
         OdDbBlockTableRecordPtr ms = db.getModelSpaceId().safeOpenObject();
         EXPECT_TRUE(ms->newIterator()->done());
       }},
      {"dictionary entry left pointing at a removed object",
       [](const std::string& t) { return replaced(t, "  3\nACAD_GROUP\n350\nD\n", "  3\nACAD_GROUP\n350\nD\n  3\nGONE\n350\n2398\n"); },
       "  3\nGONE\n", "DICTIONARY C: entry \"GONE\" refers to handle 2398, which does not exist",
       "DICTIONARY C: entry \"GONE\" (handle 2398, which does not exist) removed",
       [](OdDbDatabase& db) {
         OdDbDictionaryPtr nod = db.getNamedObjectsDictionaryId().safeOpenObject();
         EXPECT_TRUE(nod->getAt(u("GONE")).isNull());
         EXPECT_TRUE(nod->getAt(u("GONE"), OdDb::kForRead).isNull());
         EXPECT_FALSE(nod->getAt(u("ACAD_GROUP")).isNull());
         // The iterator lists the entry with an identifier that does not open.
         bool seen = false;
         for (OdDbDictionaryIteratorPtr it = nod->newIterator(OdRx::kDictSorted); !it->done(); it->next()) {
           if (it->name() != u("GONE")) continue;
           seen = true;
           EXPECT_TRUE(it->objectId().isNull());
           EXPECT_TRUE(it->getObject().isNull());
         }
         EXPECT_TRUE(seen);
       }},
      {"object owned by a missing handle, held by a dictionary",
       [](const std::string& t) {
         return withObjects(replaced(t, "  3\nACAD_GROUP\n350\nD\n", "  3\nACAD_GROUP\n350\nD\n  3\nZR\n350\nE2\n"),
                            "  0\nXRECORD\n  5\nE2\n330\n9A\n100\nAcDbXrecord\n280\n1\n  1\nx\n");
       },
       "330\n9A\n", "XRECORD E2: owner 9A does not exist",
       "XRECORD E2: owner 9A (which does not exist) set to C, its container",
       [](OdDbDatabase& db) { EXPECT_TRUE(open(db, 0xE2)->ownerId().isNull()); }},
      {"reactor",
       [](const std::string& t) {
         return withEntities(t, replaced(lineEntity("99"), "330\n17\n", "102\n{ACAD_REACTORS\n330\n9B\n102\n}\n330\n17\n"));
       },
       "330\n9B\n", "LINE 99: reactor 9B does not exist", "LINE 99: reactor 9B (which does not exist) removed",
       [](OdDbDatabase& db) { EXPECT_EQ(open(db, 0x99)->ownerId(), db.getModelSpaceId()); }},
      {"extension dictionary",
       [](const std::string& t) {
         return withEntities(t, replaced(lineEntity("99"), "330\n17\n", "102\n{ACAD_XDICTIONARY\n360\n9C\n102\n}\n330\n17\n"));
       },
       "360\n9C\n", "LINE 99: extension dictionary 9C does not exist",
       "LINE 99: extension dictionary 9C (which does not exist) removed",
       [](OdDbDatabase& db) { EXPECT_TRUE(open(db, 0x99)->extensionDictionary().isNull()); }},
      {"pointer in extended data",
       [](const std::string& t) { return withEntities(t, lineEntity("99") + "1001\nACAD\n1005\n9D\n"); }, "1005\n9D\n",
       "LINE 99: extended data of application \"ACAD\" points to handle 9D, which does not exist", nullptr,
       [](OdDbDatabase& db) {
         OdResBufPtr xd = open(db, 0x99)->xData(u("ACAD"));
         ASSERT_FALSE(xd.isNull());
         ASSERT_FALSE(xd->next().isNull());
         EXPECT_EQ(xd->next()->getHandle().value(), 0x9Du);
         EXPECT_TRUE(db.getOdDbObjectId(xd->next()->getHandle()).isNull());
       }},
      {"pointer in an XRECORD",
       [](const std::string& t) {
         return withObjects(t, "  0\nXRECORD\n  5\nE0\n330\nC\n100\nAcDbXrecord\n280\n1\n340\n9E\n");
       },
       "340\n9E\n", "XRECORD E0: pointer 9E (group code 340) does not exist", nullptr,
       [](OdDbDatabase& db) { EXPECT_FALSE(open(db, 0xE0).isNull()); }},
      {"soft and hard pointers of an object of unknown kind",
       [](const std::string& t) {
         return withObjects(t, "  0\nZRCUSTOMOBJECT\n  5\nE1\n330\nC\n100\nZrCustomObject\n330\n9F\n360\nA0\n");
       },
       "330\n9F\n", "ZRCUSTOMOBJECT E1: pointer 9F (group code 330) does not exist", nullptr,
       [](OdDbDatabase& db) { EXPECT_EQ(open(db, 0xE1)->className(), u("ZrCustomObject")); }},
  };
}

TEST(DanglingReferences, OpenAndAreWrittenBackUnchangedInEveryVersionAndLineEnd) {
  TempDir dir;
  for (const Case& c : cases()) {
    for (const char* version : kDxfVersions) {
      for (bool useCrlf : {false, true}) {
        const std::string lf = c.make(roomyDrawingText(version));
        const std::string text = useCrlf ? crlf(lf) : lf;
        const std::string where = std::string(c.name) + ", " + version + (useCrlf ? ", CRLF" : ", LF");
        const std::string path = dir.file("in.dxf");
        writeFile(path, text);
        try {
          OdDbDatabasePtr db = OdDbDatabase::readDxf(u(path.c_str()));
          c.model(*db);
          EXPECT_EQ(db->dxfText(), text) << where;
        } catch (const OdError& e) {
          ADD_FAILURE() << where << ": " << e.description().toUtf8();
        }
      }
    }
  }
}

TEST(DanglingReferences, AuditReportsEachAtItsLine) {
  for (const Case& c : cases()) {
    for (const char* version : {"AC1015", "AC1032"}) {
      const std::string t = c.make(roomyDrawingText(version));
      std::vector<std::string> expected = {line(lineAt(t, c.marker), c.finding)};
      if (std::string(c.name).find("unknown kind") != std::string::npos)
        expected.push_back(line(lineAt(t, "360\nA0\n"), "ZRCUSTOMOBJECT E1: pointer A0 (group code 360) does not exist"));
      EXPECT_EQ(texts(auditDxfText(t, u("in"))), expected) << c.name << ", " << version;
    }
  }
}

TEST(DanglingReferences, FixRepairsWhatItCanAndListsIt) {
  for (const Case& c : cases()) {
    const std::string t = c.make(roomyDrawingText("AC1018"));
    std::vector<AuditFinding> changes;
    const std::string repaired = repairDxfText(t, u("in"), changes);
    if (!c.change) {
      EXPECT_TRUE(changes.empty()) << c.name;
      EXPECT_EQ(repaired, t) << c.name;
      continue;
    }
    EXPECT_EQ(texts(changes), std::vector<std::string>{line(lineAt(t, c.marker), c.change)}) << c.name;
    EXPECT_EQ(texts(auditDxfText(repaired, u("repaired"))), std::vector<std::string>{}) << c.name << "\n" << repaired;
    // The copy reads, and a second repair finds nothing to do.
    std::vector<AuditFinding> again;
    EXPECT_EQ(repairDxfText(repaired, u("repaired"), again), repaired) << c.name;
    EXPECT_TRUE(again.empty()) << c.name;
  }
}

TEST(DanglingReferences, FixWritesACopyAndNeverTheOriginal) {
  TempDir dir;
  const std::string t = cases()[2].make(roomyDrawingText());
  const std::string in = dir.file("in.dxf"), out = dir.file("out.dxf");
  writeFile(in, t);
  const std::vector<AuditFinding> changes = repairDxfFile(u(in.c_str()), u(out.c_str()));
  EXPECT_EQ(changes.size(), 1u);
  EXPECT_EQ(readFile(in), t);
  EXPECT_EQ(readFile(out).find("GONE"), std::string::npos);
  for (const std::string& same : {in, dir.path().string() + "/./in.dxf"}) {
    EXPECT_THROW(repairDxfFile(u(in.c_str()), u(same.c_str())), OdError) << same;
    EXPECT_EQ(readFile(in), t) << same;
  }
}

TEST(DanglingReferences, DuplicateHandlesAreStillRefusedAndNotRepaired) {
  const std::string t = withEntities(roomyDrawingText(), lineEntity("99") + lineEntity("99"));
  EXPECT_THROW(OdDbDatabase::readDxfText(t, u("in")), OdError);
  std::vector<AuditFinding> changes;
  try {
    repairDxfText(t, u("in"), changes);
    ADD_FAILURE() << "repaired a drawing with duplicate handles";
  } catch (const OdError& e) {
    EXPECT_NE(e.description().toUtf8().find("already used"), std::string::npos) << e.description().toUtf8();
  }
}

TEST(DanglingReferences, CommentsBetweenSectionsStayInPlace) {
  std::string t = roomyDrawingText();
  t = "999\nwritten by hand\n" + t;
  t = replaced(t, "  0\nENDSEC\n  0\nSECTION\n  2\nTABLES\n", "  0\nENDSEC\n999\none\n999\ntwo\n  0\nSECTION\n  2\nTABLES\n");
  t = replaced(t, "  0\nEOF\n", "999\nlast\n  0\nEOF\n");
  for (const std::string& text : {t, crlf(t)}) EXPECT_EQ(OdDbDatabase::readDxfText(text, u("in"))->dxfText(), text);
}

}  // namespace
