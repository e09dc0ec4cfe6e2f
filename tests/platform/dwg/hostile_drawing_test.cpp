// Drawings made to hurt the reader. Each ends with a clear error naming the
// drawing and the line, or reads correctly and writes back what it read; none
// may crash, hang, or hold memory out of proportion to the input.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "zrdwg/OdDbDictionary.h"
#include "drawing_builder.h"
#include "dxf_text_edits.h"
#include "temp_dir.h"

using namespace testing_support;

namespace {

constexpr const char* kName = "hostile";

// The reader's message for text it must refuse, or a test failure.
std::string refusal(const std::string& text, const std::string& what) {
  try {
    OdDbDatabase::readDxfText(text, u(kName));
    ADD_FAILURE() << what << ": was accepted";
    return {};
  } catch (const OdError& e) {
    return e.description().toUtf8();
  }
}

// "hostile:N: ..." with a line number, short and printable.
void expectClearMessage(const std::string& message, const std::string& what) {
  ASSERT_EQ(message.rfind(std::string(kName) + ":", 0), 0u) << what << ": " << message;
  const std::size_t digits = std::strlen(kName) + 1;
  EXPECT_TRUE(digits < message.size() && std::isdigit(static_cast<unsigned char>(message[digits])))
      << what << ": no line number: " << message;
  EXPECT_LT(message.size(), 400u) << what << ": message of " << message.size() << " bytes";
  for (char c : message)
    EXPECT_GE(static_cast<unsigned char>(c), 0x20) << what << ": control character in: " << message;
}

struct Refused {
  const char* name;
  std::string text;
  const char* message;
};

TEST(HostileDrawing, RefusedWithAShortMessageNamingDrawingAndLine) {
  const std::string base = emptyDrawingText();
  const std::string line = lineEntity("99");
  const std::string withLine = withEntities(base, line);
  const std::size_t lineAt = withLine.find(line);
  const std::vector<Refused> cases = {
      // Eight million zeros make the number 0: read whole, the line would pass.
      {"group-code line of 8 MB", std::string(8 << 20, '0') + "\nSECTION\n" + base.substr(12),
       "line 1 is longer than 256 bytes"},
      {"one line of 8 MB without a line end", std::string(8 << 20, 'x'), "line 1 is longer than 256 bytes"},
      {"padded group code past the limit", std::string(300, ' ') + "0\nSECTION\n" + base.substr(12),
       "longer than 256 bytes"},
      {"section name of 1 MB", replaced(base, "CLASSES", std::string(1 << 20, 'Q')), "unknown section \"QQQ"},
      {"NUL in a group-code line", replaced(base, "  0\nSECTION\n  2\nCLASSES", std::string("  0\0\nSECTION\n  2\nCLASSES", 22)),
       "is not a number"},
      {"NUL in a section name", replaced(base, "CLASSES", std::string("CLA\0SSES", 8)), "unknown section \"CLA?SSES\""},
      {"kind of object named with 300 bytes", withEntities(base, "  0\n" + std::string(300, 'L') + "\n  5\n99\n"),
       "is not a kind of drawing object"},
      {"kind of object with a control character", withEntities(base, "  0\nLI\x01NE\n  5\n99\n"),
       "\"LI?NE\" is not a kind of drawing object"},
      {"empty kind of object", withEntities(base, "  0\n\n  5\n99\n"), "is not a kind of drawing object"},
      {"handle that leaves none for new objects", withEntities(base, lineEntity("FFFFFFFFFFFFFFFF")),
       "leaves no handle for new objects"},
      {"ends in the middle of an entity", withLine.substr(0, withLine.find("100\nAcDbLine", lineAt)),
       "ends inside LINE (started at line"},
      {"ends between a group code and its value", withLine.substr(0, withLine.find("100\nAcDbLine", lineAt) + 4),
       "without its value"},
      {"ends in the padding of a group code", withLine.substr(0, withLine.find(" 10\n0", lineAt) + 1),
       "ends in the middle of a line"},
      {"ends in the middle of a value", withLine.substr(0, withLine.find("AcDbLine", lineAt) + 4),
       "ends inside LINE"},
      {"group code out of range", withEntities(base, "  0\nLINE\n99999\nx\n"), "is not a number"},
  };
  for (const Refused& c : cases) {
    const std::string message = refusal(c.text, c.name);
    EXPECT_NE(message.find(c.message), std::string::npos) << c.name << ": " << message;
    expectClearMessage(message, c.name);
  }
}

TEST(HostileDrawing, EveryCutInsideAnEntityIsRefused) {
  const std::string line = lineEntity("99");
  const std::string text = withEntities(emptyDrawingText(), line);
  const std::size_t from = text.find(line);
  for (std::size_t cut = from; cut <= from + line.size(); ++cut) {
    const std::string what = "cut at byte " + std::to_string(cut);
    expectClearMessage(refusal(text.substr(0, cut), what), what);
  }
}

TEST(HostileDrawing, HugeLinesInAFileAreReadInBoundedSteps) {
  TempDir dir;
  const std::string base = roomyDrawingText();
  // A value of 16 MB spans many read chunks: read, and written back as it was.
  const std::string big(16 << 20, 'T');
  const std::string text = withEntities(base, textEntity("99", big));
  writeFile(dir.file("big.dxf"), text);
  OdDbDatabasePtr db = OdDbDatabase::readDxf(u(dir.file("big.dxf").c_str()));
  OdDbTextPtr t = db->getOdDbObjectId(OdDbHandle(0x99)).safeOpenObject();
  EXPECT_EQ(static_cast<std::size_t>(t->textString().getLength()), big.size());
  db->writeDxf(u(dir.file("out.dxf").c_str()));
  EXPECT_TRUE(readFile(dir.file("out.dxf")) == text);

  // A file of one 8 MB line: refused once the limit is passed, not after reading it all.
  writeFile(dir.file("one-line.dxf"), std::string(8 << 20, '7'));
  try {
    OdDbDatabase::readDxf(u(dir.file("one-line.dxf").c_str()));
    ADD_FAILURE() << "one line of digits was accepted";
  } catch (const OdError& e) {
    EXPECT_NE(e.description().toUtf8().find(dir.file("one-line.dxf") + ":1: line 1 is longer than 256 bytes"),
              std::string::npos)
        << e.description().toUtf8();
  }
}

// Extended data of every group code, braces unbalanced, bad binary, many values.
std::string everyKindOfExtendedData() {
  std::string x =
      "1001\nZR_TEST\n1000\nsome text\n1002\n{\n1002\n{\n1070\n5\n1002\n}\n1002\n}\n1002\n}\n1002\n{\n"
      "1003\n0\n1004\n0123ABCDEF\n1004\nXYZ\n1005\n1F\n"
      "1010\n1.0\n1020\n2.0\n1030\n3.0\n1011\n4.0\n1021\n5.0\n1031\n6.0\n1012\n7.0\n1022\n8.0\n1032\n9.0\n"
      "1013\n0.5\n1023\n0.25\n1033\n0.125\n1040\n1.5\n1041\n2.5\n1042\n3.5\n1070\n-32768\n1071\n2147483647\n";
  for (int i = 0; i < 300; ++i) x += "1000\nvalue " + std::to_string(i) + "\n";
  x += "1001\nSECOND\n1070\n1\n";
  return x;
}

TEST(HostileDrawing, ExtendedDataOfEveryKindIsKeptAsRead) {
  const std::string text = withEntities(roomyDrawingText(), lineEntity("99") + everyKindOfExtendedData());
  OdDbDatabasePtr db = OdDbDatabase::readDxfText(text, u(kName));
  EXPECT_TRUE(db->dxfText() == text);

  OdDbEntityPtr line = db->getOdDbObjectId(OdDbHandle(0x99)).safeOpenObject(OdDb::kForWrite);
  OdResBufPtr chain = line->xData(u("ZR_TEST"));
  std::vector<OdResBufPtr> values;
  for (OdResBufPtr rb = chain; !rb.isNull(); rb = rb->next()) values.push_back(rb);
  // Name, text, six braces and 1070, layer, two binaries, handle, four points,
  // three reals, two integers, then the 300 texts.
  ASSERT_EQ(values.size(), 1u + 1 + 7 + 1 + 2 + 1 + 4 + 3 + 2 + 300);
  EXPECT_EQ(values[2]->getString(), u("{"));
  EXPECT_EQ(values[7]->getString(), u("}"));
  EXPECT_EQ(values[8]->getString(), u("{"));
  EXPECT_EQ(values[10]->getBinaryChunk(), (std::vector<uint8_t>{0x01, 0x23, 0xAB, 0xCD, 0xEF}));
  EXPECT_TRUE(values[11]->getBinaryChunk().empty());
  EXPECT_EQ(values[12]->getHandle().value(), 0x1Fu);
  EXPECT_EQ(values[13]->getPoint3d().z, 3.0);
  EXPECT_EQ(values[16]->getPoint3d().y, 0.25);
  EXPECT_EQ(values[20]->getInt64(), -32768);
  EXPECT_EQ(values[21]->getInt64(), 2147483647);
  EXPECT_EQ(values.back()->getString(), u("value 299"));

  // Setting each application's data to what was read changes no byte.
  for (const char* app : {"ZR_TEST", "SECOND"}) line->setXData(line->xData(u(app)));
  line.release();
  const std::string rewritten = db->dxfText();
  // The applications were registered on the way; the entity itself is unchanged.
  EXPECT_NE(rewritten.find(lineEntity("99") + everyKindOfExtendedData()), std::string::npos);
}

// Dictionaries that own themselves or each other, an entity that owns itself.
std::string drawingWithOwnershipCycles() {
  std::string text = roomyDrawingText();
  text = replaced(text, "  3\nACAD_GROUP\n350\nD\n",
                  "  3\nACAD_GROUP\n350\nD\n  3\nCYCLE\n350\nE1\n  3\nSELF\n350\nE0\n");
  text = withObjects(text, dictionaryObject("E0", "E0", "  3\nME\n350\nE0\n") +
                               dictionaryObject("E1", "E2", "  3\nOTHER\n350\nE2\n") +
                               dictionaryObject("E2", "E1", "  3\nBACK\n350\nE1\n"));
  return withEntities(text, lineEntity("E3", "E3"));
}

TEST(HostileDrawing, OwnershipCyclesTrapNeitherReadingWritingIteratingNorErasing) {
  const std::string text = drawingWithOwnershipCycles();
  OdDbDatabasePtr db = OdDbDatabase::readDxfText(text, u(kName));
  EXPECT_TRUE(db->dxfText() == text);

  // The entity that names itself as owner is in model space.
  OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject();
  OdDbObjectIteratorPtr it = ms->newIterator();
  ASSERT_FALSE(it->done());
  EXPECT_EQ(it->objectId().getHandle().value(), 0xE3u);
  EXPECT_EQ(it->entity()->ownerId(), ms->objectId());

  // Entries lead round the cycle and back.
  OdDbDictionaryPtr nod = db->getNamedObjectsDictionaryId().safeOpenObject();
  OdDbObjectId at = nod->getAt(u("CYCLE"));
  for (const char* key : {"OTHER", "BACK", "OTHER"}) {
    OdDbDictionaryPtr dict = at.safeOpenObject();
    at = dict->getAt(u(key));
    ASSERT_FALSE(at.isNull()) << key;
  }
  EXPECT_EQ(at.getHandle().value(), 0xE2u);
  OdDbDictionaryPtr self = nod->getAt(u("SELF"), OdDb::kForRead);
  EXPECT_EQ(self->getAt(u("ME")), self->objectId());

  // Erasing a member drops the whole cycle from the written drawing, which reads
  // back without a dangling owner or entry.
  { OdDbObjectPtr e1 = nod->getAt(u("CYCLE"), OdDb::kForWrite); e1->erase(); }
  { OdDbObjectPtr e0 = nod->getAt(u("SELF"), OdDb::kForWrite); e0->erase(); }
  { OdDbObjectPtr line = db->getOdDbObjectId(OdDbHandle(0xE3)).safeOpenObject(OdDb::kForWrite); line->erase(); }
  nod.release();
  ms.release();
  it.release();
  self.release();
  const std::string written = db->dxfText();
  OdDbDatabasePtr back = OdDbDatabase::readDxfText(written, u("written"));
  for (uint64_t h : {0xE0u, 0xE1u, 0xE2u, 0xE3u})
    EXPECT_TRUE(back->getOdDbObjectId(OdDbHandle(h)).isNull()) << std::hex << h;
  OdDbDictionaryPtr backNod = back->getNamedObjectsDictionaryId().safeOpenObject();
  EXPECT_FALSE(backNod->has(u("CYCLE")));
  EXPECT_TRUE(backNod->has(u("ACAD_GROUP")));
}

// Every handle the text holds (groups 5 and 105 of objects) and its $HANDSEED.
void handlesOf(const std::string& text, std::vector<uint64_t>& handles, uint64_t& seed) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t nl = text.find('\n', i);
    lines.push_back(text.substr(i, nl - i));
    i = nl + 1;
  }
  for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
    const std::string code = lines[i].substr(lines[i].find_first_not_of(' '));
    if (code != "5" && code != "105") continue;
    const uint64_t h = std::stoull(lines[i + 1], nullptr, 16);
    if (i >= 2 && lines[i - 1] == "$HANDSEED") {
      seed = h;
    } else {
      handles.push_back(h);
    }
  }
}

