// From an OLE DB connection string ("Provider=...;Data Source=...") to the
// ODBC driver connection that serves it.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace zrado {

enum class Backend { kSqlite, kPostgres };

struct OdbcTarget {
  Backend backend;
  // Driver names or driver library paths to try in order; the next one is
  // tried only when the driver manager cannot find or load the previous one.
  std::vector<std::string> drivers;
  // "Key=value;..." after DRIVER=..., with the password.
  std::string attributes;
  // What is being opened, for error texts: never holds the password.
  std::string what;
  // The database file, for the file catalogue.
  std::string file;
  // "Mode=Read" in the connection string: the connection refuses every
  // statement that would change the database.
  bool read_only = false;
};

// Keys (lower case) and values of an OLE DB connection string. Values may be
// quoted with " or ' (a doubled quote inside stands for one). Throws
// AdoFailure(adErrInvalidArgument) for text that is not key=value pairs.
std::map<std::string, std::string> ParseConnectionString(const std::string& text);

// The ODBC target for a connection string and the Open arguments (user and
// password take precedence over the string's when not empty). Throws
// AdoFailure: adErrProviderNotFound for a provider other than
// "Microsoft.Jet.OLEDB.4.0" and "SQLOLEDB[.1]", adErrInvalidArgument for a
// missing Data Source, a malformed server or a Mode other than "Read" or
// "ReadWrite".
OdbcTarget MakeOdbcTarget(const std::string& connection_string, const std::string& user,
                          const std::string& password);

// The connection string as it may be shown: the Password value removed.
std::string WithoutPassword(const std::string& connection_string);

}  // namespace zrado
