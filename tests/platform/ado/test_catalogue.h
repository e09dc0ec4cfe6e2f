// Throwaway copies of the example catalogue for database tests, on either
// driver. One test body runs against both: the SQLite file catalogue always,
// the PostgreSQL server when ZR_TEST_PG names one (see
// scripts/pg-test-server.sh), else the test is skipped.
//
//   class MyTest : public testing::TestWithParam<zrtest::Backend> {};
//   TEST_P(MyTest, Reads) {
//     zrtest::TestCatalogue db(GetParam());   // skips without a server
//     _ConnectionPtr c = db.Connect();
//   }
//   INSTANTIATE_TEST_SUITE_P(Drivers, MyTest, zrtest::AllBackends(), zrtest::BackendName);
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "zrado/ado.h"

namespace zrtest {

enum class Backend { kSqlite, kPostgres };

inline void PrintTo(Backend backend, std::ostream* out) {
  *out << (backend == Backend::kSqlite ? "SQLite" : "PostgreSQL");
}

inline auto AllBackends() { return testing::Values(Backend::kSqlite, Backend::kPostgres); }
std::string BackendName(const testing::TestParamInfo<Backend>& info);

// The server named by ZR_TEST_PG ("host=... port=... dbname=... user=...
// password=..."); empty fields when it is unset.
struct PgServer {
  std::string host, port, dbname, user, password;
  bool available() const { return !port.empty(); }
};
PgServer PgServerFromEnvironment();

class TestCatalogue {
 public:
  // A fresh copy of the example catalogue: a new SQLite file in a new
  // temporary folder, or a new PostgreSQL database made from the template
  // database that the server script loaded. Calls GTEST_SKIP (check
  // IsSkipped) when the PostgreSQL server is not available.
  explicit TestCatalogue(Backend backend);
  // A fresh copy on the given server (a server of the test's own).
  TestCatalogue(Backend backend, const PgServer& server);
  ~TestCatalogue();
  TestCatalogue(const TestCatalogue&) = delete;
  TestCatalogue& operator=(const TestCatalogue&) = delete;

  Backend backend() const { return backend_; }
  // The connection string, user and password, as the module builds them.
  std::u16string ConnectionString() const;
  std::u16string User() const;
  std::u16string Password() const;
  // A new open Connection to the copy; throws _com_error.
  _ConnectionPtr Connect() const;
  // For the file catalogue: its folder (with a trailing '/') and file name.
  const std::string& folder() const { return folder_; }
  const std::string& file_name() const { return file_name_; }
  // For the server: the database name and the server.
  const std::string& database() const { return database_; }
  const PgServer& server() const { return server_; }

 private:
  Backend backend_;
  std::string folder_;
  std::string file_name_ = "catalogo.db";
  std::string database_;
  PgServer server_;
};

// The text of a _com_error for assertion messages: HRESULT, message, description.
std::string Describe(const _com_error& e);

}  // namespace zrtest

// Skips the calling test when the catalogue could not be made because its
// server is not available.
#define ZR_REQUIRE_CATALOGUE(catalogue)          \
  do {                                           \
    if (::testing::Test::IsSkipped()) return;    \
  } while (0)