TEST(HostileDrawing, NewObjectsTakeHandlesAboveEveryHandleRead) {
  // $HANDSEED 2 lies: the file holds handles up to 99.
  const std::string text =
      withEntities(replaced(emptyDrawingText(), "$HANDSEED\n  5\n30\n", "$HANDSEED\n  5\n2\n"), lineEntity("99"));
  OdDbDatabasePtr db = OdDbDatabase::readDxfText(text, u(kName));
  OdDbDictionaryPtr nod = db->getNamedObjectsDictionaryId().safeOpenObject(OdDb::kForWrite);
  OdDbObjectId added = nod->setAt(u("NEW"), OdDbXrecord::createObject().get());
  EXPECT_GT(added.getHandle().value(), 0x99u);
  nod.release();

  std::vector<uint64_t> handles;
  uint64_t seed = 0;
  handlesOf(db->dxfText(), handles, seed);
  ASSERT_FALSE(handles.empty());
  for (uint64_t h : handles) EXPECT_LT(h, seed) << std::hex << h << " against $HANDSEED " << seed;
}

TEST(HostileDrawing, RunningOutOfHandlesIsAnErrorThatChangesNothing) {
  // The last handle is never handed out, so that $HANDSEED can stay above all.
  const std::string text = replaced(emptyDrawingText(), "$HANDSEED\n  5\n30\n", "$HANDSEED\n  5\nFFFFFFFFFFFFFFFE\n");
  OdDbDatabasePtr db = OdDbDatabase::readDxfText(text, u(kName));
  OdDbDictionaryPtr nod = db->getNamedObjectsDictionaryId().safeOpenObject(OdDb::kForWrite);
  OdDbObjectId first = nod->setAt(u("FIRST"), OdDbXrecord::createObject().get());
  EXPECT_EQ(first.getHandle().value(), 0xFFFFFFFFFFFFFFFEu);
  const std::string before = db->dxfText();
  OdDbXrecordPtr second = OdDbXrecord::createObject();
  try {
    nod->setAt(u("SECOND"), second.get());
    ADD_FAILURE() << "a handle past the last was handed out";
  } catch (const OdError& e) {
    EXPECT_EQ(e.code(), eHandleInUse);
  }
  EXPECT_EQ(second->database(), nullptr);
  EXPECT_FALSE(nod->has(u("SECOND")));
  nod.release();
  EXPECT_TRUE(db->dxfText() == before);
  EXPECT_NE(before.find("$HANDSEED\n  5\nFFFFFFFFFFFFFFFF\n"), std::string::npos);
}

