// A PostgreSQL server of the test's own, which the test can stop and start
// again on the same port and data folder: for what a connection does when its
// server goes away during a session and comes back.
//
//   zrtest::PrivatePgServer server;          // skips without the programs
//   if (server.skipped()) GTEST_SKIP() << server.skip_reason();
//   server.Stop();  ...  server.Start();
//
// The server holds the example catalogue in database zrcatalogo, owned by the
// role whose name and password server() gives. It is made by
// scripts/pg-test-server.sh start and removed by its stop command when the
// object goes. PostgreSQL's programs are looked up in $PG_BIN, else
// /usr/lib/postgresql/15/bin.
#pragma once

#include <string>

#include "test_catalogue.h"

namespace zrtest {

class PrivatePgServer {
 public:
  PrivatePgServer();
  ~PrivatePgServer();
  PrivatePgServer(const PrivatePgServer&) = delete;
  PrivatePgServer& operator=(const PrivatePgServer&) = delete;

  // True when the server programs are not installed (nothing was started).
  bool skipped() const { return !skip_reason_.empty(); }
  const std::string& skip_reason() const { return skip_reason_; }
  // True when the server was made and runs (else the failure was reported).
  bool ready() const { return server_.available(); }
  const PgServer& server() const { return server_; }

  // Stops the server ("fast": clients are told the server shuts down) and
  // waits until it is down. Returns false, after reporting why, on failure.
  bool Stop();
  // Starts it again on the same port and waits until it takes connections.
  bool Start();

 private:
  bool PgCtl(const std::string& arguments);

  std::string skip_reason_;
  std::string folder_;  // the server's folder (data/, server.log)
  std::string bin_;
  PgServer server_;
};

// A test suite sharing one private server (starting one takes seconds). Each
// test skips when the server programs are missing; a derived SetUp calls this
// one first and returns when IsSkipped() or HasFatalFailure().
class PrivatePgServerTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { server_ = new PrivatePgServer; }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  void SetUp() override {
    if (server_->skipped()) GTEST_SKIP() << server_->skip_reason();
    ASSERT_TRUE(server_->ready());
  }

  inline static PrivatePgServer* server_ = nullptr;
};

}  // namespace zrtest
