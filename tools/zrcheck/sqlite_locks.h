#pragma once
// SQLite, which the file catalogue's ODBC driver runs on, as a zrcheck run
// uses it.

// Has the process's SQLite leave out the locks it takes on every call: the
// lock of each connection, and the one that counts its memory. A run's
// catalogue statements already run one at a time (RunCatalogue's lock on the
// database), so no connection is used by two threads at once. Reading the
// pin rows of a large run, the driver calls into SQLite some 400,000 times
// (a value's type, its text, each allocation), each call a lock and its
// release.
// Call before the catalogue opens (SQLite takes its settings once, when
// first used): later, nothing changes, and SQLite keeps its locks. True when
// the locks are left out.
bool LeaveOutSqliteLocks() noexcept;
