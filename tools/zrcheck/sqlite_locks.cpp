#include "sqlite_locks.h"

#include <sqlite3.h>

bool LeaveOutSqliteLocks() noexcept {
  // Each connection without its mutex; SQLite's own state (its file
  // handles, its caches) keeps its locks.
  if (sqlite3_config(SQLITE_CONFIG_MULTITHREAD) != SQLITE_OK) return false;
  // No count of the memory in use, which takes a lock on every allocation.
  return sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
}
