// A block definition that no BLOCK_RECORD names (its BLOCK owned by a record
// handle the writing program never emitted): the drawing opens, the block is
// written back byte for byte in its place, the audit reports it, and `--fix`
// gives it a record, or removes it when its name is taken.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "zrdwg/DrawingAudit.h"
#include "zrdwg/DrawingRepair.h"
#include "zrdwg/OdDbBlockReference.h"
#include "zrdwg/OdDbBlockTableRecord.h"
#include "zrdwg/OdDbDatabase.h"
#include "audit_text.h"
#include "drawing_builder.h"
#include "dxf_text_edits.h"

using namespace testing_support;

namespace {

// BLOCK, LINE and ENDBLK of a block named `name`, all owned by record `owner`.
std::string block(const std::string& name, const std::string& owner, int firstHandle) {
  auto hex = [](int h) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(h));
    return std::string(buf);
  };
  return "  0\nBLOCK\n  5\n" + hex(firstHandle) + "\n330\n" + owner + "\n100\nAcDbEntity\n  8\n0\n100\nAcDbBlockBegin\n  2\n" +
         name + "\n 70\n0\n 10\n0.0\n 20\n0.0\n 30\n0.0\n  3\n" + name + "\n  1\n\n" +
         lineEntity(hex(firstHandle + 1), owner) + "  0\nENDBLK\n  5\n" + hex(firstHandle + 2) + "\n330\n" + owner +
         "\n100\nAcDbEntity\n  8\n0\n100\nAcDbBlockEnd\n";
}

// The empty drawing with `blocks` after model space's block and a reference
// (INSERT 93) of "ORFAO" in model space.
std::string drawingWith(const char* version, const std::string& blocks) {
  std::string t = roomyDrawingText(version);
  const std::string msEnd = "AcDbBlockEnd\n";
  t.insert(t.find(msEnd) + msEnd.size(), blocks);
  return withEntities(t, "  0\nINSERT\n  5\n93\n330\n17\n100\nAcDbEntity\n  8\n0\n100\nAcDbBlockReference\n  2\nORFAO\n"
                         " 10\n0.0\n 20\n0.0\n 30\n0.0\n");
}

OdDbObjectPtr open(OdDbDatabase& db, uint64_t handle) {
  return db.getOdDbObjectId(OdDbHandle(handle)).openObject(OdDb::kForRead);
}

TEST(UnlistedBlock, OpensAndIsWrittenBackUnchangedInEveryVersionAndLineEnd) {
  for (const char* version : kDxfVersions) {
    const std::string lf = drawingWith(version, block("ORFAO", "1D", 0x90));
    for (const std::string& text : {lf, crlf(lf)}) {
      const std::string where = std::string(version) + (text == lf ? ", LF" : ", CRLF");
      try {
        OdDbDatabasePtr db = OdDbDatabase::readDxfText(text, u("in"));
        EXPECT_EQ(db->dxfText(), text) << where;
        // Nothing of the model reaches a record that does not exist.
        OdDbBlockTablePtr table = db->getBlockTableId().safeOpenObject();
        EXPECT_TRUE(table->getAt(u("ORFAO")).isNull()) << where;
        OdDbBlockReferencePtr reference = open(*db, 0x93);
        EXPECT_TRUE(reference->blockTableRecord().isNull()) << where;
        EXPECT_EQ(open(*db, 0x91)->dxfName(), "LINE") << where;
        EXPECT_TRUE(open(*db, 0x91)->ownerId().isNull()) << where;
        EXPECT_TRUE(open(*db, 0x90)->ownerId().isNull()) << where;
      } catch (const OdError& e) {
        ADD_FAILURE() << where << ": " << e.description().toUtf8();
      }
    }
  }
}

