// ODBC calls behind the data-access objects.

#include "odbc_connection.h"

#include <sql.h>
#include <sqlext.h>
#include <sys/stat.h>

#include <cstdlib>
#include <mutex>
#include <new>

#include "zrcom/utf.h"
#include "odbc_calls.h"
#include "statement_guard.h"

namespace zrado {
namespace {

// The process's ODBC environment (ODBC 3), made on first use and kept.
SQLHENV Environment() {
  static SQLHENV env = [] {
    SQLHENV h = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &h)))
      RaiseOdbc(u"The ODBC driver manager could not be initialised.");
    SQLSetEnvAttr(h, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    return h;
  }();
  return env;
}

std::mutex environment_mutex;

bool IsTableType(std::u16string_view type) { return type == u"TABLE" || type == u"VIEW"; }

// Raises the diagnostics of a failed call on handle, prefixed by what.
[[noreturn]] void Fail(SQLSMALLINT type, SQLHANDLE handle, bool wide, std::u16string_view what) {
  RaiseDiagnostics(ReadDiagnostics(type, handle, wide), what);
}

// A statement handle on the connection, or the failure with the reason.
void AllocateStatement(SQLHDBC dbc, bool wide, Handle& stmt, std::u16string_view what) {
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, stmt.Address()))) Fail(SQL_HANDLE_DBC, dbc, wide, what);
}

// Runs one statement on a connected handle and reads its result.
ResultSet RunStatement(SQLHDBC dbc, bool wide, std::u16string_view sql) {
  Handle stmt(SQL_HANDLE_STMT);
  AllocateStatement(dbc, wide, stmt, u"Cannot run a statement: ");
  SQLRETURN rc = Prepare(stmt.get(), sql, wide);
  if (SQL_SUCCEEDED(rc)) rc = SQLExecute(stmt.get());
  if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) Fail(SQL_HANDLE_STMT, stmt.get(), wide, u"");
  return ReadResult(stmt.get(), wide);
}

struct FileId {
  unsigned long long device = 0, inode = 0;
};

// The identity of the file at path; false when there is none.
bool IdentityOf(const std::string& path, FileId* id) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return false;
  id->device = static_cast<unsigned long long>(info.st_dev);
  id->inode = static_cast<unsigned long long>(info.st_ino);
  return true;
}

}  // namespace

void* OdbcConnection::ConnectHandle(const OdbcTarget& target, long timeout_seconds) {
  const bool wide = target.backend == Backend::kPostgres;
  if (target.backend == Backend::kSqlite) {
    struct stat info {};
    if (stat(target.file.c_str(), &info) != 0)
      RaiseOdbc(ZrUtf8ToUtf16("Could not find file '" + target.file + "'."));
    if (S_ISDIR(info.st_mode))
      RaiseOdbc(ZrUtf8ToUtf16("'" + target.file + "' is a folder, not a catalogue file."));
  }
  SQLHENV env;
  {
    std::lock_guard lock(environment_mutex);
    env = Environment();
  }
  Diagnostics last_error;
  for (std::size_t i = 0; i < target.drivers.size(); ++i) {
    const std::string& driver = target.drivers[i];
    Handle dbc(SQL_HANDLE_DBC);
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env, dbc.Address())))
      throw std::bad_alloc();
    if (timeout_seconds > 0)
      SQLSetConnectAttr(dbc.get(), SQL_ATTR_LOGIN_TIMEOUT,
                        reinterpret_cast<SQLPOINTER>(static_cast<SQLLEN>(timeout_seconds)), 0);
    std::string text = "DRIVER={" + driver + "};" + target.attributes;
    SQLRETURN rc = DriverConnect(dbc.get(), text, wide);
    if (SQL_SUCCEEDED(rc)) {
      if (target.backend == Backend::kSqlite) {
        // The driver opens files lazily: read the schema now so that a file
        // that is not a catalogue fails here, at Open.
        try {
          RunStatement(dbc.get(), wide, u"SELECT count(*) FROM sqlite_master");
          // The driver has no read-only switch of its own; the engine's
          // pragma makes every write fail ("attempt to write a readonly
          // database") and lasts as long as the connection.
          if (target.read_only) RunStatement(dbc.get(), wide, u"PRAGMA query_only = ON");
        } catch (const OdbcFailure& failure) {
          SQLDisconnect(dbc.get());
          RaiseOdbc(ZrUtf8ToUtf16("Cannot open " + target.what + ": ") + failure.description, LinkState::kUsable,
                    failure.sqlstate, failure.native_code);
        }
      }
      return dbc.release();
    }
    Diagnostics diag = ReadDiagnostics(SQL_HANDLE_DBC, dbc.get(), wide);
    last_error = diag;
    // IM002: no such driver name; IM003: its library did not load. Try the next.
    bool missing_driver = diag.first_state == "IM002" || diag.first_state == "IM003";
    if (!missing_driver || i + 1 == target.drivers.size()) break;
  }
  RaiseOdbc(ZrUtf8ToUtf16("Cannot open " + target.what + ": ") + last_error.text, LinkState::kUsable,
            last_error.first_state, last_error.first_native);
}

std::unique_ptr<OdbcConnection> OdbcConnection::Connect(const OdbcTarget& target, long timeout_seconds) {
  std::unique_ptr<OdbcConnection> connection(new OdbcConnection(nullptr, target, timeout_seconds));
  FileId before;
  if (target.backend == Backend::kSqlite) IdentityOf(target.file, &before);
  connection->dbc_ = ConnectHandle(target, timeout_seconds);
  connection->file_device_ = before.device;
  connection->file_inode_ = before.inode;
  return connection;
}

