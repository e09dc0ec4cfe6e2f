// The single-statement check, case by case.

#include "statement_guard.h"

#include <gtest/gtest.h>

#include "zrcom/utf.h"

namespace {

TEST(StatementGuard, AcceptsSingleStatements) {
  const char16_t* accepted[] = {
      u"SELECT PINO_KEY FROM BDPINOS WHERE PINO_CONECTOR='X'",
      u"SELECT 1;",
      u"SELECT 1 ;  \n ;",
      u"SELECT ';' FROM T",
      u"SELECT 'a''; DROP TABLE T; --' FROM T",
      u"SELECT \"a;b\" FROM T",
      u"SELECT \"a\"\";b\" FROM T",
      u"SELECT 1 -- ; DROP TABLE T",
      u"SELECT 1 /* ; DROP TABLE T */",
      u"SELECT 1; -- the end",
      u"SELECT 1; /* the end */",
      u"create table BDCABO (CABO_KEY CHAR(6), CABO_BLINDADO CHAR(1))",
      u"",
  };
  for (const char16_t* text : accepted) {
    SCOPED_TRACE(ZrUtf16ToUtf8(text));
    EXPECT_TRUE(zrado::IsSingleStatement(text));
  }
}

TEST(StatementGuard, RefusesASecondStatementHoweverHidden) {
  const char16_t* refused[] = {
      u"SELECT 1; DROP TABLE T",
      u"SELECT PINO_KEY FROM BDPINOS WHERE PINO_CONECTOR='X'; DROP TABLE BDPINOS; --'",
      u"SELECT 1;DROP TABLE T",
      u"SELECT 1 /* */; /* */ DROP TABLE T",
      u"SELECT 1; -- comment\nDROP TABLE T",
      u"SELECT 1 -- comment\r; DROP TABLE T",        // a line comment ends at CR too
      u"SELECT 1 /* /* */ ; DROP TABLE T */",        // block comments do not nest here
      u"SELECT 'x\\'; DROP TABLE T; --'",            // without backslash escapes
      u"SELECT '\\''; DROP TABLE T; --'",            // with backslash escapes
      u"SELECT $$;$$",                               // dollar quotes are not read: refused
      u"SELECT [a;b] FROM T",                        // bracket identifiers are not read: refused
  };
  for (const char16_t* text : refused) {
    SCOPED_TRACE(ZrUtf16ToUtf8(text));
    EXPECT_FALSE(zrado::IsSingleStatement(text));
  }
}

}  // namespace
