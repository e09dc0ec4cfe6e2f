#include <gtest/gtest.h>

#include "zrdwg/OdCmColor.h"
#include "zrdwg/OdDbHandle.h"

namespace {

TEST(OdDbHandle, AsciiIsUpperCaseHexWithoutLeadingZeros) {
  EXPECT_EQ(OdDbHandle(0x1f).ascii().toUtf8(), "1F");
  EXPECT_EQ(OdDbHandle(0).ascii().toUtf8(), "0");
  EXPECT_EQ(OdDbHandle(0xFFFFFFFFFFFFFFFFull).ascii().toUtf8(), "FFFFFFFFFFFFFFFF");
}

TEST(OdDbHandle, GetIntoAsciiBufferWritesTerminatedText) {
  OdChar buf[17];
  OdDbHandle(0xABC12).getIntoAsciiBuffer(buf);
  EXPECT_EQ(OdString(buf).toUtf8(), "ABC12");
  OdChar small[3];
  OdDbHandle(0xABC12).getIntoAsciiBuffer(small, 3);
  EXPECT_EQ(OdString(small).toUtf8(), "AB");
}

TEST(OdDbHandle, AssignmentFromHexText) {
  struct Case {
    const char* text;
    uint64_t value;
  };
  const Case cases[] = {{"1F", 0x1F},      {"1f", 0x1F},    {" 2A ", 0x2A}, {"0", 0},
                        {"", 0},           {"xyz", 0},      {"1G", 0},      {"12345678901234567", 0},
                        {"FFFFFFFFFFFFFFFF", 0xFFFFFFFFFFFFFFFFull},
                        {"\t7\r", 7},     {" ", 0},        {"1 2", 0},     {"-1", 0},
                        {"0000000000000001F", 0},          {"00000000000001F", 0x1F}};
  for (const Case& c : cases) {
    OdDbHandle h;
    h = OdString::fromUtf8(c.text);
    EXPECT_EQ(h.value(), c.value) << "text: \"" << c.text << "\"";
  }
}

TEST(OdCmColor, IndexColoursUseTheStandardPalette) {
  OdCmColor c;
  c.setColorMethod(OdCmEntityColor::kNone);
  c.setColorIndex(1);
  EXPECT_EQ(c.colorMethod(), OdCmEntityColor::kByACI);
  EXPECT_EQ(c.red(), 255);
  EXPECT_EQ(c.green(), 0);
  EXPECT_EQ(c.blue(), 0);
  c.setColorIndex(5);
  EXPECT_EQ(c.blue(), 255);
  EXPECT_EQ(c.red(), 0);
  c.setColorIndex(8);
  EXPECT_EQ(c.red(), 0x80);
  c.setColorIndex(255);
  EXPECT_EQ(c.red(), 255);
  EXPECT_EQ(c.green(), 255);
  c.setColorIndex(0);
  EXPECT_EQ(c.colorMethod(), OdCmEntityColor::kByBlock);
}

TEST(OdCmColor, SetColorTakesThePackedValue) {
  OdCmColor c;
  c.setColorMethod(OdCmEntityColor::kNone);
  c.setColor(300);  // 0x00012C: no palette lookup, the bytes themselves
  EXPECT_EQ(c.red(), 0);
  EXPECT_EQ(c.green(), 1);
  EXPECT_EQ(c.blue(), 0x2C);
  c.setRGB(10, 20, 30);
  EXPECT_EQ(c.colorMethod(), OdCmEntityColor::kByColor);
  EXPECT_EQ(c.green(), 20);
}

}  // namespace
