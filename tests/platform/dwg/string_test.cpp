#include <gtest/gtest.h>

#include "zrdwg/OdString.h"

namespace {

TEST(OdString, Utf8RoundTripKeepsPortugueseAndAstralCharacters) {
  const std::string text = "Conexão ç é ü 中 \xF0\x9F\x94\x8C";
  OdString s = OdString::fromUtf8(text);
  EXPECT_EQ(s.toUtf8(), text);
  // 🔌 is one code point but two UTF-16 units.
  EXPECT_EQ(OdString::fromUtf8("\xF0\x9F\x94\x8C").getLength(), 2);
}

TEST(OdString, InvalidUtf8BecomesReplacementCharacters) {
  OdString s = OdString::fromUtf8("a\xFF" "b");
  EXPECT_EQ(s.getLength(), 3);
  EXPECT_EQ(s.getAt(1), 0xFFFD);
}

TEST(OdString, UpperCasingIsFullUnicode) {
  EXPECT_EQ(OdString::fromUtf8("ação straße").makeUpper().toUtf8(), "AÇÃO STRASSE");
  EXPECT_EQ(OdString::fromUtf8("id_pino").makeUpper().toUtf8(), "ID_PINO");
}

TEST(OdString, TrimRemovesAsciiWhiteSpaceOnly) {
  OdString s = OdString::fromUtf8(" \t\n\v\f\r x y \r\n");
  EXPECT_EQ(s.trim().toUtf8(), "x y");
  // A no-break space is not ASCII white space.
  OdString nbsp = OdString::fromUtf8("\xC2\xA0x");
  EXPECT_EQ(nbsp.trim().getLength(), 2);
  OdString blank = OdString::fromUtf8("   ");
  EXPECT_TRUE(blank.trim().isEmpty());
}

TEST(OdString, CompareByCodeUnitsAndIgnoringCase) {
  OdString a = OdString::fromUtf8("PIN-A"), b = OdString::fromUtf8("pin-a");
  EXPECT_NE(a.compare(b), 0);
  EXPECT_EQ(a.iCompare(b), 0);
  EXPECT_LT(OdString::fromUtf8("B").compare(OdString::fromUtf8("a")), 0);
}

TEST(OdString, FindAndSubstrings) {
  OdString s = OdString::fromUtf8("PIN-CON");
  EXPECT_EQ(s.find(OdString::fromUtf8("PIN-")), 0);
  EXPECT_EQ(OdString::fromUtf8("XPIN-").find(OdString::fromUtf8("PIN-")), 1);
  EXPECT_EQ(s.find(u'Z'), -1);
  EXPECT_EQ(s.left(3).toUtf8(), "PIN");
  EXPECT_EQ(s.mid(4).toUtf8(), "CON");
  EXPECT_EQ(s.right(2).toUtf8(), "ON");
  EXPECT_EQ(s.mid(40).toUtf8(), "");
}

}  // namespace
