// Reading DXF: what is refused (with file and line), what is accepted, and text encodings.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "zrdwg/OdDbBlockReference.h"
#include "zrdwg/OdDbBlockTableRecord.h"
#include "zrdwg/OdDbDictionary.h"
#include "zrdwg/OdDbText.h"
#include "drawing_builder.h"
#include "temp_dir.h"

using namespace testing_support;

namespace {

std::string baseText(const char* version = "AC1015") { return OdDbDatabase::createNew(u(version))->dxfText(); }

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  auto at = text.find(from);
  if (at == std::string::npos) throw std::runtime_error("marker not found: " + from);
  return text.replace(at, from.size(), to);
}

std::string withEntity(const std::string& text, const std::string& entity) {
  return replaced(text, "ENTITIES\n", "ENTITIES\n" + entity);
}

const std::string kLine =
    "  0\nLINE\n  5\n99\n330\n17\n100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n 10\n0\n 20\n0\n 30\n0\n 11\n1\n 21\n1\n 31\n0\n";

struct Refused {
  const char* name;
  std::string text;
  const char* message;  // expected in the error
  bool namesLine;
};

TEST(DxfRead, BadInputIsRefusedNamingFileAndLine) {
  const std::string base = baseText();
  const std::vector<Refused> cases = {
      {"truncated", base.substr(0, base.size() / 2), "ends", true},
      {"non-numeric code", replaced(base, "  9\n$DWGCODEPAGE", "  x\n$DWGCODEPAGE"), "is not a number", true},
      {"odd number of lines", base.substr(0, base.size() - 1 - std::string("EOF\n").size()) + "\n", "without its value",
       true},
      {"unknown section", replaced(base, "CLASSES", "GADGETS"), "unknown section \"GADGETS\"", true},
      {"binary", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + "rest", "binary DXF", true},
      {"R12", replaced(base, "AC1015", "AC1009"), "AC1009 is not supported", true},
      {"newer than R2018", replaced(base, "AC1015", "AC1040"), "AC1040 is not supported", true},
      {"no header", "  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n  0\nEOF\n", "no HEADER", true},
      {"duplicate handle", withEntity(base, replaced(kLine, "  5\n99\n", "  5\n17\n")), "already used", true},
      {"table without ENDTAB", replaced(base, "  0\nENDTAB\n  0\nTABLE\n  2\nLTYPE", "  0\nTABLE\n  2\nLTYPE"),
       "no ENDTAB", true},
      {"empty", "", "empty", true},
      {"no EOF", replaced(base, "  0\nEOF\n", ""), "without an EOF", true},
      {"handle that is not hex", withEntity(base, replaced(kLine, "  5\n99\n", "  5\nXYZ\n")), "not a handle", true},
  };
  TempDir dir;
  for (const Refused& c : cases) {
    const std::string path = dir.file("bad.dxf");
    writeFile(path, c.text);
    try {
      OdDbDatabase::readDxf(u(path.c_str()));
      ADD_FAILURE() << c.name << ": was accepted";
    } catch (const OdError& e) {
      const std::string message = e.description().toUtf8();
      EXPECT_NE(message.find(c.message), std::string::npos) << c.name << ": " << message;
      EXPECT_NE(message.find(path), std::string::npos) << c.name << ": " << message;
      if (c.namesLine) {
        EXPECT_NE(message.find(path + ":"), std::string::npos) << c.name << ": " << message;
      }
    }
  }
}

TEST(DxfRead, MissingFileIsReported) {
  try {
    OdDbDatabase::readDxf(u("/nonexistent/folder/drawing.dxf"));
    FAIL();
  } catch (const OdError& e) {
    EXPECT_EQ(e.code(), eCantOpenFile);
    EXPECT_NE(e.description().toUtf8().find("/nonexistent/folder/drawing.dxf"), std::string::npos);
  }
}

struct Accepted {
  const char* name;
  std::string text;
};

