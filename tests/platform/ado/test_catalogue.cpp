// Making and removing throwaway catalogues for the database tests.

#include "test_catalogue.h"

#include <sqlite3.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

// The ODBC drivers keep a few allocations of failed connections (the
// PostgreSQL driver) for the life of the process; they are not this
// project's leaks. LeakSanitizer reads this from the test program.
extern "C" __attribute__((used, visibility("default"))) const char* __lsan_default_suppressions() {
  return "leak:psqlodbcw.so\nleak:psqlodbca.so\nleak:libsqlite3odbc\n";
}

// The leak checker's tracking of thread-local blocks allocated at run time
// reads a stale entry of the thread's TLS vector once the PostgreSQL driver
// and its libraries with thread-local storage (Kerberos' error tables,
// GnuTLS, p11-kit) are loaded, and crashes at the process's end ("Tracer
// caught signal 11", "DTLS ... at 0x1189"), depending on the heap's layout.
// Without the tracking those blocks are no longer roots: that could only
// report a leak that is none, never hide one. Options given in LSAN_OPTIONS
// come after these.
extern "C" __attribute__((used, visibility("default"))) const char* __lsan_default_options() {
  return "intercept_tls_get_addr=0";
}

namespace zrtest {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::u16string U16(const std::string& s) { return ZrUtf8ToUtf16(s); }

// Runs one statement on a connection to the server's maintenance database.
void RunOnServer(const PgServer& server, const std::string& statement) {
  _ConnectionPtr c;
  HRESULT hr = c.CreateInstance(CLSID_Connection);
  if (FAILED(hr)) _com_issue_errorex(hr, nullptr, GUID_NULL);
  c->Open(U16("Provider=SQLOLEDB.1;Initial Catalog=postgres;Data Source=" + server.host + "," + server.port),
          U16(server.user), U16(server.password), adConnectUnspecified);
  c->Execute(U16(statement), nullptr, adExecuteNoRecords);
}

void SkipWithoutServer() {
  GTEST_SKIP() << "ZR_TEST_PG is not set: no PostgreSQL server to test against "
                  "(scripts/pg-test-server.sh run -- ctest ... provides one)";
}

}  // namespace

std::string BackendName(const testing::TestParamInfo<Backend>& info) {
  return info.param == Backend::kSqlite ? "SQLite" : "PostgreSQL";
}

PgServer PgServerFromEnvironment() {
  PgServer server;
  const char* text = std::getenv("ZR_TEST_PG");
  if (!text) return server;
  std::istringstream words(text);
  std::string word;
  while (words >> word) {
    auto eq = word.find('=');
    if (eq == std::string::npos) continue;
    std::string key = word.substr(0, eq), value = word.substr(eq + 1);
    if (key == "host") server.host = value;
    if (key == "port") server.port = value;
    if (key == "dbname") server.dbname = value;
    if (key == "user") server.user = value;
    if (key == "password") server.password = value;
  }
  if (server.host.empty()) server.host = "127.0.0.1";
  if (server.dbname.empty()) server.dbname = "zrcatalogo";
  return server;
}

TestCatalogue::TestCatalogue(Backend backend) : TestCatalogue(backend, PgServerFromEnvironment()) {}

TestCatalogue::TestCatalogue(Backend backend, const PgServer& server) : backend_(backend) {
  CoInitialize(nullptr);
  if (backend == Backend::kSqlite) {
    char pattern[] = "/tmp/zr-catalogue-XXXXXX";
    if (!mkdtemp(pattern)) {
      ADD_FAILURE() << "cannot make a temporary folder";
      return;
    }
    folder_ = std::string(pattern) + "/";
    std::string script = ReadFile(ZR_CATALOGUE_SQL);
    sqlite3* db = nullptr;
    char* error = nullptr;
    if (sqlite3_open((folder_ + file_name_).c_str(), &db) != SQLITE_OK ||
        sqlite3_exec(db, script.c_str(), nullptr, nullptr, &error) != SQLITE_OK)
      ADD_FAILURE() << "cannot build the catalogue: " << (error ? error : sqlite3_errmsg(db));
    sqlite3_free(error);
    sqlite3_close(db);
    return;
  }
  server_ = server;
  if (!server_.available()) {
    SkipWithoutServer();
    return;
  }
  static std::atomic<int> counter{0};
  database_ = "zrt_" + std::to_string(getpid()) + "_" + std::to_string(counter++);
  try {
    RunOnServer(server_, "CREATE DATABASE " + database_ + " TEMPLATE " + server_.dbname);
  } catch (const _com_error& e) {
    ADD_FAILURE() << "cannot copy the catalogue database: " << Describe(e);
    database_.clear();
  }
}

TestCatalogue::~TestCatalogue() {
  if (!folder_.empty()) std::filesystem::remove_all(folder_);
  if (!database_.empty()) {
    try {
      RunOnServer(server_, "DROP DATABASE IF EXISTS " + database_ + " WITH (FORCE)");
    } catch (const _com_error& e) {
      ADD_FAILURE() << "cannot drop " << database_ << ": " << Describe(e);
    }
  }
  CoUninitialize();
}

std::u16string TestCatalogue::ConnectionString() const {
  if (backend_ == Backend::kSqlite)
    return U16("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + folder_ + file_name_ + ";Persist Security Info=False");
  return U16("Provider=SQLOLEDB.1;Persist Security Info=True;User ID=" + server_.user + ";Initial Catalog=" +
             database_ + ";Data Source=" + server_.host + "," + server_.port);
}

std::u16string TestCatalogue::User() const { return U16(server_.user); }
std::u16string TestCatalogue::Password() const { return U16(server_.password); }

_ConnectionPtr TestCatalogue::Connect() const {
  _ConnectionPtr c;
  HRESULT hr = c.CreateInstance(CLSID_Connection);
  if (FAILED(hr)) _com_issue_errorex(hr, nullptr, GUID_NULL);
  c->Open(ConnectionString(), User(), Password(), adConnectUnspecified);
  return c;
}

std::string Describe(const _com_error& e) {
  char code[16];
  std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(e.Error()));
  return std::string(code) + " " + ZrUtf16ToUtf8(e.ErrorMessage()) + ": " + e.Description().utf8();
}

}  // namespace zrtest
