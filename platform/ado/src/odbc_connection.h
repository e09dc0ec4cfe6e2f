// One ODBC connection: connect, run a statement to completion, list tables
// and columns. Every failure throws OdbcFailure whose description carries the
// driver's diagnostics ("[SQLSTATE] (native N) message"). Standard types
// only: the ODBC headers stay inside the .cpp files of the ODBC side.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "connection_string.h"
#include "result_set.h"

namespace zrado {

struct TableInfo {
  std::u16string schema;
  std::u16string name;
  std::u16string type;
};

struct ColumnInfo {
  std::u16string name;
  std::u16string type_name;
  long size;
};

class OdbcConnection {
 public:
  // Connects to the target, trying its drivers in order. Nothing stays
  // allocated when it throws.
  static std::unique_ptr<OdbcConnection> Connect(const OdbcTarget& target, long timeout_seconds);
  ~OdbcConnection();
  OdbcConnection(const OdbcConnection&) = delete;
  OdbcConnection& operator=(const OdbcConnection&) = delete;

  // Prepares and executes one statement (refusing text that holds more than
  // one) and reads every row it returns.
  ResultSet Execute(std::u16string_view sql);
  std::vector<TableInfo> Tables();
  std::vector<ColumnInfo> Columns(const TableInfo& table);

 private:
  OdbcConnection(void* dbc, bool wide) : dbc_(dbc), wide_(wide) {}

  void* dbc_;  // SQLHDBC
  // Text passes as UTF-16 (the PostgreSQL Unicode driver) or as UTF-8 (the
  // SQLite driver, which has no UTF-16 entry points).
  bool wide_;
};

}  // namespace zrado