TEST(DxfRead, VariantsOtherProgramsWriteAreReadAndWrittenBackStably) {
  const std::string base = baseText();
  std::string crlf;
  for (char ch : base) crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
  std::string unpadded;
  for (std::size_t i = 0; i < base.size();) {
    std::size_t nl = base.find('\n', i);
    std::string line = base.substr(i, nl - i);
    unpadded += line.substr(line.find_first_not_of(' ') == std::string::npos ? 0 : line.find_first_not_of(' ')) + "\n";
    i = nl + 1;
  }
  const std::vector<Accepted> cases = {
      {"CRLF", crlf},
      {"byte order mark", "\xEF\xBB\xBF" + base},
      {"codes without padding", unpadded},
      {"comments", "999\nmade by hand\n" + base},
      {"dangling owner", withEntity(base, replaced(kLine, "330\n17\n", "330\nFFFF\n"))},
      {"dangling dictionary entry", replaced(base, "350\nD\n", "350\nABCD\n")},
      {"entity without owner", withEntity(base, replaced(kLine, "330\n17\n", ""))},
      {"entity without handle", withEntity(base, replaced(kLine, "  5\n99\n", ""))},
      {"trailing spaces kept", withEntity(base, replaced(kLine, "  8\n0\n", "  8\nLAYER 1  \n"))},
      {"handle seed too low", replaced(base, "$HANDSEED\n  5\n30\n", "$HANDSEED\n  5\n2\n")},
      {"entities in the model space block",
       replaced(base, "AcDbBlockBegin\n  2\n*Model_Space\n 70\n0\n 10\n0.0\n 20\n0.0\n 30\n0.0\n  3\n*Model_Space\n  1\n\n",
                "AcDbBlockBegin\n  2\n*Model_Space\n 70\n0\n 10\n0.0\n 20\n0.0\n 30\n0.0\n  3\n*Model_Space\n  1\n\n" +
                    kLine)},
  };
  TempDir dir;
  for (const Accepted& c : cases) {
    const std::string in = dir.file("in.dxf"), out1 = dir.file("out1.dxf"), out2 = dir.file("out2.dxf");
    writeFile(in, c.text);
    try {
      OdDbDatabasePtr db = OdDbDatabase::readDxf(u(in.c_str()));
      db->writeDxf(u(out1.c_str()));
      OdDbDatabase::readDxf(u(out1.c_str()))->writeDxf(u(out2.c_str()));
      EXPECT_EQ(readFile(out1), readFile(out2)) << c.name;
      if (c.text.find("  5\n99\n") != std::string::npos) {
        EXPECT_GT(db->handseed().value(), 0x99u) << c.name;
      }
    } catch (const OdError& e) {
      ADD_FAILURE() << c.name << ": " << e.description().toUtf8();
    }
  }
}

TEST(DxfRead, UnchangedDrawingIsWrittenBackByteForByte) {
  const std::string base = replaced(withEntity(baseText(), replaced(kLine, "  8\n0\n", "  8\nLAYER 1  \n")),
                                    "$HANDSEED\n  5\n30\n", "$HANDSEED\n  5\n9A\n");
  std::string crlf;
  for (char ch : base) crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
  TempDir dir;
  for (const std::string& text : {base, crlf, "\xEF\xBB\xBF" + base}) {
    writeFile(dir.file("in.dxf"), text);
    OdDbDatabase::readDxf(u(dir.file("in.dxf").c_str()))->writeDxf(u(dir.file("out.dxf").c_str()));
    EXPECT_EQ(readFile(dir.file("out.dxf")), text);
  }
}

TEST(DxfRead, EntitiesWithoutHandlesGetFreshOnesAboveTheSeed) {
  TempDir dir;
  writeFile(dir.file("in.dxf"), withEntity(baseText(), replaced(kLine, "  5\n99\n", "")));
  OdDbDatabasePtr db = OdDbDatabase::readDxf(u(dir.file("in.dxf").c_str()));
  OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject();
  OdDbObjectIteratorPtr it = ms->newIterator();
  ASSERT_FALSE(it->done());
  EXPECT_EQ(it->objectId().getHandle().value(), 0x30u);
  EXPECT_EQ(db->handseed().value(), 0x31u);
  EXPECT_NE(db->dxfText().find("$HANDSEED\n  5\n31\n"), std::string::npos);
}

// The INSERT with the given handle in text, with its block name (group 2)
// replaced by `name`.
std::string withReferenceNamed(std::string text, const OdDbObjectId& reference, const std::string& name) {
  const std::size_t at = text.find("  0\nINSERT\n  5\n" + reference.getHandle().ascii().toUtf8() + "\n");
  const std::string nameTag = "\n  2\n";
  const std::size_t tag = text.find(nameTag, at);
  if (at == std::string::npos || tag == std::string::npos) throw std::runtime_error("reference not found");
  const std::size_t value = tag + nameTag.size();
  return text.replace(value, text.find('\n', value) - value, name);
}

