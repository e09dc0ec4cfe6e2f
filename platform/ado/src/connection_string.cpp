// OLE DB connection strings and their ODBC translation.

#include "connection_string.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "ado_failure.h"
#include "zrado/ado.h"
#include "zrcom/ascii_text.h"

#ifndef ZR_ODBC_SQLITE_LIBRARY
#define ZR_ODBC_SQLITE_LIBRARY ""
#endif
#ifndef ZR_ODBC_PG_LIBRARY
#define ZR_ODBC_PG_LIBRARY ""
#endif

namespace zrado {
namespace {

[[noreturn]] void Invalid(const std::string& why) { Raise(adErrInvalidArgument, U16(why)); }

// An ODBC attribute value, braced when it holds characters that would end
// or confuse the attribute ('}' is doubled inside braces).
std::string OdbcValue(const std::string& value) {
  if (value.find_first_of(";{}=") == std::string::npos && ZrTrimBlanks(value) == value) return value;
  std::string out = "{";
  for (char c : value) {
    out += c;
    if (c == '}') out += '}';
  }
  return out + "}";
}

std::string Lookup(const std::map<std::string, std::string>& keys, std::initializer_list<const char*> names) {
  for (const char* name : names) {
    auto it = keys.find(name);
    if (it != keys.end()) return it->second;
  }
  return {};
}

// The driver candidates: the environment's choice, the registered name,
// then the library installed with the distribution's package.
std::vector<std::string> Drivers(const char* env, const char* name, const char* library) {
  std::vector<std::string> out;
  if (const char* chosen = std::getenv(env); chosen && *chosen) out.push_back(chosen);
  out.push_back(name);
  if (*library) out.push_back(library);
  return out;
}

// Splits "host,port", "host:port", "[v6]:port", "tcp:host,port" (an SQL
// Server form) into host and port.
void SplitServer(std::string server, std::string* host, std::string* port) {
  if (ZrAsciiLower(server.substr(0, 4)) == "tcp:") server = server.substr(4);
  *port = "5432";
  auto comma = server.rfind(',');
  if (comma != std::string::npos) {
    *host = ZrTrimBlanks(server.substr(0, comma));
    *port = ZrTrimBlanks(server.substr(comma + 1));
  } else if (!server.empty() && server.front() == '[') {
    auto close = server.find(']');
    if (close == std::string::npos) Invalid("Malformed server address \"" + server + "\".");
    *host = server.substr(1, close - 1);
    if (close + 1 < server.size()) {
      if (server[close + 1] != ':') Invalid("Malformed server address \"" + server + "\".");
      *port = server.substr(close + 2);
    }
  } else if (std::count(server.begin(), server.end(), ':') == 1) {
    auto colon = server.find(':');
    *host = ZrTrimBlanks(server.substr(0, colon));
    *port = ZrTrimBlanks(server.substr(colon + 1));
  } else {
    *host = ZrTrimBlanks(server);
  }
  if (host->empty() || *host == ".") *host = "localhost";
  if (host->find('\\') != std::string::npos)
    Invalid("Server \"" + server + "\" names an instance; give host,port instead.");
  if (port->empty() || port->size() > 5 || port->find_first_not_of("0123456789") != std::string::npos ||
      std::atoi(port->c_str()) < 1 || std::atoi(port->c_str()) > 65535)
    Invalid("Malformed port in server address \"" + server + "\".");
}

}  // namespace

std::map<std::string, std::string> ParseConnectionString(const std::string& text) {
  std::map<std::string, std::string> keys;
  std::size_t i = 0;
  while (i < text.size()) {
    auto eq = text.find('=', i);
    auto semi = text.find(';', i);
    if (eq == std::string::npos || (semi != std::string::npos && semi < eq)) {
      if (ZrTrimBlanks(text.substr(i, semi == std::string::npos ? std::string::npos : semi - i)).empty()) {
        if (semi == std::string::npos) break;
        i = semi + 1;
        continue;
      }
      Invalid("Malformed connection string: expected key=value near \"" + text.substr(i, 20) + "\".");
    }
    std::string key = ZrAsciiLower(ZrTrimBlanks(text.substr(i, eq - i)));
    std::size_t j = eq + 1;
    while (j < text.size() && (text[j] == ' ' || text[j] == '\t')) ++j;
    std::string value;
    if (j < text.size() && (text[j] == '"' || text[j] == '\'')) {
      char quote = text[j++];
      for (;; ++j) {
        if (j >= text.size()) Invalid("Malformed connection string: unterminated quote in \"" + key + "\".");
        if (text[j] == quote) {
          if (j + 1 < text.size() && text[j + 1] == quote) {
            value += quote;
            ++j;
            continue;
          }
          ++j;
          break;
        }
        value += text[j];
      }
      while (j < text.size() && (text[j] == ' ' || text[j] == '\t')) ++j;
      if (j < text.size() && text[j] != ';')
        Invalid("Malformed connection string: text after the quoted value of \"" + key + "\".");
    } else {
      auto end = text.find(';', j);
      value = ZrTrimBlanks(text.substr(j, end == std::string::npos ? std::string::npos : end - j));
      j = end == std::string::npos ? text.size() : end;
    }
    if (key.empty()) Invalid("Malformed connection string: empty key.");
    keys[key] = value;
    i = j < text.size() ? j + 1 : j;
  }
  return keys;
}

OdbcTarget MakeOdbcTarget(const std::string& connection_string, const std::string& user,
                          const std::string& password) {
  auto keys = ParseConnectionString(connection_string);
  std::string provider = Lookup(keys, {"provider"});
  std::string source = Lookup(keys, {"data source", "server", "address"});
  OdbcTarget target;
  std::string lowered = ZrAsciiLower(provider);
  const std::string mode = ZrAsciiLower(Lookup(keys, {"mode"}));
  if (mode == "read" || mode == "1") {
    target.read_only = true;
  } else if (!mode.empty() && mode != "readwrite" && mode != "3") {
    Invalid("Mode \"" + mode + "\" is not supported (Read or ReadWrite).");
  }
  if (lowered == "microsoft.jet.oledb.4.0") {
    if (source.empty()) Invalid("The connection string has no Data Source (the catalogue file).");
    target.backend = Backend::kSqlite;
    target.drivers = Drivers("ZR_ODBC_SQLITE_DRIVER", "SQLite3", ZR_ODBC_SQLITE_LIBRARY);
    // NoCreat: a missing file is an error, never a new empty catalogue.
    target.attributes = "Database=" + OdbcValue(source) + ";NoCreat=1;Timeout=5000;NoWCHAR=1;BigInt=1;";
    target.what = "file '" + source + "'";
    target.file = source;
  } else if (lowered == "sqloledb.1" || lowered == "sqloledb") {
    std::string host, port;
    SplitServer(source, &host, &port);
    std::string database = Lookup(keys, {"initial catalog", "database"});
    std::string uid = !user.empty() ? user : Lookup(keys, {"user id", "uid", "user"});
    std::string pwd = !password.empty() ? password : Lookup(keys, {"password", "pwd"});
    if (database.empty()) Invalid("The connection string has no Initial Catalog (the database).");
    target.backend = Backend::kPostgres;
    target.drivers = Drivers("ZR_ODBC_PG_DRIVER", "PostgreSQL Unicode", ZR_ODBC_PG_LIBRARY);
    target.attributes = "Server=" + OdbcValue(host) + ";Port=" + port + ";Database=" + OdbcValue(database) +
                        ";UID=" + OdbcValue(uid) + ";PWD=" + OdbcValue(pwd) + ";";
    // The driver itself refuses anything but SELECT on such a connection.
    if (target.read_only) target.attributes += "ReadOnly=1;";
    target.what = "database '" + database + "' on server " + host + ":" + port +
                  (uid.empty() ? std::string() : " as user '" + uid + "'");
  } else if (provider.empty()) {
    Raise(adErrProviderNotFound, u"The connection string names no Provider.");
  } else {
    Raise(adErrProviderNotFound,
          U16("Provider cannot be found: \"" + provider +
              "\" (available: Microsoft.Jet.OLEDB.4.0 for a catalogue file, SQLOLEDB.1 for a server)."));
  }
  return target;
}

std::string WithoutPassword(const std::string& text) {
  // Splits at the ';' that end elements (not those inside quoted values) and
  // keeps every element but Password/PWD.
  std::string out, element;
  char quote = 0;
  bool in_value = false;
  auto flush = [&] {
    std::string key = ZrAsciiLower(ZrTrimBlanks(element.substr(0, element.find('='))));
    if (key != "password" && key != "pwd" && !ZrTrimBlanks(element).empty()) {
      if (!out.empty()) out += ';';
      out += element;
    }
    element.clear();
    in_value = false;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (quote) {
      element += c;
      if (c == quote) {
        if (i + 1 < text.size() && text[i + 1] == quote)
          element += text[++i];
        else
          quote = 0;
      }
    } else if (c == ';') {
      flush();
    } else {
      if (in_value && (c == '"' || c == '\'') && ZrTrimBlanks(element.substr(element.find('=') + 1)).empty()) quote = c;
      if (c == '=') in_value = true;
      element += c;
    }
  }
  flush();
  return out;
}

}  // namespace zrado
