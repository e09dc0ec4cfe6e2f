// The texts of a pin record (handle, identifier, pin code) read back as
// the OdStrings they were given, whatever their length and content, and
// are copied, moved and compared as those OdStrings would be.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "drawing/PinText.h"

namespace {

using zr::PinText;

// Texts on both sides of the length kept in place, ASCII and not: a
// letter outside ASCII, a character of two UTF-16 units, a NUL inside.
std::vector<std::u16string> samples() {
  std::vector<std::u16string> out;
  for (std::size_t n = 0; n <= 20; ++n) {
    std::u16string s;
    for (std::size_t i = 0; i < n; ++i) s += static_cast<char16_t>(u'A' + i);
    out.push_back(s);
  }
  out.push_back(u"P\u00e91");                // three units, one outside ASCII
  out.push_back(u"pino-\u00e7\u00e3o");       // eight units
  out.push_back(u"\U0001F600x");             // a surrogate pair
  out.push_back(std::u16string(u"a\0b", 3));  // a NUL inside
  return out;
}

TEST(PinText, ReadsBackWhatItWasGivenAtEveryLength) {
  for (const std::u16string& s : samples()) {
    SCOPED_TRACE(OdString(s).toUtf8());
    const OdString given(s);
    const PinText text(given);
    EXPECT_EQ(text.view(), s);
    EXPECT_EQ(text.getLength(), given.getLength());
    EXPECT_EQ(text.isEmpty(), s.empty());
    EXPECT_EQ(text.toUtf8(), given.toUtf8());
    const OdString back = text;
    EXPECT_EQ(back, given);
  }
  EXPECT_TRUE(PinText(std::u16string_view()).isEmpty());  // a view of nothing at all
}

TEST(PinText, CopiesMovesAndAssignmentsKeepEachText) {
  const std::vector<std::u16string> all = samples();
  for (const std::u16string& a : all) {
    for (const std::u16string& b : all) {
      SCOPED_TRACE(OdString(a).toUtf8() + " / " + OdString(b).toUtf8());
      PinText x{OdString(a)}, y{OdString(b)};
      PinText copy(x);
      EXPECT_EQ(copy.view(), a);
      copy = y;  // replaces a text in place or on the heap by either
      EXPECT_EQ(copy.view(), b);
      EXPECT_EQ(y.view(), b);
      PinText moved(std::move(copy));
      EXPECT_EQ(moved.view(), b);
      EXPECT_TRUE(copy.isEmpty());  // NOLINT: a moved-from text is empty
      moved = std::move(x);
      EXPECT_EQ(moved.view(), a);
      EXPECT_TRUE(x.isEmpty());  // NOLINT
      moved = OdString(b);  // as a record's field is assigned
      EXPECT_EQ(moved.view(), b);
      PinText& same = moved;
      moved = same;
      EXPECT_EQ(moved.view(), b);
      moved = std::move(same);
      EXPECT_EQ(moved.view(), b);
    }
  }
}

TEST(PinText, ComparesAsItsTextWithTextsAndOdStrings) {
  const std::vector<std::u16string> all = samples();
  for (const std::u16string& a : all) {
    for (const std::u16string& b : all) {
      const PinText x{OdString(a)}, y{OdString(b)};
      EXPECT_EQ(x == y, a == b) << OdString(a).toUtf8() << " / " << OdString(b).toUtf8();
      EXPECT_EQ(x == OdString(b), a == b);
      EXPECT_EQ(OdString(a) == y, a == b);
      EXPECT_EQ(x != y, a != b);
    }
  }
  // Exact: case and trailing text count.
  EXPECT_FALSE(PinText(OdString(u"p1")) == OdString(u"P1"));
  EXPECT_FALSE(PinText(OdString(u"ABCDEFG")) == PinText(OdString(u"ABCDEFGH")));
}

}  // namespace