std::vector<uint64_t> referenceHandles(const OdDbBlockTableRecord& block) {
  OdDbObjectIdArray ids;
  block.getBlockReferenceIds(ids);
  std::vector<uint64_t> handles;
  for (const OdDbObjectId& id : ids) handles.push_back(id.getHandle().value());
  return handles;
}

// text with its TABLES section moved after its ENTITIES: the block records
// then come after the references that name them.
std::string withTablesLast(const std::string& text) {
  const std::size_t at = text.find("  0\nSECTION\n  2\nTABLES\n");
  const std::string end = "  0\nENDSEC\n";
  const std::size_t after = text.find(end, at) + end.size();
  const std::string tables = text.substr(at, after - at);
  std::string moved = text;
  moved.erase(at, after - at);
  return replaced(moved, "  0\nSECTION\n  2\nOBJECTS\n", tables + "  0\nSECTION\n  2\nOBJECTS\n");
}

TEST(DxfRead, ReferencesReadFindTheirBlocksAndComeInHandleOrderWhateverTheFilesOrder) {
  OdDbDatabasePtr made = OdDbDatabase::createNew();
  addBlock(*made, "PIN-A", {});
  addBlock(*made, "HOLDER", {});
  OdDbBlockTablePtr madeTable = made->getBlockTableId().safeOpenObject();
  // Written in the BLOCKS section, before the references in model space.
  const OdDbObjectId inBlock = addReference(*made, at("PIN-A", 1, 1), madeTable->getAt(u("HOLDER")));
  const OdDbObjectId firstInModelSpace = addReference(*made, at("PIN-A", 2, 2));
  const OdDbObjectId otherCase = addReference(*made, at("PIN-A", 3, 3));
  const OdDbObjectId unknown = addReference(*made, at("PIN-A", 4, 4));
  const OdDbObjectId holder = addReference(*made, at("HOLDER", 5, 5));
  const OdDbObjectId last = addReference(*made, at("PIN-A", 6, 6));
  const std::string inHandleOrder =
      withReferenceNamed(withReferenceNamed(made->dxfText(), otherCase, "pin-a"), unknown, "NO-SUCH-BLOCK");
  // Without a handle, the first reference in model space is given one above
  // every other: the references are no longer read in handle order.
  const std::string renumbered = replaced(
      inHandleOrder, "  0\nINSERT\n  5\n" + firstInModelSpace.getHandle().ascii().toUtf8() + "\n", "  0\nINSERT\n");

  for (const auto& [name, text] : std::vector<std::pair<const char*, std::string>>{
           {"in handle order", inHandleOrder},
           {"renumbered", renumbered},
           {"tables last", withTablesLast(inHandleOrder)},
           {"renumbered, tables last", withTablesLast(renumbered)}}) {
    SCOPED_TRACE(name);
    OdDbDatabasePtr db = OdDbDatabase::readDxfText(text, u("references.dxf"));
    OdDbBlockTablePtr table = db->getBlockTableId().safeOpenObject();
    OdDbBlockTableRecordPtr pin = table->getAt(u("PIN-A"), OdDb::kForRead);
    OdDbBlockTableRecordPtr holderBlock = table->getAt(u("HOLDER"), OdDb::kForRead);
    OdDbBlockTableRecordPtr modelSpace = db->getModelSpaceId().safeOpenObject();
    const uint64_t first = modelSpace->newIterator()->objectId().getHandle().value();
    if (text == renumbered) {
      EXPECT_GT(first, last.getHandle().value());
    }

    std::vector<uint64_t> expected{inBlock.getHandle().value(), first, otherCase.getHandle().value(),
                                   last.getHandle().value()};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(referenceHandles(*pin), expected);
    EXPECT_EQ(referenceHandles(*holderBlock), (std::vector<uint64_t>{holder.getHandle().value()}));
    auto blockOf = [&](uint64_t handle) {
      OdDbBlockReferencePtr reference = db->getOdDbObjectId(OdDbHandle(handle)).safeOpenObject();
      return reference->blockTableRecord();
    };
    for (uint64_t handle : expected) EXPECT_EQ(blockOf(handle), pin->objectId()) << handle;
    EXPECT_EQ(blockOf(holder.getHandle().value()), holderBlock->objectId());
    EXPECT_TRUE(blockOf(unknown.getHandle().value()).isNull());

    // Each reference knows its block as its block knows it: one repointed
    // leaves the list of the block it had.
    OdDbBlockReferencePtr moved = db->getOdDbObjectId(last.getHandle()).safeOpenObject(OdDb::kForWrite);
    moved->setBlockTableRecord(holderBlock->objectId());
    expected.erase(std::find(expected.begin(), expected.end(), last.getHandle().value()));
    EXPECT_EQ(referenceHandles(*pin), expected);
    EXPECT_EQ(referenceHandles(*holderBlock),
              (std::vector<uint64_t>{holder.getHandle().value(), last.getHandle().value()}));
  }
}

