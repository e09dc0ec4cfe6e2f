// What a statement returned, read in full (the client cursor's rows), in
// standard types only: the ODBC side fills it, the COM side turns it into
// variants.
#pragma once

#include <string>
#include <vector>

namespace zrado {

struct Cell {
  enum class Kind { kNull, kShort, kLong, kBigInt, kDouble, kBool, kText };
  Kind kind = Kind::kNull;
  long long integer = 0;  // kShort, kLong, kBigInt, kBool (0 or 1)
  double real = 0;        // kDouble
  std::u16string text;    // kText
};

struct ResultColumn {
  std::u16string name;
  Cell::Kind kind;      // what the column's values hold (never kNull)
  bool long_text;       // a long text column (text, memo)
};

struct ResultSet {
  bool has_rows = false;  // the statement produced a result set (possibly empty)
  std::vector<ResultColumn> columns;
  std::vector<std::vector<Cell>> rows;
  long long affected = -1;  // rows changed, when the driver tells
};

// What a failure says about the link to the database.
enum class LinkState {
  kUsable,      // the statement failed; the connection still works
  kLost,        // the link broke during this call; the next call reconnects
  kStillLost,   // the link was lost before and reconnecting failed again
};

// A failure of the ODBC side: the driver's diagnostics or the refusal of a
// statement. The COM side reports it as E_FAIL with this description, or as
// adErrConnectionLost / adErrReconnectFailed when the link is gone.
struct OdbcFailure {
  // "[SQLSTATE] (native N) message" of every diagnostic record, after what failed.
  std::u16string description;
  LinkState link = LinkState::kUsable;
  // The SQLSTATE and the driver's native error code of the first diagnostic
  // record, beside the text: "" and 0 when the failure is not the driver's
  // (a missing file). A statement refused before it reaches the driver
  // carries the SQLSTATE a driver gives a syntax error (42000).
  std::string sqlstate;
  long native_code = 0;
};

// Throws an OdbcFailure of these fields.
[[noreturn]] inline void RaiseOdbc(std::u16string description, LinkState link = LinkState::kUsable,
                                   std::string sqlstate = {}, long native_code = 0) {
  throw OdbcFailure{std::move(description), link, std::move(sqlstate), native_code};
}

}  // namespace zrado
