// A code's pin rows as the pin check reads them: split into their three
// fields, and searched by identifier.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "catalog/PinRows.h"

namespace {

using Fields = std::array<std::u16string, 3>;

std::vector<Fields> fieldsOf(const zr::PinRows& rows) {
  std::vector<Fields> out;
  for (std::size_t r = 0; r < rows.Size(); ++r)
    out.push_back({std::u16string(rows.Field(r, 0)), std::u16string(rows.Field(r, 1)), std::u16string(rows.Field(r, 2))});
  return out;
}

TEST(PinRows, SplitsEachRowIntoItsThreeFieldsWhateverTheSeparatorsLeaveOut) {
  CStringList list(10);
  list.AddTail(CString(u"K1\f1\fA\f"));
  list.AddTail(CString(u"\f\fK2\f\f2\fB"));  // runs of separators count as one
  list.AddTail(CString(u"K3\f"));             // fields left out are empty
  list.AddTail(CString(u""));
  const zr::PinRows rows(&list);
  EXPECT_EQ(fieldsOf(rows), (std::vector<Fields>{
                                {u"K1", u"1", u"A"}, {u"K2", u"2", u"B"}, {u"K3", u"", u""}, {u"", u"", u""}}));
  // The same rows given as texts.
  const zr::PinRows fromTexts(std::vector<OdString>{OdString(u"K1\f1\fA\f"), OdString(u"\f\fK2\f\f2\fB"),
                                                    OdString(u"K3\f"), OdString(u"")});
  EXPECT_EQ(fieldsOf(fromTexts), fieldsOf(rows));
  // Each row is kept as it was given, separators and all.
  const std::vector<std::u16string> given = {u"K1\f1\fA\f", u"\f\fK2\f\f2\fB", u"K3\f", u""};
  for (const zr::PinRows* each : {&rows, &fromTexts})
    for (std::size_t r = 0; r < given.size(); ++r) EXPECT_EQ(each->Row(r), given[r]) << "row " << r;
  EXPECT_EQ(zr::PinRows(nullptr).Size(), 0u);
  EXPECT_EQ(zr::PinRows(nullptr).FirstRow(u"1"), zr::PinRows::kNone);
}

// Identifiers short enough to sit in the index and longer ones, each found
// at its first row only, exactly (case, length, a unit outside ASCII).
TEST(PinRows, FindsEachIdentifierAtItsFirstRow) {
  const std::vector<std::u16string> ids = {u"1",     u"A2",   u"GND",  u"VCC1", u"SHIELD", u"1",
                                           u"gnd",   u"VCC10", u"",    u"SHIELD", u"\u00c91", u"A2B2C2D2E2"};
  std::vector<OdString> texts;
  for (std::size_t i = 0; i < ids.size(); ++i)
    texts.push_back(OdString(u"K" + std::u16string(1, char16_t(u'a' + i)) + u"\f" + ids[i] + u"\fP\f"));
  const zr::PinRows rows(texts);
  ASSERT_EQ(rows.Size(), ids.size());
  for (std::size_t r = 0; r < ids.size(); ++r) {
    std::size_t first = r;
    for (std::size_t k = 0; k < r; ++k)
      if (ids[k] == ids[r]) first = std::min(first, k);
    EXPECT_EQ(rows.FirstOfRow(r), first) << "row " << r;
    if (!ids[r].empty()) {
      EXPECT_EQ(rows.FirstRow(ids[r]), first) << "row " << r;
    }
  }
  EXPECT_EQ(rows.FirstRow(u""), zr::PinRows::kNone);  // an empty identifier matches no row
  for (const std::u16string_view absent : {u"2", u"A", u"A22", u"Gnd", u"VCC", u"SHIELDS", u"A2B2C2D2E", u"\u00c9"})
    EXPECT_EQ(rows.FirstRow(absent), zr::PinRows::kNone) << OdString(std::u16string(absent)).toUtf8();
}

// A code with many rows: every identifier found, none found twice.
TEST(PinRows, ManyRowsAreEachFoundAtTheirOwnRow) {
  std::vector<OdString> texts;
  for (int i = 0; i < 500; ++i) texts.push_back(OdString::fromUtf8("K\f" + std::to_string(i * 7) + "\fP\f"));
  const zr::PinRows rows(texts);
  for (int i = 0; i < 500; ++i) {
    const OdString id = OdString::fromUtf8(std::to_string(i * 7));
    EXPECT_EQ(rows.FirstRow(id.str()), static_cast<std::size_t>(i));
  }
  EXPECT_EQ(rows.FirstRow(u"3"), zr::PinRows::kNone);
}

// A catalogue may hold texts of any length (SQLite keeps what it is given,
// whatever the column's declared size): a long row is kept whole, and its
// identifier found by its whole text only.
TEST(PinRows, RowsOfAnyLengthAreKeptWhole) {
  const std::u16string longId(70000, u'7');
  const std::u16string row = u"K\f" + longId + u"\fP\f";
  const zr::PinRows rows(std::vector<OdString>{OdString(u"K0\f1\fA\f"), OdString(row)});
  ASSERT_EQ(rows.Size(), 2u);
  EXPECT_EQ(rows.Row(1), row);
  EXPECT_EQ(rows.Field(1, 1), longId);
  EXPECT_EQ(rows.Field(1, 2), u"P");
  EXPECT_EQ(rows.FirstRow(longId), 1u);
  EXPECT_EQ(rows.FirstRow(longId.substr(0, 65535)), zr::PinRows::kNone);
  EXPECT_EQ(rows.FirstRow(longId + u"7"), zr::PinRows::kNone);
}

}  // namespace