TEST(HostileDrawing, HandleZeroIsReplacedNotDoubled) {
  const std::string text = withEntities(emptyDrawingText(), lineEntity("0"));
  const std::string written = OdDbDatabase::readDxfText(text, u(kName))->dxfText();
  EXPECT_NE(written.find(lineEntity("30")), std::string::npos) << written.substr(written.find("ENTITIES"), 200);
  EXPECT_EQ(OdDbDatabase::readDxfText(written, u("written"))->dxfText(), written);
}

// A handle group inside an open application group is not the object's
// handle: the object gets a new one, written where the reader takes it, so
// that a second read finds the same handle and writes the same text.
TEST(HostileDrawing, AHandleInsideAnApplicationGroupIsNotTheHandleAndTheNewOneReadsBack) {
  const std::string line = "  0\nLINE\n102\n{ACAD_REACTORS\n  5\n24\n102\n}\n330\n17\n100\nAcDbEntity\n  8\n0\n"
                           "100\nAcDbLine\n 10\n0\n 20\n0\n 30\n0\n 11\n1\n 21\n1\n 31\n0\n";
  const std::string text = withEntities(emptyDrawingText(), line);
  const std::string written = OdDbDatabase::readDxfText(text, u(kName))->dxfText();
  EXPECT_NE(written.find("  0\nLINE\n  5\n30\n102\n{ACAD_REACTORS\n  5\n24\n"), std::string::npos)
      << written.substr(written.find("ENTITIES"), 200);
  EXPECT_EQ(OdDbDatabase::readDxfText(written, u("written"))->dxfText(), written);
}

