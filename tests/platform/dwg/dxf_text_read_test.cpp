// Reading DXF text held in memory (OdDbDatabase::readDxfText): the same drawing
// as reading the file, errors naming the given name and line, nothing returned
// for bad text.
#include <gtest/gtest.h>

#include "drawing_builder.h"
#include "temp_dir.h"

using namespace testing_support;

namespace {

std::string drawingWithPins() {
  OdDbDatabasePtr db = OdDbDatabase::createNew(u("AC1015"));
  addBlock(*db, "PIN-A", {{"ID", "identifier"}});
  addPin(*db, "PIN-A", "P1", "C-1", "X1", 1, 2);
  addPin(*db, "PIN-A", "P2", "C-2", "X2", 3, 4);
  return db->dxfText();
}

TEST(DxfTextRead, TextAndFileGiveTheSameDrawing) {
  const std::string text = drawingWithPins();
  TempDir dir;
  const std::string path = dir.file("pins.dxf");
  writeFile(path, text);
  const std::string fromFile = OdDbDatabase::readDxf(u(path.c_str()))->dxfText();
  OdDbDatabasePtr fromText = OdDbDatabase::readDxfText(text, u("pins (memory)"));
  EXPECT_EQ(fromText->dxfText(), fromFile);
  EXPECT_EQ(fromText->dxfText(), text);
  EXPECT_EQ(fromText->version(), u("AC1015"));
}

TEST(DxfTextRead, EveryVersionOfTheTemplateReadsBackUnchanged) {
  for (const char* version : {"AC1015", "AC1018", "AC1021", "AC1024", "AC1027", "AC1032"}) {
    const std::string text = OdDbDatabase::createNew(u(version))->dxfText();
    EXPECT_EQ(OdDbDatabase::readDxfText(text, u(version))->dxfText(), text) << version;
  }
}

TEST(DxfTextRead, BadTextIsRefusedNamingTheGivenNameAndLine) {
  const std::string text = drawingWithPins();
  const struct {
    const char* name;
    std::string text;
    const char* message;
  } cases[] = {
      {"empty", "", "memory drawing:1: "},
      {"truncated", text.substr(0, text.size() / 3), "memory drawing:"},
      {"code that is not a number", "  x\nSECTION\n", "memory drawing:1: "},
      {"NUL inside the text", std::string("  0\nSECTION\n  2\nHEADER\0\n  0\nENDSEC\n  0\nEOF\n", 41),
       "memory drawing:"},
  };
  for (const auto& c : cases) {
    try {
      OdDbDatabase::readDxfText(c.text, u("memory drawing"));
      ADD_FAILURE() << c.name << ": was accepted";
    } catch (const OdError& e) {
      EXPECT_NE(e.description().toUtf8().find(c.message), std::string::npos) << c.name << ": " << e.description().toUtf8();
    }
  }
}

}  // namespace
