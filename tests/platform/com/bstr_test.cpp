// BSTR allocation and the UTF-8/UTF-16 conversions.

#include <gtest/gtest.h>

#include "zrcom/com.h"

namespace {

TEST(Bstr, AllocatesCopiesWithLengthPrefix) {
  BSTR s = SysAllocString(u"Conector");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(SysStringLen(s), 8u);
  EXPECT_EQ(SysStringByteLen(s), 16u);
  EXPECT_EQ(std::u16string_view(s), u"Conector");
  EXPECT_EQ(s[8], u'\0');
  SysFreeString(s);
}

TEST(Bstr, NullIsTheEmptyString) {
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  SysFreeString(nullptr);
  EXPECT_EQ(ZrBstrView(nullptr), u"");
}

TEST(Bstr, KeepsEmbeddedNulsAndZeroFillsWithoutSource) {
  const char16_t text[] = {u'A', u'\0', u'B'};
  BSTR s = SysAllocStringLen(text, 3);
  EXPECT_EQ(SysStringLen(s), 3u);
  EXPECT_EQ(ZrBstrView(s), std::u16string_view(text, 3));
  SysFreeString(s);
  BSTR zero = SysAllocStringLen(nullptr, 4);
  EXPECT_EQ(ZrBstrView(zero), std::u16string(4, u'\0'));
  SysFreeString(zero);
}

TEST(Bstr, ReAllocReplacesTheText) {
  BSTR s = SysAllocString(u"old");
  ASSERT_TRUE(SysReAllocString(&s, u"new text"));
  EXPECT_EQ(ZrBstrView(s), u"new text");
  SysFreeString(s);
}

TEST(Utf, ConvertsBothWaysOutsideAscii) {
  EXPECT_EQ(ZrUtf8ToUtf16("contrapeça ç ã 𝄞"), u"contrapeça ç ã 𝄞");
  EXPECT_EQ(ZrUtf16ToUtf8(u"relé 24 V 𝄞"), "relé 24 V 𝄞");
}

TEST(Utf, ReplacesIllFormedInput) {
  EXPECT_EQ(ZrUtf8ToUtf16("a\xff" "b"), u"a\uFFFDb");
  const char16_t lone[] = {u'x', 0xD800, u'y'};
  EXPECT_EQ(ZrUtf16ToUtf8(std::u16string_view(lone, 3)), "x\xEF\xBF\xBDy");
}

TEST(BstrT, CopiesAreIndependent) {
  _bstr_t a(u"BDPINOS");
  _bstr_t b = a;
  b += u" WHERE";
  EXPECT_EQ(a, _bstr_t(u"BDPINOS"));
  EXPECT_EQ(b.view(), u"BDPINOS WHERE");
  EXPECT_NE(static_cast<const char16_t*>(a), static_cast<const char16_t*>(b));
}

TEST(BstrT, JoinsAndComparesOrdinally) {
  _bstr_t joined = _bstr_t("Provider=") + u"SQLOLEDB.1" + ";";
  EXPECT_EQ(joined.utf8(), "Provider=SQLOLEDB.1;");
  EXPECT_EQ(joined.length(), 20u);
  EXPECT_TRUE(_bstr_t(u"A") < _bstr_t(u"a"));
  EXPECT_EQ(_bstr_t(), _bstr_t(u""));
  EXPECT_TRUE(!_bstr_t());
}

TEST(BstrT, AttachDetachAndCopyTransferOwnership) {
  _bstr_t s;
  s.Attach(SysAllocString(u"dono"));
  BSTR copy = s.copy();
  BSTR mine = s.Detach();
  EXPECT_TRUE(!s);
  EXPECT_EQ(ZrBstrView(mine), u"dono");
  EXPECT_NE(mine, copy);
  SysFreeString(mine);
  SysFreeString(copy);
  EXPECT_EQ(_bstr_t().copy(), nullptr);
  BSTR empty = _bstr_t().copy(false);
  EXPECT_NE(empty, nullptr);
  EXPECT_EQ(SysStringLen(empty), 0u);
  SysFreeString(empty);
}

TEST(BstrT, GetAddressFreesTheOldTextForAnOutParameter) {
  _bstr_t s(u"antigo");
  BSTR* out = s.GetAddress();
  EXPECT_EQ(*out, nullptr);
  *out = SysAllocString(u"novo");
  EXPECT_EQ(s.view(), u"novo");
}

}  // namespace
