// ODBC calls with text in the driver's encoding, and result reading.

#include "odbc_calls.h"

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <vector>

#include "zrcom/utf.h"

namespace zrado {
namespace {

SQLWCHAR* W(const char16_t* text) { return reinterpret_cast<SQLWCHAR*>(const_cast<char16_t*>(text)); }
SQLCHAR* N(const char* text) { return reinterpret_cast<SQLCHAR*>(const_cast<char*>(text)); }

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the driver manager must use UTF-16 wide characters");

// How a column's values are read.
enum class Kind { kShort, kLong, kBigInt, kDouble, kBit, kText };

Kind KindOf(SQLSMALLINT sql_type) {
  switch (sql_type) {
    case SQL_SMALLINT: case SQL_TINYINT: return Kind::kShort;
    case SQL_INTEGER: return Kind::kLong;
    case SQL_BIGINT: return Kind::kBigInt;
    case SQL_REAL: case SQL_FLOAT: case SQL_DOUBLE: return Kind::kDouble;
    case SQL_BIT: return Kind::kBit;
    default: return Kind::kText;
  }
}

Cell::Kind CellKindOf(SQLSMALLINT sql_type) {
  switch (KindOf(sql_type)) {
    case Kind::kShort: return Cell::Kind::kShort;
    case Kind::kLong: return Cell::Kind::kLong;
    case Kind::kBigInt: return Cell::Kind::kBigInt;
    case Kind::kDouble: return Cell::Kind::kDouble;
    case Kind::kBit: return Cell::Kind::kBool;
    case Kind::kText: break;
  }
  return Cell::Kind::kText;
}

[[noreturn]] void Fail(SQLHSTMT stmt, bool wide) { RaiseDiagnostics(ReadDiagnostics(SQL_HANDLE_STMT, stmt, wide)); }

template <class T>
Cell ReadFixed(SQLHSTMT stmt, SQLUSMALLINT column, SQLSMALLINT c_type, Cell::Kind kind, bool wide) {
  T value{};
  SQLLEN indicator = 0;
  SQLRETURN rc = SQLGetData(stmt, column, c_type, &value, sizeof value, &indicator);
  if (!SQL_SUCCEEDED(rc)) Fail(stmt, wide);
  Cell cell;
  if (indicator == SQL_NULL_DATA) return cell;
  cell.kind = kind;
  if constexpr (std::is_floating_point_v<T>)
    cell.real = value;
  else
    cell.integer = value;
  return cell;
}

// Text in chunks: the driver says how much is left (or not) and marks a
// truncated chunk with SQL_SUCCESS_WITH_INFO. The chunk lies on the stack: a
// catalogue's values are a few characters, read by the tens of thousands.
Cell ReadText(SQLHSTMT stmt, SQLUSMALLINT column, bool wide) {
  constexpr std::size_t kChunk = 2048;
  alignas(SQLWCHAR) char buffer[kChunk];
  std::u16string wide_text;
  std::string narrow_text;
  const std::size_t unit = wide ? sizeof(SQLWCHAR) : 1;
  for (bool first = true;; first = false) {
    SQLLEN indicator = 0;
    SQLRETURN rc = SQLGetData(stmt, column, wide ? SQL_C_WCHAR : SQL_C_CHAR, buffer, static_cast<SQLLEN>(kChunk),
                              &indicator);
    if (rc == SQL_NO_DATA) break;
    if (!SQL_SUCCEEDED(rc)) Fail(stmt, wide);
    if (indicator == SQL_NULL_DATA) return Cell{};
    std::size_t bytes;
    bool more = rc == SQL_SUCCESS_WITH_INFO && (indicator == SQL_NO_TOTAL || static_cast<std::size_t>(indicator) >= kChunk);
    if (more)
      bytes = kChunk - unit;  // all but the terminator
    else
      bytes = static_cast<std::size_t>(indicator);
    bytes -= bytes % unit;
    if (wide) {
      wide_text.append(reinterpret_cast<const char16_t*>(buffer), bytes / unit);
    } else if (first && !more) {
      // The whole value in one chunk (nearly always): converted from the chunk.
      Cell cell;
      cell.kind = Cell::Kind::kText;
      cell.text = ZrUtf8ToUtf16(std::string_view(buffer, bytes));
      return cell;
    } else {
      narrow_text.append(buffer, bytes);
    }
    if (!more) break;
  }
  Cell cell;
  cell.kind = Cell::Kind::kText;
  cell.text = wide ? std::move(wide_text) : ZrUtf8ToUtf16(narrow_text);
  return cell;
}

Cell ReadValue(SQLHSTMT stmt, SQLUSMALLINT column, SQLSMALLINT sql_type, bool wide) {
  switch (KindOf(sql_type)) {
    case Kind::kShort: return ReadFixed<SQLSMALLINT>(stmt, column, SQL_C_SSHORT, Cell::Kind::kShort, wide);
    case Kind::kLong: return ReadFixed<SQLINTEGER>(stmt, column, SQL_C_SLONG, Cell::Kind::kLong, wide);
    case Kind::kBigInt: return ReadFixed<long long>(stmt, column, SQL_C_SBIGINT, Cell::Kind::kBigInt, wide);
    case Kind::kDouble: return ReadFixed<double>(stmt, column, SQL_C_DOUBLE, Cell::Kind::kDouble, wide);
    case Kind::kBit: {
      Cell cell = ReadFixed<SQLCHAR>(stmt, column, SQL_C_BIT, Cell::Kind::kBool, wide);
      cell.integer = cell.integer != 0;
      return cell;
    }
    case Kind::kText: break;
  }
  return ReadText(stmt, column, wide);
}

}  // namespace

bool IsLinkLostState(std::string_view state) {
  return state.starts_with("08") || state == "57P01" || state == "57P02" || state == "57P03";
}

Diagnostics ReadDiagnostics(SQLSMALLINT type, SQLHANDLE handle, bool wide) {
  Diagnostics out;
  for (SQLSMALLINT record = 1; record <= 20; ++record) {
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    std::string state;
    std::u16string message;
    SQLRETURN rc;
    if (wide) {
      SQLWCHAR w_state[6] = {};
      std::vector<SQLWCHAR> text(4096);
      rc = SQLGetDiagRecW(type, handle, record, w_state, &native, text.data(), static_cast<SQLSMALLINT>(text.size()), &length);
      if (!SQL_SUCCEEDED(rc)) break;
      for (int i = 0; i < 5 && w_state[i]; ++i) state.push_back(static_cast<char>(w_state[i]));
      std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(std::max<SQLSMALLINT>(length, 0)), text.size() - 1);
      message.assign(reinterpret_cast<const char16_t*>(text.data()), n);
    } else {
      SQLCHAR n_state[6] = {};
      std::vector<SQLCHAR> text(4096);
      rc = SQLGetDiagRec(type, handle, record, n_state, &native, text.data(), static_cast<SQLSMALLINT>(text.size()), &length);
      if (!SQL_SUCCEEDED(rc)) break;
      state = reinterpret_cast<const char*>(n_state);
      std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(std::max<SQLSMALLINT>(length, 0)), text.size() - 1);
      message = ZrUtf8ToUtf16(std::string_view(reinterpret_cast<const char*>(text.data()), n));
    }
    while (!message.empty() && (message.back() == u'\n' || message.back() == u'\r' || message.back() == u' '))
      message.pop_back();
    if (record == 1) {
      out.first_state = state;
      out.first_native = static_cast<long>(native);
    }
    if (IsLinkLostState(state)) out.link_lost = true;
    if (!out.text.empty()) out.text += u"; ";
    out.text += ZrUtf8ToUtf16("[" + state + "] (native " + std::to_string(native) + ") ") + message;
  }
  if (out.text.empty()) out.text = u"the driver gave no diagnostics";
  return out;
}