TEST(DxfRead, EveryObjectBelongsToWhatItsOwnerTagNamesWhereverThatIsRead) {
  const std::string paper = OdDbDatabase::createNew()->getPaperSpaceId().getHandle().ascii().toUtf8();
  auto insert = [](const char* handle) {
    return "  0\nINSERT\n  5\n" + std::string(handle) +
           "\n330\n17\n100\nAcDbEntity\n  8\n0\n100\nAcDbBlockReference\n 66\n1\n  2\nNONE\n 10\n0\n 20\n0\n 30\n0\n";
  };
  auto attrib = [](const char* handle, const char* owner) {
    return "  0\nATTRIB\n  5\n" + std::string(handle) + "\n330\n" + owner +
           "\n100\nAcDbEntity\n  8\n0\n100\nAcDbText\n 10\n0\n 20\n0\n 30\n0\n 40\n1\n  1\nv\n"
           "100\nAcDbAttribute\n  2\nT\n 70\n0\n";
  };
  auto seqend = [](const char* handle, const char* owner) {
    return "  0\nSEQEND\n  5\n" + std::string(handle) + "\n330\n" + owner + "\n100\nAcDbEntity\n  8\n0\n";
  };
  // A0's attribute names A0; A3's attribute names A0 too, and the tag wins;
  // A6 lies in paper space; the XRECORD comes before the dictionary that owns it.
  std::string text = withEntity(baseText(), insert("A0") + attrib("A1", "A0") + seqend("A2", "A0") + insert("A3") +
                                                attrib("A4", "A0") + seqend("A5", "A3") +
                                                replaced(replaced(kLine, "  5\n99\n", "  5\nA6\n"), "330\n17\n",
                                                         "330\n" + paper + "\n"));
  text = replaced(text, "  0\nENDSEC\n  0\nEOF\n",
                  "  0\nXRECORD\n  5\nB0\n330\nB1\n100\nAcDbXrecord\n280\n1\n"
                  "  0\nDICTIONARY\n  5\nB1\n330\nC\n100\nAcDbDictionary\n281\n1\n  0\nENDSEC\n  0\nEOF\n");
  OdDbDatabasePtr db = OdDbDatabase::readDxfText(text, u("owners"));
  auto ownerOf = [&](uint64_t handle) {
    return db->getOdDbObjectId(OdDbHandle(handle)).safeOpenObject()->ownerId().getHandle().value();
  };
  EXPECT_EQ(ownerOf(0xA0), 0x17u);
  EXPECT_EQ(ownerOf(0xA1), 0xA0u);
  EXPECT_EQ(ownerOf(0xA2), 0xA0u);
  EXPECT_EQ(ownerOf(0xA4), 0xA0u);
  EXPECT_EQ(ownerOf(0xA5), 0xA3u);
  EXPECT_EQ(db->getOdDbObjectId(OdDbHandle(0xA6)).safeOpenObject()->ownerId(), db->getPaperSpaceId());
  EXPECT_EQ(ownerOf(0xB0), 0xB1u);
  EXPECT_EQ(ownerOf(0xB1), 0xCu);
  // Written back as read.
  EXPECT_EQ(OdDbDatabase::readDxfText(db->dxfText(), u("again"))->dxfText(), db->dxfText());
}

