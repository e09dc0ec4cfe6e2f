// GUID text parsing and formatting.

#include <gtest/gtest.h>

#include "zrcom/com.h"

namespace {

constexpr GUID kCatalog = ZrGuid("{00000602-0000-0010-8000-00AA006D2EA4}");

TEST(Guid, ParsesWithAndWithoutBracesInEitherCase) {
  for (const char* text : {"{00000602-0000-0010-8000-00AA006D2EA4}", "00000602-0000-0010-8000-00aa006d2ea4"}) {
    SCOPED_TRACE(text);
    GUID g{};
    ASSERT_TRUE(ZrParseGuid(text, &g));
    EXPECT_EQ(g, kCatalog);
  }
  EXPECT_EQ(kCatalog.Data1, 0x00000602u);
  EXPECT_EQ(kCatalog.Data3, 0x0010);
  EXPECT_EQ(kCatalog.Data4[0], 0x80);
  EXPECT_EQ(kCatalog.Data4[7], 0xA4);
}

TEST(Guid, RefusesMalformedText) {
  const char* refused[] = {
      "",
      "00000602-0000-0010-8000-00AA006D2EA",     // short
      "00000602-0000-0010-8000-00AA006D2EA44",   // long
      "{00000602-0000-0010-8000-00AA006D2EA4",   // unbalanced brace
      "(00000602-0000-0010-8000-00AA006D2EA4)",  // wrong brackets
      "00000602 0000-0010-8000-00AA006D2EA4",    // missing dash
      "0000060G-0000-0010-8000-00AA006D2EA4",    // not hexadecimal
  };
  for (const char* text : refused) {
    SCOPED_TRACE(text);
    GUID g = kCatalog;
    EXPECT_FALSE(ZrParseGuid(text, &g));
    EXPECT_EQ(g, kCatalog);  // left alone
  }
}

TEST(Guid, FormatsInUpperCaseWithBracesAndRoundTrips) {
  std::string text = ZrGuidToString(kCatalog);
  EXPECT_EQ(text, "{00000602-0000-0010-8000-00AA006D2EA4}");
  CLSID back{};
  EXPECT_EQ(CLSIDFromString(ZrUtf8ToUtf16(text).c_str(), &back), S_OK);
  EXPECT_EQ(back, kCatalog);
  EXPECT_EQ(CLSIDFromString(u"not a guid", &back), CO_E_CLASSSTRING);
}

TEST(Guid, InterfaceIdsAreDeclaredPerInterface) {
  EXPECT_EQ(ZrGuidToString(ZrUuidOf<IUnknown>()), "{00000000-0000-0000-C000-000000000046}");
  EXPECT_NE(ZrUuidOf<IUnknown>(), ZrUuidOf<IDispatch>());
}

}  // namespace
