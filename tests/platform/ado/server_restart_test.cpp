// A connection whose PostgreSQL server stops during the session and comes
// back: statements fail with a clear error while it is down, and the same
// Connection object works again once it is back, without being opened again.

#include <gtest/gtest.h>

#include <memory>

#include "private_pg_server.h"
#include "zrado/adox.h"

namespace {

using zrtest::Backend;
using zrtest::Describe;
using zrtest::TestCatalogue;

// The _com_error that f raises; a failure (and S_OK) when it raises none.
template <class F>
_com_error FailureOf(F&& f) {
  try {
    f();
  } catch (const _com_error& e) {
    return e;
  }
  ADD_FAILURE() << "the call succeeded";
  return _com_error(S_OK);
}

bool Mentions(const _com_error& e, const std::string& part) {
  return e.Description().utf8().find(part) != std::string::npos;
}

class ServerRestart : public zrtest::PrivatePgServerTest {
 protected:
  void SetUp() override {
    PrivatePgServerTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    db_ = std::make_unique<TestCatalogue>(Backend::kPostgres, server_->server());
    if (HasFailure()) return;
    conn_ = db_->Connect();
  }
  void TearDown() override {
    conn_ = nullptr;
    db_.reset();  // needs the server up: every test leaves it running
  }

  long long CountPins() {
    _RecordsetPtr rs = conn_->Execute(u"SELECT count(*) FROM BDPINOS", nullptr, adCmdText);
    return static_cast<long long>(rs->GetCollect(short{0}));
  }
  _com_error CountFailure() {
    return FailureOf([&] { conn_->Execute(u"SELECT count(*) FROM BDPINOS", nullptr, adCmdText); });
  }

  std::unique_ptr<TestCatalogue> db_;
  _ConnectionPtr conn_;
};

TEST_F(ServerRestart, StatementsFailWhileDownAndWorkAgainOnTheSameConnection) {
  const long long pins = CountPins();
  ASSERT_GT(pins, 0);
  ASSERT_TRUE(server_->Stop());

  // The statement that finds the link gone says so, with the server's reason.
  _com_error lost = CountFailure();
  EXPECT_EQ(lost.Error(), adErrConnectionLost) << Describe(lost);
  EXPECT_TRUE(Mentions(lost, "was lost")) << Describe(lost);
  EXPECT_TRUE(Mentions(lost, "administrator command")) << Describe(lost);
  // The next one tries to connect again and reports why it could not.
  _com_error still = CountFailure();
  EXPECT_EQ(still.Error(), adErrReconnectFailed) << Describe(still);
  EXPECT_TRUE(Mentions(still, "could not be restored")) << Describe(still);
  EXPECT_TRUE(Mentions(still, "127.0.0.1:" + server_->server().port)) << Describe(still);
  EXPECT_FALSE(Mentions(still, server_->server().password)) << "the password is never shown";
  EXPECT_EQ(conn_->GetState(), adStateOpen);

  ASSERT_TRUE(server_->Start());
  // The password came as an Open argument, not in the string: the
  // reconnect still has it.
  EXPECT_EQ(CountPins(), pins);
  EXPECT_EQ(CountPins(), pins);
}

TEST_F(ServerRestart, RestartWhileIdleFailsOneStatementThenWorks) {
  const long long pins = CountPins();
  ASSERT_TRUE(server_->Stop());
  ASSERT_TRUE(server_->Start());
  // Nothing can tell that the link went away until it is used; that
  // statement is not repeated behind the caller's back.
  EXPECT_EQ(CountFailure().Error(), adErrConnectionLost);
  EXPECT_EQ(CountPins(), pins);
}

TEST_F(ServerRestart, RecordsetsAndSchemaReadsFailWhileDownAndReconnect) {
  ADOX::_CatalogPtr catalog;
  ASSERT_EQ(catalog.CreateInstance(ADOX::CLSID_Catalog), S_OK);
  catalog->PutActiveConnection(_variant_t(static_cast<IDispatch*>(conn_.GetInterfacePtr())));
  ASSERT_GT(catalog->GetTables()->GetCount(), 0);
  ASSERT_TRUE(server_->Stop());

  // A schema read fails: it never answers "no tables", on which a schema
  // upgrade would act.
  _com_error tables = FailureOf([&] { catalog->GetTables(); });
  EXPECT_TRUE(tables.Error() == adErrConnectionLost || tables.Error() == adErrReconnectFailed) << Describe(tables);
  _com_error open = FailureOf([&] {
    _RecordsetPtr rs;
    rs.CreateInstance(CLSID_Recordset);
    rs->Open(_variant_t(u"SELECT PINO_KEY FROM BDPINOS"),
             _variant_t(static_cast<IDispatch*>(conn_.GetInterfacePtr())), adOpenDynamic, adLockBatchOptimistic,
             adCmdUnspecified);
  });
  EXPECT_EQ(open.Error(), adErrReconnectFailed) << Describe(open);

  ASSERT_TRUE(server_->Start());
  ADOX::TablesPtr listed = catalog->GetTables();
  bool pins = false;
  for (LONG i = 0; i < listed->GetCount(); ++i)
    if (listed->GetItem(i)->GetName().utf8() == "bdpinos") pins = true;  // the server folds names
  EXPECT_TRUE(pins);
  _RecordsetPtr rs;
  rs.CreateInstance(CLSID_Recordset);
  rs->Open(_variant_t(u"SELECT PINO_KEY FROM BDPINOS"), _variant_t(static_cast<IDispatch*>(conn_.GetInterfacePtr())),
           adOpenDynamic, adLockBatchOptimistic, adCmdUnspecified);
  EXPECT_FALSE(rs->GetadoEOF());
}

TEST_F(ServerRestart, AnOrdinaryFailureKeepsTheSession) {
  // A temporary table lives as long as its session: it shows whether the
  // connection was made again.
  conn_->Execute(u"CREATE TEMPORARY TABLE zr_session (n integer)", nullptr, adExecuteNoRecords);
  EXPECT_EQ(FailureOf([&] { conn_->Execute(u"SELECT nothing FROM nowhere", nullptr, adCmdText); }).Error(), E_FAIL);
  EXPECT_NO_THROW(conn_->Execute(u"SELECT n FROM zr_session", nullptr, adCmdText));

  ASSERT_TRUE(server_->Stop());
  ASSERT_TRUE(server_->Start());
  EXPECT_EQ(CountFailure().Error(), adErrConnectionLost);
  // A new session: the temporary table went with the old one.
  EXPECT_EQ(FailureOf([&] { conn_->Execute(u"SELECT n FROM zr_session", nullptr, adCmdText); }).Error(), E_FAIL);
}

TEST_F(ServerRestart, ClosingALostConnectionWorks) {
  ASSERT_TRUE(server_->Stop());
  EXPECT_EQ(CountFailure().Error(), adErrConnectionLost);
  EXPECT_NO_THROW(conn_->Close());
  EXPECT_EQ(conn_->GetState(), adStateClosed);
  EXPECT_EQ(CountFailure().Error(), adErrObjectClosed);
  ASSERT_TRUE(server_->Start());
  EXPECT_EQ(CountFailure().Error(), adErrObjectClosed);  // closed stays closed
}

}  // namespace