// Handles are found however they are spread: a dense run, far ones, one
// just below the largest handle, and ones read out of order; the gaps
// between them find nothing.
TEST(DxfRead, EveryHandleIsFoundHoweverTheHandlesAreSpread) {
  std::vector<uint64_t> handles;
  for (uint64_t h = 0x100; h < 0x300; ++h) handles.push_back(h);
  for (uint64_t h : {0x10000ull, 0xFFFFFFull, 0x123456789ABull, 0x7FFFFFFFFFFFFFF0ull, 0xFFFFFFFFFFFFFFFEull})
    handles.push_back(h);
  handles.push_back(0x50);  // below every other entity's, read last
  std::string entities;
  for (uint64_t h : handles) entities += replaced(kLine, "  5\n99\n", "  5\n" + OdDbHandle(h).hex() + "\n");
  OdDbDatabasePtr db = OdDbDatabase::readDxfText(withEntity(baseText(), entities), u("spread"));
  for (uint64_t h : handles) {
    OdDbObjectId id = db->getOdDbObjectId(OdDbHandle(h));
    ASSERT_FALSE(id.isNull()) << std::hex << h;
    EXPECT_EQ(id.getHandle().value(), h);
    EXPECT_EQ(OdDbEntityPtr(id.safeOpenObject())->dxfName(), "LINE");
  }
  for (uint64_t h : {0x51ull, 0x300ull, 0xFFFFull, 0x10001ull, 0xFFFFFEull, 0x1000000ull, 0x7FFFFFFFFFFFFFEFull,
                     0x7FFFFFFFFFFFFFF1ull, 0xFFFFFFFFFFFFFFFDull})
    EXPECT_TRUE(db->getOdDbObjectId(OdDbHandle(h)).isNull()) << std::hex << h;
  // The tables and the objects of the drawing are found too.
  EXPECT_EQ(db->getOdDbObjectId(db->getBlockTableId().getHandle()), db->getBlockTableId());
  EXPECT_EQ(db->getOdDbObjectId(db->getModelSpaceId().getHandle()), db->getModelSpaceId());
}