void RaiseDiagnostics(const Diagnostics& diag, std::u16string_view what) {
  RaiseOdbc(std::u16string(what) + diag.text, diag.link_lost ? LinkState::kLost : LinkState::kUsable, diag.first_state,
            diag.first_native);
}

SQLRETURN DriverConnect(SQLHDBC dbc, const std::string& text, bool wide) {
  SQLSMALLINT out_length = 0;
  if (wide) {
    std::u16string w = ZrUtf8ToUtf16(text);
    return SQLDriverConnectW(dbc, nullptr, W(w.c_str()), static_cast<SQLSMALLINT>(w.size()), nullptr, 0, &out_length,
                             SQL_DRIVER_NOPROMPT);
  }
  return SQLDriverConnect(dbc, nullptr, N(text.c_str()), static_cast<SQLSMALLINT>(text.size()), nullptr, 0,
                          &out_length, SQL_DRIVER_NOPROMPT);
}

SQLRETURN Prepare(SQLHSTMT stmt, std::u16string_view sql, bool wide) {
  if (wide) {
    std::u16string text(sql);
    return SQLPrepareW(stmt, W(text.c_str()), static_cast<SQLINTEGER>(text.size()));
  }
  std::string text = ZrUtf16ToUtf8(sql);
  return SQLPrepare(stmt, N(text.c_str()), static_cast<SQLINTEGER>(text.size()));
}

