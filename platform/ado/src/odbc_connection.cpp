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

}  // namespace

std::unique_ptr<OdbcConnection> OdbcConnection::Connect(const OdbcTarget& target, long timeout_seconds) {
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
  std::u16string last_error;
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
      std::unique_ptr<OdbcConnection> connection(new OdbcConnection(dbc.release(), wide));
      if (target.backend == Backend::kSqlite) {
        // The driver opens files lazily: read the schema now so that a file
        // that is not a catalogue fails here, at Open.
        try {
          connection->Execute(u"SELECT count(*) FROM sqlite_master");
        } catch (const OdbcFailure& failure) {
          RaiseOdbc(ZrUtf8ToUtf16("Cannot open " + target.what + ": ") + failure.description);
        }
      }
      return connection;
    }
    Diagnostics diag = ReadDiagnostics(SQL_HANDLE_DBC, dbc.get(), wide);
    last_error = diag.text;
    // IM002: no such driver name; IM003: its library did not load. Try the next.
    bool missing_driver = diag.first_state == "IM002" || diag.first_state == "IM003";
    if (!missing_driver || i + 1 == target.drivers.size()) break;
  }
  RaiseOdbc(ZrUtf8ToUtf16("Cannot open " + target.what + ": ") + last_error);
}

OdbcConnection::~OdbcConnection() {
  SQLDisconnect(static_cast<SQLHDBC>(dbc_));
  SQLFreeHandle(SQL_HANDLE_DBC, static_cast<SQLHDBC>(dbc_));
}

ResultSet OdbcConnection::Execute(std::u16string_view sql) {
  if (!IsSingleStatement(sql))
    RaiseOdbc(u"[42000] Only one statement can be run at a time; the text holds more than one: " +
                      std::u16string(sql));
  Handle stmt(SQL_HANDLE_STMT);
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, static_cast<SQLHDBC>(dbc_), stmt.Address())))
    RaiseOdbc(u"Cannot run a statement: " + ReadDiagnostics(SQL_HANDLE_DBC, static_cast<SQLHDBC>(dbc_), wide_).text);
  SQLRETURN rc = Prepare(stmt.get(), sql, wide_);
  if (SQL_SUCCEEDED(rc)) rc = SQLExecute(stmt.get());
  if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) RaiseOdbc(ReadDiagnostics(SQL_HANDLE_STMT, stmt.get(), wide_).text);
  return ReadResult(stmt.get(), wide_);
}

std::vector<TableInfo> OdbcConnection::Tables() {
  Handle stmt(SQL_HANDLE_STMT);
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, static_cast<SQLHDBC>(dbc_), stmt.Address())))
    RaiseOdbc(u"Cannot list tables: " + ReadDiagnostics(SQL_HANDLE_DBC, static_cast<SQLHDBC>(dbc_), wide_).text);
  SQLRETURN rc = ListTables(stmt.get(), wide_);
  if (!SQL_SUCCEEDED(rc)) RaiseOdbc(u"Cannot list tables: " + ReadDiagnostics(SQL_HANDLE_STMT, stmt.get(), wide_).text);
  ResultSet result = ReadResult(stmt.get(), wide_);
  std::vector<TableInfo> tables;
  for (const auto& row : result.rows) {
    if (row.size() < 4) continue;
    TableInfo table{TextOf(row[1]), TextOf(row[2]), TextOf(row[3])};
    if (IsTableType(table.type)) tables.push_back(std::move(table));
  }
  return tables;
}

std::vector<ColumnInfo> OdbcConnection::Columns(const TableInfo& table) {
  Handle stmt(SQL_HANDLE_STMT);
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, static_cast<SQLHDBC>(dbc_), stmt.Address())))
    RaiseOdbc(u"Cannot list columns: " + ReadDiagnostics(SQL_HANDLE_DBC, static_cast<SQLHDBC>(dbc_), wide_).text);
  std::u16string escape = SearchPatternEscape(static_cast<SQLHDBC>(dbc_), wide_);
  SQLRETURN rc = ListColumns(stmt.get(), table.schema, EscapePattern(table.name, escape), wide_);
  if (!SQL_SUCCEEDED(rc))
    RaiseOdbc(u"Cannot list columns of " + table.name + u": " + ReadDiagnostics(SQL_HANDLE_STMT, stmt.get(), wide_).text);
  ResultSet result = ReadResult(stmt.get(), wide_);
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
