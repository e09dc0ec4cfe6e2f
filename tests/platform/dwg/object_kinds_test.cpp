// Kinds of objects are numbered per drawing: a long session opens drawings
// with any number of kinds between them, and each drawing keeps its own.
#include <gtest/gtest.h>

#include <string>

#include "zrdwg/OdDbDatabase.h"
#include "zrdwg/OdDbObject.h"
#include "drawing_builder.h"
#include "dxf_text_edits.h"

using namespace testing_support;

namespace {

// The empty drawing with `count` objects of kinds named after `prefix`, one
// kind each, handles from 100.
std::string drawingWithKinds(const std::string& prefix, int count) {
  std::string objects;
  for (int i = 0; i < count; ++i) {
    objects += "  0\n" + prefix + std::to_string(i) + "\n  5\n" + OdDbHandle(0x100 + i).hex() +
               "\n330\nC\n100\nZrCustomObject\n  1\nvalue\n";
  }
  std::string text = withObjects(emptyDrawingText(), objects);
  return replaced(text, "$HANDSEED\n  5\n30\n", "$HANDSEED\n  5\n" + OdDbHandle(0x100 + count).hex() + "\n");
}

TEST(ObjectKinds, ASessionOpensMoreKindsThanOneDrawingMayHold) {
  // 80 drawings of 1,000 kinds each: 80,000 kinds, more than a 16-bit number
  // can count for a process.
  for (int d = 0; d < 80; ++d) {
    const std::string prefix = "ZRKIND" + std::to_string(d) + "_";
    const std::string text = drawingWithKinds(prefix, 1000);
    OdDbDatabasePtr db = OdDbDatabase::readDxfText(text, u("kinds.dxf"));
    ASSERT_EQ(db->getOdDbObjectId(OdDbHandle(0x100 + 999)).openObject()->dxfName(), prefix + "999") << d;
    ASSERT_EQ(db->dxfText(), text) << d;
  }
}

TEST(ObjectKinds, TwoOpenDrawingsNumberTheirKindsApart) {
  OdDbDatabasePtr a = OdDbDatabase::readDxfText(drawingWithKinds("ZRA", 3), u("a.dxf"));
  OdDbDatabasePtr b = OdDbDatabase::readDxfText(drawingWithKinds("ZRB", 3), u("b.dxf"));
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(a->getOdDbObjectId(OdDbHandle(0x100 + i)).openObject()->dxfName(), "ZRA" + std::to_string(i));
    EXPECT_EQ(b->getOdDbObjectId(OdDbHandle(0x100 + i)).openObject()->dxfName(), "ZRB" + std::to_string(i));
  }
}

TEST(ObjectKinds, AnObjectHeldPastItsDrawingKeepsItsKind) {
  OdDbObjectPtr kept;
  {
    OdDbDatabasePtr db = OdDbDatabase::readDxfText(drawingWithKinds("ZRKEPT", 2), u("kept.dxf"));
    kept = db->getOdDbObjectId(OdDbHandle(0x101)).openObject();
  }
  EXPECT_EQ(kept->dxfName(), "ZRKEPT1");
  EXPECT_EQ(kept->className(), u("ZrCustomObject"));
}

TEST(ObjectKinds, ADrawingOfMoreThan32767KindsIsRefusedNamingTheLine) {
  const std::string text = drawingWithKinds("ZRMANY", 32768);
  try {
    OdDbDatabase::readDxfText(text, u("many.dxf"));
    FAIL() << "accepted";
  } catch (const OdError& e) {
    const std::string message = e.description().toUtf8();
    const std::size_t at = text.find("  0\nZRMANY32767\n");
    const std::size_t line = static_cast<std::size_t>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n')) + 1;
    EXPECT_NE(message.find("many.dxf:" + std::to_string(line) + ":"), std::string::npos) << message;
    EXPECT_NE(message.find("more than 32,767 kinds"), std::string::npos) << message;
  }
  // One kind fewer reads.
  EXPECT_NO_THROW(OdDbDatabase::readDxfText(drawingWithKinds("ZRMANY", 32767), u("many.dxf")));
}

}  // namespace