SQLRETURN ListTables(SQLHSTMT stmt, bool wide) {
  if (wide) return SQLTablesW(stmt, nullptr, 0, nullptr, 0, W(u"%"), SQL_NTS, W(u"TABLE,VIEW"), SQL_NTS);
  return SQLTables(stmt, nullptr, 0, nullptr, 0, N("%"), SQL_NTS, N("TABLE,VIEW"), SQL_NTS);
}

SQLRETURN ListColumns(SQLHSTMT stmt, const std::u16string& schema, const std::u16string& table_pattern, bool wide) {
  if (wide) {
    return SQLColumnsW(stmt, nullptr, 0, schema.empty() ? nullptr : W(schema.c_str()),
                       schema.empty() ? 0 : SQL_NTS, W(table_pattern.c_str()), SQL_NTS, W(u"%"), SQL_NTS);
  }
  std::string s = ZrUtf16ToUtf8(schema);
  std::string t = ZrUtf16ToUtf8(table_pattern);
  return SQLColumns(stmt, nullptr, 0, s.empty() ? nullptr : N(s.c_str()), s.empty() ? 0 : SQL_NTS, N(t.c_str()),
                    SQL_NTS, N("%"), SQL_NTS);
}

std::u16string SearchPatternEscape(SQLHDBC dbc, bool wide) {
  SQLSMALLINT length = 0;
  if (wide) {
    SQLWCHAR text[8] = {};
    if (!SQL_SUCCEEDED(SQLGetInfoW(dbc, SQL_SEARCH_PATTERN_ESCAPE, text, sizeof text, &length))) return {};
    return std::u16string(reinterpret_cast<const char16_t*>(text));
  }
  SQLCHAR text[8] = {};
  if (!SQL_SUCCEEDED(SQLGetInfo(dbc, SQL_SEARCH_PATTERN_ESCAPE, text, sizeof text, &length))) return {};
  return ZrUtf8ToUtf16(reinterpret_cast<const char*>(text));
}

std::u16string EscapePattern(const std::u16string& name, const std::u16string& escape) {
  if (escape.empty()) return name;
  std::u16string out;
  for (char16_t c : name) {
    if (c == u'_' || c == u'%' || escape.find(c) != std::u16string::npos) out += escape;
    out += c;
  }
  return out;
}

ResultSet ReadResult(SQLHSTMT stmt, bool wide) {
  ResultSet result;
  SQLLEN affected = -1;
  if (SQL_SUCCEEDED(SQLRowCount(stmt, &affected))) result.affected = affected;
  SQLSMALLINT count = 0;
  if (!SQL_SUCCEEDED(SQLNumResultCols(stmt, &count))) Fail(stmt, wide);
  if (count <= 0) return result;
  result.has_rows = true;
  std::vector<SQLSMALLINT> types(static_cast<std::size_t>(count));
  for (SQLUSMALLINT i = 1; i <= static_cast<SQLUSMALLINT>(count); ++i) {
    SQLSMALLINT name_length = 0, type = 0, digits = 0, nullable = 0;
    SQLULEN size = 0;
    std::u16string name;
    SQLRETURN rc;
    if (wide) {
      SQLWCHAR text[256] = {};
      rc = SQLDescribeColW(stmt, i, text, 256, &name_length, &type, &size, &digits, &nullable);
      name = reinterpret_cast<const char16_t*>(text);
    } else {
      SQLCHAR text[512] = {};
      rc = SQLDescribeCol(stmt, i, text, 512, &name_length, &type, &size, &digits, &nullable);
      name = ZrUtf8ToUtf16(reinterpret_cast<const char*>(text));
    }
    if (!SQL_SUCCEEDED(rc)) Fail(stmt, wide);
    types[i - 1] = type;
    result.columns.push_back(ResultColumn{name, CellKindOf(type), type == SQL_LONGVARCHAR || type == SQL_WLONGVARCHAR});
  }
  for (;;) {
    SQLRETURN rc = SQLFetch(stmt);
    if (rc == SQL_NO_DATA) break;
    if (!SQL_SUCCEEDED(rc)) Fail(stmt, wide);
    std::vector<Cell> row;
    row.reserve(types.size());
    for (SQLUSMALLINT i = 1; i <= static_cast<SQLUSMALLINT>(count); ++i) row.push_back(ReadValue(stmt, i, types[i - 1], wide));
    result.rows.push_back(std::move(row));
  }
  return result;
}

std::u16string TextOf(const Cell& value) { return value.kind == Cell::Kind::kText ? value.text : std::u16string(); }

}  // namespace zrado
