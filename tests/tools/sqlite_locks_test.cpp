// SQLite's locks left out for a zrcheck run: a connection opened afterwards
// has no lock of its own, memory is not counted, and statements run as
// before; once SQLite is in use, asking changes nothing. (Each test runs in
// a process of its own: SQLite takes its settings once a process.)
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "sqlite_locks.h"

namespace {

// The text of the single value a query returns.
std::string valueOf(sqlite3* db, const char* query) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, query, -1, &statement, nullptr) != SQLITE_OK) return "(not prepared)";
  std::string value = "(no row)";
  if (sqlite3_step(statement) == SQLITE_ROW)
    value = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
  sqlite3_finalize(statement);
  return value;
}

TEST(SqliteLocks, AConnectionOpenedAfterHasNoLockAndWorksAsBefore) {
  ASSERT_TRUE(LeaveOutSqliteLocks());
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_db_mutex(db), nullptr);
  ASSERT_EQ(sqlite3_exec(db,
                         "CREATE TABLE BDPINOS (PINO_CONECTOR TEXT, PINO_PINO TEXT);"
                         "INSERT INTO BDPINOS VALUES ('AM04F', '1'), ('AM04F', '2');",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  EXPECT_EQ(valueOf(db, "SELECT group_concat(PINO_PINO) FROM BDPINOS WHERE PINO_CONECTOR = 'AM04F'"), "1,2");
  EXPECT_EQ(sqlite3_memory_used(), 0) << "memory is no longer counted";
  sqlite3_close(db);
}

TEST(SqliteLocks, OnceSqliteIsInUseItKeepsItsLocks) {
  sqlite3* first = nullptr;
  ASSERT_EQ(sqlite3_open(":memory:", &first), SQLITE_OK);
  ASSERT_NE(sqlite3_db_mutex(first), nullptr) << "SQLite's default: a lock per connection";
  EXPECT_GT(sqlite3_memory_used(), 0);
  EXPECT_FALSE(LeaveOutSqliteLocks());
  sqlite3* second = nullptr;
  ASSERT_EQ(sqlite3_open(":memory:", &second), SQLITE_OK);
  EXPECT_NE(sqlite3_db_mutex(second), nullptr);
  EXPECT_GT(sqlite3_memory_used(), 0);
  sqlite3_close(second);
  sqlite3_close(first);
}

}  // namespace
