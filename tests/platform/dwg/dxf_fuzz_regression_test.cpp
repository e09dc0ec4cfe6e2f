// Inputs the DXF fuzzer (tests/fuzz) found faults with, reduced. Each must be
// refused with OdError, or read into a drawing whose written text reads back
// and writes again to the same text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drawing_builder.h"

using namespace testing_support;

namespace {

// Pairs of lines "code\nvalue\n" from a compact list of code/value pairs.
std::string dxf(const std::vector<std::pair<const char*, std::string>>& tags) {
  std::string text;
  for (const auto& [code, value] : tags) text += std::string(code) + "\n" + value + "\n";
  return text;
}

// Reads `input`; if it is accepted, the written text must be read back and
// written again unchanged. Returns whether the input was accepted.
bool readsStably(const std::string& input, const char* name) {
  OdDbDatabasePtr db;
  try {
    db = OdDbDatabase::readDxfText(input, u(name));
  } catch (const OdError&) {
    return false;
  }
  const std::string first = db->dxfText();
  try {
    EXPECT_EQ(OdDbDatabase::readDxfText(first, u("first write"))->dxfText(), first) << name;
  } catch (const OdError& e) {
    ADD_FAILURE() << name << ": the written text is refused: " << e.description().toUtf8() << "\n" << first;
  }
  return true;
}

TEST(DxfFuzzRegression, TableWithoutHandleGetsOneAfterItsName) {
  const std::string input = dxf({{"0", "SECTION"}, {"2", "HEADER"}, {"9", "$ACADVER"}, {"1", "AC1018"},
                                 {"0", "ENDSEC"}, {"0", "SECTION"}, {"2", "TABLES"}, {"0", "TABLE"},
                                 {"2", "BLOCK_RECORD"}, {"0", "ENDTAB"}, {"0", "ENDSEC"}, {"0", "EOF"}});
  ASSERT_TRUE(readsStably(input, "table without handle"));
  const std::string text = OdDbDatabase::readDxfText(input, u("table without handle"))->dxfText();
  EXPECT_NE(text.find("  0\nTABLE\n  2\nBLOCK_RECORD\n  5\n"), std::string::npos) << text;
}

TEST(DxfFuzzRegression, CarriageReturnsBeforeALineEndAreAllPartOfIt) {
  // "\r\r\n": one CR too many, as from a CRLF file converted twice.
  const std::string input = dxf({{"0", "SECTION"}, {"2", "HEADER"}, {"9", "$ACADVER"}, {"1", "AC1015"},
                                 {"0", "ENDSEC"}, {"0", "SECTION"}, {"2", "TABLES"}, {"0", "TABLE"},
                                 {"2", "\r\r"}, {"0", "ENDTAB"}, {"0", "TABLE"}, {"2", "BLOCK_RECORD\r\r"},
                                 {"0", "ENDTAB"}, {"0", "ENDSEC"}, {"0", "EOF\r"}});
  ASSERT_TRUE(readsStably(input, "extra carriage returns"));
  const std::string text = OdDbDatabase::readDxfText(input, u("extra carriage returns"))->dxfText();
  EXPECT_EQ(text.find('\r'), std::string::npos) << text;
  EXPECT_NE(text.find("  0\nTABLE\n  2\nBLOCK_RECORD\n"), std::string::npos) << text;
}

}  // namespace
