// One ODBC connection: connect, run a statement to completion, list tables
// and columns. Every failure throws OdbcFailure whose description carries the
// driver's diagnostics ("[SQLSTATE] (native N) message"). Standard types
// only: the ODBC headers stay inside the .cpp files of the ODBC side.
//
// A connection outlives the link under it: when a call finds the link gone
// (the server shut down or restarted, the network failed, the catalogue file
// was removed or replaced), that call fails with LinkState::kLost and the
// next call first connects again to the same target. A reconnect that fails
// fails its call with LinkState::kStillLost and the connect error; the call
// after it tries again. Statements are never repeated here: whether to try
// again is the caller's choice.
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
  OdbcConnection(void* dbc, OdbcTarget target, long timeout_seconds);

  // A connected handle (SQLHDBC) to the target, trying its drivers in order.
  static void* ConnectHandle(const OdbcTarget& target, long timeout_seconds);
  // Runs one call on the link: reconnects first when the link was lost,
  // notes a link that the call finds gone, and marks the failure so.
  template <class Call>
  auto OnLink(Call&& call);
  // Replaces the lost link by a new one; throws kStillLost when it fails.
  void Reconnect();
  // Whether the driver says the link is dead (SQL_ATTR_CONNECTION_DEAD), or,
  // for the file catalogue, the file is gone or another file took its name.
  bool LinkDead() const;

  void* dbc_;  // SQLHDBC
  // Text passes as UTF-16 (the PostgreSQL Unicode driver) or as UTF-8 (the
  // SQLite driver, which has no UTF-16 entry points).
  bool wide_;
  // What was connected to (with the password: a reconnect needs it) and how
  // long a connect may wait.
  OdbcTarget target_;
  long timeout_seconds_;
  bool link_lost_ = false;
  // The catalogue file that is open (file catalogue only).
  unsigned long long file_device_ = 0, file_inode_ = 0;
};

}  // namespace zrado
