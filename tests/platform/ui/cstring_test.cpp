// CString: formatting (table-driven, including mismatched arguments),
// trimming, ICU case mapping and the search/edit operations.
#include <gtest/gtest.h>

#include "ui_test_support.h"
#include "zrui/afx/cstring.h"

using zrui::test::Narrow;

namespace {

TEST(CStringFormat, ProducesThePrintfResults) {
  struct Case {
    CString got;
    std::u16string want;
  };
  CString a, b, c, d, e, f, g, h;
  a.Format(u"%d", 42);
  b.Format(u"%s: %d pinos", CString(u"J1"), 3);
  c.Format(u"%5d|%-5d|%05d", 7, 7, 7);
  d.Format(u"%x %X %o", 255u, 255u, 8);
  e.Format(u"%.2f %g", 3.14159, 0.5);
  f.Format(u"%c%c", u'o', u'k');
  g.Format(u"%-6s|%3s|%.2s", u"ab", u"abcd", u"xyz");
  h.Format(u"100%% %ld %lu %I64d", 5L, 6UL, 7LL);
  Case cases[] = {{a, u"42"},         {b, u"J1: 3 pinos"},       {c, u"    7|7    |00007"},
                  {d, u"ff FF 10"},   {e, u"3.14 0.5"},          {f, u"ok"},
                  {g, u"ab    |abcd|xy"}, {h, u"100% 5 6 7"}};
  for (const auto& k : cases) EXPECT_EQ(k.got.str(), k.want) << Narrow(k.got.str());
}

TEST(CStringFormat, MismatchedArgumentsShowAMarkInsteadOfCrashing) {
  CString s;
  s.Format(u"%d and %s", u"text");
  EXPECT_EQ(s, u"(?) and (?)");
  s.Format(u"%s", 5);
  EXPECT_EQ(s, u"(?)");
  s.Format(u"trailing %");
  EXPECT_EQ(s, u"trailing %");
  s.AppendFormat(u" %d", 1);
  EXPECT_EQ(s, u"trailing % 1");
}

TEST(CStringEdit, TrimRemovesAsciiWhiteSpaceOnly) {
  CString s(u" \t\r\n\v\f pino\u00A0 \n");
  s.Trim();
  EXPECT_EQ(s, u"pino\u00A0");
  CString t(u"xxabcxx");
  t.Trim(u'x');
  EXPECT_EQ(t, u"abc");
}

TEST(CStringEdit, CaseMappingUsesFullUnicodeRules) {
  CString s(u"straße ção");
  s.MakeUpper();
  EXPECT_EQ(s, u"STRASSE ÇÃO");
  EXPECT_EQ(CString(u"Conector").CompareNoCase(u"CONECTOR"), 0);
  EXPECT_LT(CString(u"a").CompareNoCase(u"B"), 0);
  EXPECT_GT(CString(u"b").Compare(u"B"), 0);
}

TEST(CStringEdit, SearchAndSlicesStayInBounds) {
  CString s(u"PIN-J1-3");
  EXPECT_EQ(s.Find(u'-'), 3);
  EXPECT_EQ(s.Find(u"-", 4), 6);
  EXPECT_EQ(s.ReverseFind(u'-'), 6);
  EXPECT_EQ(s.Find(u"zz"), -1);
  EXPECT_EQ(s.Find(u'-', 100), -1);
  EXPECT_EQ(s.Left(4), u"PIN-");
  EXPECT_EQ(s.Right(1), u"3");
  EXPECT_EQ(s.Mid(4, 2), u"J1");
  EXPECT_EQ(s.Mid(20), u"");
  EXPECT_EQ(s.Left(-2), u"");
  CString r(u"a,b,,c");
  EXPECT_EQ(r.Replace(u",", u";"), 3);
  EXPECT_EQ(r, u"a;b;;c");
  int pos = 0;
  std::vector<std::u16string> tokens;
  for (CString t = r.Tokenize(u";", pos); pos >= 0; t = r.Tokenize(u";", pos)) tokens.push_back(t.str());
  EXPECT_EQ(tokens, (std::vector<std::u16string>{u"a", u"b", u"c"}));
}

TEST(CStringEdit, BufferAccessAndUtf8) {
  CString s;
  char16_t* buf = s.GetBuffer(10);
  buf[0] = u'o';
  buf[1] = u'k';
  buf[2] = 0;
  s.ReleaseBuffer();
  EXPECT_EQ(s, u"ok");
  EXPECT_EQ(CString::FromUtf8("Conexão").ToUtf8(), "Conexão");
  EXPECT_EQ(CString::FromUtf8("Conexão").GetLength(), 7);
}

}  // namespace
