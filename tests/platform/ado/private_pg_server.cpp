// Starting, stopping and removing a PostgreSQL server of the test's own.

#include "private_pg_server.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace zrtest {
namespace {

// Runs a shell command and gives its standard output; status receives its
// exit status.
std::string Capture(const std::string& command, int* status) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) {
    *status = -1;
    return out;
  }
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
  *status = pclose(pipe);
  return out;
}

// The value of NAME=value in the start command's output, whose values are
// quoted for the shell with backslashes before blanks.
std::string Assignment(const std::string& text, const std::string& name) {
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind(name + "=", 0) != 0) continue;
    std::string value;
    for (std::size_t i = name.size() + 1; i < line.size(); ++i) {
      if (line[i] == '\\' && i + 1 < line.size()) ++i;
      value += line[i];
    }
    return value;
  }
  return {};
}

}  // namespace

PrivatePgServer::PrivatePgServer() {
  const char* bin = std::getenv("PG_BIN");
  bin_ = bin && *bin ? bin : "/usr/lib/postgresql/15/bin";
  if (access((bin_ + "/initdb").c_str(), X_OK) != 0 || access((bin_ + "/pg_ctl").c_str(), X_OK) != 0) {
    skip_reason_ = "the PostgreSQL server programs are not installed in " + bin_;
    return;
  }
  int status = 0;
  std::string out = Capture("PG_BIN='" + bin_ + "' bash '" ZR_PG_SERVER_SCRIPT "' start", &status);
  folder_ = Assignment(out, "ZR_PG_TEST_DIR");
  if (status != 0 || folder_.empty()) {
    ADD_FAILURE() << "the private PostgreSQL server did not start (status " << status << "): " << out;
    return;
  }
  // The same words as ZR_TEST_PG.
  std::string words = Assignment(out, "ZR_TEST_PG");
  std::istringstream in(words);
  std::string word;
  while (in >> word) {
    auto eq = word.find('=');
    if (eq == std::string::npos) continue;
    std::string key = word.substr(0, eq), value = word.substr(eq + 1);
    if (key == "host") server_.host = value;
    if (key == "port") server_.port = value;
    if (key == "dbname") server_.dbname = value;
    if (key == "user") server_.user = value;
    if (key == "password") server_.password = value;
  }
  if (!server_.available()) ADD_FAILURE() << "the server script printed no port: " << out;
}

PrivatePgServer::~PrivatePgServer() {
  if (folder_.empty()) return;
  int status = 0;
  std::string out = Capture("PG_BIN='" + bin_ + "' bash '" ZR_PG_SERVER_SCRIPT "' stop '" + folder_ + "' 2>&1", &status);
  if (status != 0) ADD_FAILURE() << "the private server was not removed: " << out;
}

bool PrivatePgServer::PgCtl(const std::string& arguments) {
  // PostgreSQL refuses to run as root: the script made the postgres account
  // the owner of the server then.
  std::string command = "'" + bin_ + "/pg_ctl' -D '" + folder_ + "/data' " + arguments;
  if (geteuid() == 0) command = "runuser -u postgres -- " + command;
  int status = 0;
  std::string out = Capture(command + " 2>&1", &status);
  if (status != 0) ADD_FAILURE() << command << " failed (status " << status << "): " << out;
  return status == 0;
}

bool PrivatePgServer::Stop() { return PgCtl("-m fast -w -t 60 stop"); }

bool PrivatePgServer::Start() {
  // The options the script started it with: the same port, so that a
  // connection finds it again.
  return PgCtl("-l '" + folder_ + "/server.log' -w -t 60 start -o \"-c listen_addresses=127.0.0.1 -p " +
               server_.port + " -k " + folder_ + " -c fsync=off -c max_connections=100\"");
}

}  // namespace zrtest
