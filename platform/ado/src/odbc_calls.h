// Thin helpers over the ODBC API that pass text as UTF-16 (wide) or UTF-8
// (narrow), as the connection's driver needs, and read results into
// cells.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <utility>

#include "result_set.h"

namespace zrado {

// Owns one ODBC handle and frees it.
class Handle {
 public:
  explicit Handle(SQLSMALLINT type) : type_(type) {}
  ~Handle() {
    if (h_) SQLFreeHandle(type_, h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  SQLHANDLE get() const { return h_; }
  SQLHANDLE* Address() { return &h_; }
  SQLHANDLE release() { return std::exchange(h_, SQLHANDLE{}); }

 private:
  SQLSMALLINT type_;
  SQLHANDLE h_ = nullptr;
};

// The diagnostic records of a failed call (at most 20).
struct Diagnostics {
  std::string first_state;  // SQLSTATE of the first record ("" when none)
  long first_native = 0;    // the driver's native error code of the first record (0 when none)
  std::u16string text;      // "[SQLSTATE] (native N) message", records joined by "; "
  // A record says the link to the server is gone: SQLSTATE class 08
  // (connection exception) or 57P01-57P03 (the server shut down, crashed or
  // is starting).
  bool link_lost = false;
};

// Whether a SQLSTATE says the link to the server is gone (see Diagnostics).
bool IsLinkLostState(std::string_view state);

// The diagnostics of the last call on handle (of ODBC handle type `type`),
// read through the wide or narrow entry points. Never fails: a driver that
// gives none yields the text "the driver gave no diagnostics".
Diagnostics ReadDiagnostics(SQLSMALLINT type, SQLHANDLE handle, bool wide);

// Throws the diagnostics as an OdbcFailure: the text after `what`, the first
// record's SQLSTATE and native code, and a lost link when a record says so.
[[noreturn]] void RaiseDiagnostics(const Diagnostics& diag, std::u16string_view what = {});

SQLRETURN DriverConnect(SQLHDBC dbc, const std::string& text, bool wide);
SQLRETURN Prepare(SQLHSTMT stmt, std::u16string_view sql, bool wide);
SQLRETURN ListTables(SQLHSTMT stmt, bool wide);
SQLRETURN ListColumns(SQLHSTMT stmt, const std::u16string& schema, const std::u16string& table_pattern, bool wide);

// The driver's escape for '_' and '%' in catalogue search patterns (may be empty).
std::u16string SearchPatternEscape(SQLHDBC dbc, bool wide);
std::u16string EscapePattern(const std::u16string& name, const std::u16string& escape);

// Reads the statement's result set, if it has one, to the end. Throws
// OdbcFailure with the driver's diagnostics.
ResultSet ReadResult(SQLHSTMT stmt, bool wide);

// A text cell's characters; "" for null or other kinds.
std::u16string TextOf(const Cell& value);

}  // namespace zrado