namespace {

std::string linesWithHandles(const std::vector<uint64_t>& handles) {
  std::string entities;
  for (uint64_t h : handles) entities += replaced(kLine, "  5\n99\n", "  5\n" + OdDbHandle(h).hex() + "\n");
  return entities;
}

std::vector<uint64_t> rising(uint64_t from, uint64_t to, uint64_t step = 1) {
  std::vector<uint64_t> out;
  for (uint64_t h = from; h < to; h += step) out.push_back(h);
  return out;
}

std::vector<uint64_t> joined(std::vector<std::vector<uint64_t>> parts) {
  std::vector<uint64_t> out;
  for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

}  // namespace

// The handle index is sorted from the runs of rising handles the file holds,
// merged by searching the short one's places in the long one or, for two
// long ones, by a merge: every handle is found whichever way the runs lie,
// and a handle used twice is refused wherever its two objects lie. The long
// runs are long enough (4,096 entities) that the drawing's own objects, read
// after them, make a short run too.
TEST(DxfRead, HandlesAreIndexedAndCheckedWhateverRunsTheFileHolds) {
  struct Layout {
    const char* name;
    std::vector<uint64_t> handles;
  };
  const std::vector<Layout> layouts = {
      {"a short run after a long one", joined({rising(0x100, 0x1100), {0x50, 0x3FF0}})},
      {"a short run before a long one", joined({{0x1100, 0x1101}, rising(0x100, 0x1100)})},
      {"two long runs interleaved", joined({rising(0x100, 0x300, 2), rising(0x101, 0x300, 2)})},
      {"runs of one each, falling", {0x405, 0x404, 0x403, 0x402, 0x401, 0x400}},
  };
  for (const Layout& l : layouts) {
    OdDbDatabasePtr db = OdDbDatabase::readDxfText(withEntity(baseText(), linesWithHandles(l.handles)), u("runs"));
    for (uint64_t h : l.handles) {
      OdDbObjectId id = db->getOdDbObjectId(OdDbHandle(h));
      ASSERT_FALSE(id.isNull()) << l.name << ": " << std::hex << h;
      EXPECT_EQ(id.getHandle().value(), h) << l.name;
    }
    for (uint64_t gap : {0x51ull, 0x1102ull, 0x1150ull, 0x3FF1ull})
      EXPECT_TRUE(db->getOdDbObjectId(OdDbHandle(gap)).isNull()) << l.name << ": " << std::hex << gap;
    EXPECT_EQ(db->getOdDbObjectId(db->getModelSpaceId().getHandle()), db->getModelSpaceId()) << l.name;
  }

  const std::vector<Layout> twice = {
      {"next to each other", {0x200, 0x200}},
      {"in a short run after a long one", joined({rising(0x100, 0x1100), {0x180}})},
      {"in a long run after a short one", joined({{0x1100}, rising(0x100, 0x1101)})},
      {"in two long runs", joined({rising(0x100, 0x300), rising(0x2FF, 0x500)})},
      {"a table's handle again after the entities", joined({rising(0x100, 0x1100), {0x17}})},
  };
  for (const Layout& l : twice) {
    try {
      OdDbDatabase::readDxfText(withEntity(baseText(), linesWithHandles(l.handles)), u("twice"));
      ADD_FAILURE() << l.name << ": was accepted";
    } catch (const OdError& e) {
      EXPECT_NE(e.description().toUtf8().find("is already used by"), std::string::npos)
          << l.name << ": " << e.description().toUtf8();
    }
  }
}

namespace {

// The handles of the entities of a space, in its order.
std::vector<uint64_t> handlesIn(OdDbObjectId space) {
  std::vector<uint64_t> out;
  OdDbBlockTableRecordPtr record = space.safeOpenObject();
  for (OdDbObjectIteratorPtr it = record->newIterator(); !it->done(); it->step())
    out.push_back(it->objectId().getHandle().value());
  return out;
}

// The handles of the entities written in the ENTITIES section, in order.
std::vector<uint64_t> sectionHandles(const std::string& text) {
  std::vector<uint64_t> out;
  const std::size_t begin = text.find("ENTITIES\n"), end = text.find("  0\nENDSEC", begin);
  for (std::size_t at = text.find("  0\n", begin); at < end; at = text.find("  0\n", at + 1)) {
    const std::size_t handle = text.find("  5\n", at) + 4;
    out.push_back(std::stoull(text.substr(handle, text.find('\n', handle) - handle), nullptr, 16));
  }
  return out;
}

}  // namespace

// A drawing whose entities all lie in model space keeps them once; an
// entity added to paper space, and one to model space after it, still join
// the ENTITIES section in the order they were added, and the spaces list
// only their own.
TEST(DxfRead, TheEntitiesSectionKeepsItsOrderWhenPaperSpaceJoinsIt) {
  const std::string text = withEntity(baseText(), replaced(kLine, "  5\n99\n", "  5\nA0\n") +
                                                      replaced(kLine, "  5\n99\n", "  5\nA1\n"));
  OdDbDatabasePtr db = OdDbDatabase::readDxfText(text, u("spaces"));
  EXPECT_EQ(sectionHandles(db->dxfText()), (std::vector<uint64_t>{0xA0, 0xA1}));
  OdDbBlockTableRecordPtr paper = db->getPaperSpaceId().safeOpenObject(OdDb::kForWrite);
  OdDbTextPtr onPaper = OdDbText::createObject();
  paper->appendOdDbEntity(onPaper.get());
  OdDbBlockTableRecordPtr model = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
  OdDbTextPtr onModel = OdDbText::createObject();
  model->appendOdDbEntity(onModel.get());
  const uint64_t p = onPaper->getDbHandle().value(), m = onModel->getDbHandle().value();
  EXPECT_EQ(handlesIn(db->getModelSpaceId()), (std::vector<uint64_t>{0xA0, 0xA1, m}));
  EXPECT_EQ(handlesIn(db->getPaperSpaceId()), (std::vector<uint64_t>{p}));
  const std::string written = db->dxfText();
  EXPECT_EQ(sectionHandles(written), (std::vector<uint64_t>{0xA0, 0xA1, p, m}));
  // Read back, a section of both spaces is written as read.
  OdDbDatabasePtr again = OdDbDatabase::readDxfText(written, u("again"));
  EXPECT_EQ(handlesIn(again->getModelSpaceId()), (std::vector<uint64_t>{0xA0, 0xA1, m}));
  EXPECT_EQ(again->dxfText(), written);
}

// Text of the attribute in a drawing whose header and attribute text are given raw.
std::string readText(const char* version, const char* codePage, const std::string& raw, std::string* written = nullptr,
                     const char* newText = nullptr) {
  std::string text = baseText(version);
  text = replaced(text, "ANSI_1252", codePage);
  text = withEntity(text,
                    "  0\nTEXT\n  5\n99\n330\n17\n100\nAcDbEntity\n  8\n0\n100\nAcDbText\n 10\n0\n 20\n0\n 30\n0\n 40\n1\n  1\n" +
                        raw + "\n100\nAcDbText\n");
  TempDir dir;
  writeFile(dir.file("t.dxf"), text);
  OdDbDatabasePtr db = OdDbDatabase::readDxf(u(dir.file("t.dxf").c_str()));
  OdDbTextPtr t = db->getOdDbObjectId(OdDbHandle(0x99)).safeOpenObject(OdDb::kForWrite);
  std::string result = t->textString().toUtf8();
  if (written && newText) {
    t->setTextString(u(newText));
    std::string out = db->dxfText();
    auto at = out.find("  1\n", out.find("AcDbText\n 10"));
    *written = out.substr(at + 4, out.find('\n', at + 4) - at - 4);
  }
  return result;
}

TEST(DxfRead, CodePageTextAndEscapes) {
  EXPECT_EQ(readText("AC1015", "ANSI_1252", "Conex\xE3o \xE7 \xE9"), "Conexão ç é");
  EXPECT_EQ(readText("AC1015", "ANSI_1252", "Ohm \\U+03A9 and \\U+00e7"), "Ohm Ω and ç");
  EXPECT_EQ(readText("AC1018", "ANSI_1251", "\xCF\xF0\xE8\xE2\xE5\xF2"), "Привет");
  // Not an escape: kept as written.
  EXPECT_EQ(readText("AC1015", "ANSI_1252", "a \\U+12 b \\U+ZZZZ"), "a \\U+12 b \\U+ZZZZ");
  // From R2007 on, text is UTF-8.
  EXPECT_EQ(readText("AC1021", "ANSI_1252", "Conexão ç"), "Conexão ç");
  EXPECT_EQ(readText("AC1032", "ANSI_1252", "\\U+03A9"), "Ω");
}

TEST(DxfRead, WrittenTextUsesTheDrawingsEncoding) {
  std::string written;
  readText("AC1015", "ANSI_1252", "x", &written, "Conexão Ω");
  EXPECT_EQ(written, "Conex\xE3o \\U+03A9");
  readText("AC1018", "ANSI_1251", "x", &written, "Привет é");
  EXPECT_EQ(written, "\xCF\xF0\xE8\xE2\xE5\xF2 \\U+00E9");
  readText("AC1027", "ANSI_1252", "x", &written, "Conexão Ω");
  EXPECT_EQ(written, "Conexão Ω");
  // A line break cannot stand in a DXF line: it is escaped, and reads back.
  readText("AC1027", "ANSI_1252", "x", &written, "a\nb");
  EXPECT_EQ(written, "a\\U+000Ab");
}

TEST(DxfRead, BytesWhereCodePagesDifferFromLatin1ReadAndWriteAsTheCodePageSays) {
  // 0x80-0x9F: printable in most ANSI code pages, C1 controls in Latin-1; a
  // byte the code page leaves unassigned reads as its C1 control and is
  // written back as it was.
  struct Case {
    const char* codePage;
    std::string raw;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"ANSI_1252", "\x80 \x93x\x94 \x96 \x85", "€ “x” – …"},
      {"ANSI_1252", "\x81\x8D\x8F\x90\x9D", "\u0081\u008D\u008F\u0090\u009D"},
      {"ANSI_1250", "\x8A\x8C\x9A\x80", "ŠŚš€"},
      {"ANSI_1251", "\x80\x81\x90\x88", "ЂЃђ€"},
      {"ANSI_1253", "\x80\x93", "€“"},
      {"ANSI_1255", "\x80\x96", "€–"},
      {"ANSI_1256", "\x81\x8D\x90", "پچگ"},
      {"ANSI_874", "\x80\x85", "€…"},
      {"ANSI_932", "\x80\x82\xA0", "\u0080あ"},
  };
  for (const Case& c : cases) {
    std::string written;
    EXPECT_EQ(readText("AC1015", c.codePage, c.raw, &written, c.text.c_str()), c.text) << c.codePage << " " << c.text;
    EXPECT_EQ(written, c.raw) << c.codePage << " " << c.text;
  }
}

}  // namespace
