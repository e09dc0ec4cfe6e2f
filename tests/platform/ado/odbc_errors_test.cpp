// Failures of the ODBC side carry the driver's SQLSTATE and native error code
// beside the message, on both drivers; a failure of this layer's own carries
// the SQLSTATE it stands for, or none.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "odbc_connection.h"
#include "test_catalogue.h"
#include "zrcom/utf.h"

namespace {

class OdbcErrors : public testing::TestWithParam<zrtest::Backend> {};

zrado::OdbcFailure FailureOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const zrado::OdbcFailure& failure) {
    return failure;
  }
  ADD_FAILURE() << "the call did not fail";
  return {};
}

std::unique_ptr<zrado::OdbcConnection> Connect(const zrtest::TestCatalogue& db) {
  const zrado::OdbcTarget target = zrado::MakeOdbcTarget(
      ZrUtf16ToUtf8(db.ConnectionString()), ZrUtf16ToUtf8(db.User()), ZrUtf16ToUtf8(db.Password()));
  return zrado::OdbcConnection::Connect(target, 15);
}

TEST_P(OdbcErrors, DriverFailuresCarryTheFirstRecordsSqlstateAndNativeCode) {
  zrtest::TestCatalogue db(GetParam());
  ZR_REQUIRE_CATALOGUE(db);
  std::unique_ptr<zrado::OdbcConnection> connection = Connect(db);
  for (const char16_t* sql : {u"SELECT * FROM NO_SUCH_TABLE", u"SELEKT 1", u"INSERT INTO BDPINOS (NO_SUCH_COLUMN) VALUES (1)"}) {
    SCOPED_TRACE(ZrUtf16ToUtf8(sql));
    const zrado::OdbcFailure failure = FailureOf([&] { connection->Execute(sql); });
    EXPECT_EQ(failure.sqlstate.size(), 5u);
    // The fields are those of the first record that the text begins with.
    const std::string first = "[" + failure.sqlstate + "] (native " + std::to_string(failure.native_code) + ") ";
    EXPECT_EQ(ZrUtf16ToUtf8(failure.description).rfind(first, 0), 0u) << ZrUtf16ToUtf8(failure.description);
  }
}

TEST_P(OdbcErrors, ARefusedStatementCarriesTheSqlstateOfASyntaxError) {
  zrtest::TestCatalogue db(GetParam());
  ZR_REQUIRE_CATALOGUE(db);
  std::unique_ptr<zrado::OdbcConnection> connection = Connect(db);
  const zrado::OdbcFailure failure = FailureOf([&] { connection->Execute(u"SELECT 1; SELECT 2"); });
  EXPECT_EQ(failure.sqlstate, "42000");
  EXPECT_EQ(failure.native_code, 0);
}

INSTANTIATE_TEST_SUITE_P(Drivers, OdbcErrors, zrtest::AllBackends(), zrtest::BackendName);

TEST(OdbcErrorsOfThisLayer, AMissingCatalogueFileCarriesNoSqlstate) {
  const zrado::OdbcTarget target =
      zrado::MakeOdbcTarget("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/nonexistent/catalogue.db", "", "");
  const zrado::OdbcFailure failure = FailureOf([&] { zrado::OdbcConnection::Connect(target, 5); });
  EXPECT_EQ(failure.sqlstate, "");
  EXPECT_EQ(failure.native_code, 0);
}

}  // namespace