// The text of TEXT 99 in a drawing of the version whose value is `raw`.
OdString textOf(const OdDbDatabase& db) {
  OdDbTextPtr t = db.getOdDbObjectId(OdDbHandle(0x99)).safeOpenObject();
  return t->textString();
}

TEST(HostileDrawing, InvalidUtf8IsReadAsReplacementsAndWrittenBackUnchanged) {
  const std::string text = withEntities(roomyDrawingText("AC1021"), textEntity("99", "ab\xC3\x28 \xFF\xFE end \xE2\x82"));
  OdDbDatabasePtr db = OdDbDatabase::readDxfText(text, u(kName));
  EXPECT_EQ(textOf(*db).str(), u"ab\uFFFD( \uFFFD\uFFFD end \uFFFD");
  EXPECT_TRUE(db->dxfText() == text);
}

TEST(HostileDrawing, BadEscapesAreKeptAndLoneSurrogatesSurviveAnEdit) {
  const std::string raw = "a\\U+ZZZZ b\\U+12 c\\U+D800d \\U+DC00\\U+";
  for (const char* version : {"AC1015", "AC1021"}) {
    const std::string text = withEntities(roomyDrawingText(version), textEntity("99", raw));
    OdDbDatabasePtr db = OdDbDatabase::readDxfText(text, u(kName));
    const OdString read = textOf(*db);
    EXPECT_EQ(read.str(), std::u16string(u"a\\U+ZZZZ b\\U+12 c") + char16_t(0xD800) + u"d " + char16_t(0xDC00) +
                              u"\\U+")
        << version;
    EXPECT_TRUE(db->dxfText() == text) << version;
    // Set to what was read: the same bytes go back.
    {
      OdDbTextPtr t = db->getOdDbObjectId(OdDbHandle(0x99)).safeOpenObject(OdDb::kForWrite);
      t->setTextString(read);
    }
    EXPECT_TRUE(db->dxfText() == text) << version;
  }
}

TEST(HostileDrawing, NulBytesInValuesAreKept) {
  const std::string raw("a\0b", 3);
  const std::string text = withEntities(roomyDrawingText("AC1027"), textEntity("99", raw));
  OdDbDatabasePtr db = OdDbDatabase::readDxfText(text, u(kName));
  EXPECT_EQ(textOf(*db).str(), std::u16string(u"a\0b", 3));
  EXPECT_TRUE(db->dxfText() == text);
  // Written by the model, the NUL becomes an escape that reads back as NUL.
  {
    OdDbTextPtr t = db->getOdDbObjectId(OdDbHandle(0x99)).safeOpenObject(OdDb::kForWrite);
    t->setTextString(OdString(std::u16string(u"x\0y", 3)));
  }
  OdDbDatabasePtr back = OdDbDatabase::readDxfText(db->dxfText(), u("written"));
  EXPECT_EQ(textOf(*back).str(), std::u16string(u"x\0y", 3));
}

}  // namespace