OdbcConnection::OdbcConnection(void* dbc, OdbcTarget target, long timeout_seconds)
    : dbc_(dbc),
      wide_(target.backend == Backend::kPostgres),
      target_(std::move(target)),
      timeout_seconds_(timeout_seconds) {}

OdbcConnection::~OdbcConnection() {
  if (!dbc_) return;
  SQLDisconnect(static_cast<SQLHDBC>(dbc_));
  SQLFreeHandle(SQL_HANDLE_DBC, static_cast<SQLHDBC>(dbc_));
}

bool OdbcConnection::LinkDead() const {
  if (target_.backend == Backend::kSqlite) {
    // The driver keeps reading a removed file from its open descriptor and
    // would write into it where nobody sees it: a file that is gone, or
    // another file under the same name, ends this link.
    FileId now;
    if (!IdentityOf(target_.file, &now)) return true;
    if (now.device != file_device_ || now.inode != file_inode_) return true;
  }
  SQLUINTEGER dead = SQL_CD_FALSE;
  if (!SQL_SUCCEEDED(SQLGetConnectAttr(static_cast<SQLHDBC>(dbc_), SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr)))
    return false;
  return dead == SQL_CD_TRUE;
}

void OdbcConnection::Reconnect() {
  FileId before;
  if (target_.backend == Backend::kSqlite) IdentityOf(target_.file, &before);
  void* fresh = nullptr;
  try {
    fresh = ConnectHandle(target_, timeout_seconds_);
  } catch (const OdbcFailure& failure) {
    RaiseOdbc(ZrUtf8ToUtf16("The connection to " + target_.what + " was lost and could not be restored: ") +
                  failure.description,
              LinkState::kStillLost, failure.sqlstate, failure.native_code);
  }
  SQLDisconnect(static_cast<SQLHDBC>(dbc_));
  SQLFreeHandle(SQL_HANDLE_DBC, static_cast<SQLHDBC>(dbc_));
  dbc_ = fresh;
  file_device_ = before.device;
  file_inode_ = before.inode;
  link_lost_ = false;
}

template <class Call>
auto OdbcConnection::OnLink(Call&& call) {
  // The file catalogue notices a removed or replaced file before the call:
  // the driver itself would not.
  if (!link_lost_ && target_.backend == Backend::kSqlite && LinkDead()) link_lost_ = true;
  if (link_lost_) Reconnect();
  try {
    return call();
  } catch (OdbcFailure& failure) {
    if (failure.link == LinkState::kUsable && !LinkDead()) throw;
    link_lost_ = true;
    failure.link = LinkState::kLost;
    failure.description = ZrUtf8ToUtf16("The connection to " + target_.what + " was lost: ") + failure.description +
                          u" (it is opened again for the next statement)";
    throw;
  }
}

ResultSet OdbcConnection::Execute(std::u16string_view sql) {
  if (!IsSingleStatement(sql))
    RaiseOdbc(u"[42000] Only one statement can be run at a time; the text holds more than one: " +
                      std::u16string(sql),
              LinkState::kUsable, "42000");
  return OnLink([&] { return RunStatement(static_cast<SQLHDBC>(dbc_), wide_, sql); });
}

std::vector<TableInfo> OdbcConnection::Tables() {
  ResultSet result = OnLink([&] {
    Handle stmt(SQL_HANDLE_STMT);
    AllocateStatement(static_cast<SQLHDBC>(dbc_), wide_, stmt, u"Cannot list tables: ");
    if (!SQL_SUCCEEDED(ListTables(stmt.get(), wide_))) Fail(SQL_HANDLE_STMT, stmt.get(), wide_, u"Cannot list tables: ");
    return ReadResult(stmt.get(), wide_);
  });
  std::vector<TableInfo> tables;
  for (const auto& row : result.rows) {
    if (row.size() < 4) continue;
    TableInfo table{TextOf(row[1]), TextOf(row[2]), TextOf(row[3])};
    if (IsTableType(table.type)) tables.push_back(std::move(table));
  }
  return tables;
}

std::vector<ColumnInfo> OdbcConnection::Columns(const TableInfo& table) {
  const std::u16string what = u"Cannot list columns of " + table.name + u": ";
  ResultSet result = OnLink([&] {
    Handle stmt(SQL_HANDLE_STMT);
    AllocateStatement(static_cast<SQLHDBC>(dbc_), wide_, stmt, what);
    std::u16string escape = SearchPatternEscape(static_cast<SQLHDBC>(dbc_), wide_);
    if (!SQL_SUCCEEDED(ListColumns(stmt.get(), table.schema, EscapePattern(table.name, escape), wide_)))
      Fail(SQL_HANDLE_STMT, stmt.get(), wide_, what);
    return ReadResult(stmt.get(), wide_);
  });
  std::vector<ColumnInfo> columns;
  for (const auto& row : result.rows) {
    if (row.size() < 7) continue;
    // The name is a search pattern: keep only the table's own columns.
    if (TextOf(row[2]) != table.name || TextOf(row[1]) != table.schema) continue;
    long size = 0;
    if (row[6].kind == Cell::Kind::kText)
      size = std::strtol(ZrUtf16ToUtf8(row[6].text).c_str(), nullptr, 10);
    else if (row[6].kind != Cell::Kind::kNull && row[6].kind != Cell::Kind::kDouble)
      size = static_cast<long>(row[6].integer);
    columns.push_back(ColumnInfo{TextOf(row[3]), TextOf(row[5]), size});
  }
  return columns;
}

}  // namespace zrado