TEST(UnlistedBlock, AuditReportsTheBlockAndItsOwners) {
  for (const char* version : {"AC1015", "AC1032"}) {
    const std::string t = drawingWith(version, block("ORFAO", "1D", 0x90));
    const std::size_t begin = lineAt(t, "  0\nBLOCK\n  5\n90\n");
    const std::vector<std::string> expected = {
        line(begin, "BLOCK 90: the block \"ORFAO\" has no BLOCK_RECORD table entry"),
        line(begin + 4, "BLOCK 90: owner 1D does not exist"),
        line(lineAt(t, "  5\n91\n330\n1D\n") + 2, "LINE 91: owner 1D does not exist"),
        line(lineAt(t, "  5\n92\n330\n1D\n") + 2, "ENDBLK 92: owner 1D does not exist"),
    };
    EXPECT_EQ(texts(auditDxfText(t, u("in"))), expected) << version;
  }
}

TEST(UnlistedBlock, FixCreatesTheRecordWithTheHandleTheBlockNames) {
  const std::string t = drawingWith("AC1018", block("ORFAO", "1D", 0x90));
  std::vector<AuditFinding> changes;
  const std::string repaired = repairDxfText(t, u("in"), changes);
  EXPECT_EQ(texts(changes), std::vector<std::string>{line(lineAt(t, "  0\nBLOCK\n  5\n90\n"),
                                                          "BLOCK 90: BLOCK_RECORD 1D created for the block \"ORFAO\", "
                                                          "which had none")});
  EXPECT_EQ(texts(auditDxfText(repaired, u("repaired"))), std::vector<std::string>{}) << repaired;
  OdDbDatabasePtr db = OdDbDatabase::readDxfText(repaired, u("repaired"));
  OdDbBlockTablePtr table = db->getBlockTableId().safeOpenObject();
  const OdDbObjectId record = table->getAt(u("ORFAO"));
  ASSERT_FALSE(record.isNull());
  EXPECT_EQ(record.getHandle().value(), 0x1Du);
  OdDbBlockReferencePtr reference = open(*db, 0x93);
  EXPECT_EQ(reference->blockTableRecord(), record);
  EXPECT_EQ(open(*db, 0x91)->ownerId(), record);
  // The block's objects are written as they were read, in their place
  // between model space's block and paper space's.
  const std::size_t at = repaired.find(block("ORFAO", "1D", 0x90));
  ASSERT_NE(at, std::string::npos);
  EXPECT_LT(repaired.find("AcDbBlockBegin\n  2\n*Model_Space"), at);
  EXPECT_GT(repaired.find("AcDbBlockBegin\n  2\n*Paper_Space"), at);
  std::vector<AuditFinding> again;
  EXPECT_EQ(repairDxfText(repaired, u("repaired"), again), repaired);
  EXPECT_TRUE(again.empty());
}

TEST(UnlistedBlock, FixGivesANewHandleWhenTheNamedOneIsTakenAndRemovesABlockWhoseNameIsTaken) {
  // The first block names the LAYER table as owner; the second has the
  // first one's name.
  const std::string first = block("ORFAO", "2", 0x90), second = block("orfao", "1D", 0xA0);
  const std::string t = drawingWith("AC1015", first + second);
  std::vector<AuditFinding> changes;
  const std::string repaired = repairDxfText(t, u("in"), changes);
  const std::vector<std::string> expected = {
      line(lineAt(t, "  0\nBLOCK\n  5\n90\n"), "BLOCK 90: BLOCK_RECORD 100 created for the block \"ORFAO\", which had none"),
      line(lineAt(t, "  0\nBLOCK\n  5\nA0\n"),
           "BLOCK A0: the block \"orfao\", which has no BLOCK_RECORD and whose name is taken, removed"),
  };
  EXPECT_EQ(texts(changes), expected);
  EXPECT_EQ(repaired.find("  5\nA1\n"), std::string::npos);
  EXPECT_NE(repaired.find("  5\n91\n"), std::string::npos);
  OdDbDatabasePtr db = OdDbDatabase::readDxfText(repaired, u("repaired"));
  OdDbBlockReferencePtr reference = open(*db, 0x93);
  EXPECT_EQ(reference->blockTableRecord().getHandle().value(), 0x100u);
  // $HANDSEED moved past the new handle.
  EXPECT_NE(repaired.find("$HANDSEED\n  5\n101\n"), std::string::npos);
}

}  // namespace
