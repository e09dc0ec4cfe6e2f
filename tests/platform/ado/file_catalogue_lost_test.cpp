// A file catalogue that is removed or replaced while a connection is open:
// the connection notices before its next statement, fails it clearly while
// the file is missing or unusable, and reads whatever file carries the name
// once there is a catalogue again.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "test_catalogue.h"

namespace {

using zrtest::Backend;
using zrtest::Describe;
using zrtest::TestCatalogue;
namespace fs = std::filesystem;

class FileCatalogueLost : public testing::Test {
 protected:
  void SetUp() override {
    db_ = std::make_unique<TestCatalogue>(Backend::kSqlite);
    if (HasFailure()) return;
    path_ = db_->folder() + db_->file_name();
    conn_ = db_->Connect();
  }
  void TearDown() override {
    conn_ = nullptr;
    db_.reset();
  }

  long long CountPins(const _ConnectionPtr& conn) {
    _RecordsetPtr rs = conn->Execute(u"SELECT count(*) FROM BDPINOS", nullptr, adCmdText);
    return static_cast<long long>(rs->GetCollect(short{0}));
  }
  _com_error CountFailure() {
    try {
      CountPins(conn_);
    } catch (const _com_error& e) {
      return e;
    }
    ADD_FAILURE() << "the statement succeeded";
    return _com_error(S_OK);
  }
  // A copy of the catalogue beside it, with fewer pins; returns its path.
  std::string SmallerCopy(long long* pins) {
    const std::string copy = db_->folder() + "smaller.db";
    fs::copy_file(path_, copy);
    _ConnectionPtr other;
    other.CreateInstance(CLSID_Connection);
    other->Open(ZrUtf8ToUtf16("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + copy), u"", u"", adConnectUnspecified);
    other->Execute(u"DELETE FROM BDPINOS WHERE PINO_KEY IN (SELECT PINO_KEY FROM BDPINOS LIMIT 10)", nullptr,
                   adExecuteNoRecords);
    *pins = CountPins(other);
    other->Close();
    return copy;
  }

  std::unique_ptr<TestCatalogue> db_;
  std::string path_;
  _ConnectionPtr conn_;
};

TEST_F(FileCatalogueLost, RemovedFileFailsClearlyAndIsReadWhenBack) {
  const long long pins = CountPins(conn_);
  const std::string away = path_ + ".away";
  fs::rename(path_, away);
  // The driver would go on reading the file it holds open, and write where
  // nobody sees it: the statement fails instead.
  _com_error gone = CountFailure();
  EXPECT_EQ(gone.Error(), adErrReconnectFailed) << Describe(gone);
  EXPECT_NE(gone.Description().utf8().find("Could not find file '" + path_ + "'"), std::string::npos)
      << Describe(gone);
  EXPECT_EQ(CountFailure().Error(), adErrReconnectFailed);
  EXPECT_FALSE(fs::exists(path_)) << "a missing catalogue is never created";

  fs::rename(away, path_);
  EXPECT_EQ(CountPins(conn_), pins);
}

TEST_F(FileCatalogueLost, ReplacedFileIsReadAfterTheReplacement) {
  const long long pins = CountPins(conn_);
  long long fewer = 0;
  const std::string copy = SmallerCopy(&fewer);
  ASSERT_LT(fewer, pins);
  // As a catalogue editor saves: a new file renamed over the old one.
  fs::rename(copy, path_);
  EXPECT_EQ(CountPins(conn_), fewer);
}

TEST_F(FileCatalogueLost, FileReplacedByAnotherKindFailsUntilACatalogueIsBack) {
  const long long pins = CountPins(conn_);
  const std::string saved = db_->folder() + "saved.db";
  fs::copy_file(path_, saved);
  const std::string junk = db_->folder() + "junk";
  std::ofstream(junk) << std::string(4096, 'x');
  fs::rename(junk, path_);
  _com_error bad = CountFailure();
  EXPECT_EQ(bad.Error(), adErrReconnectFailed) << Describe(bad);
  EXPECT_NE(bad.Description().utf8().find("Cannot open file '" + path_ + "'"), std::string::npos) << Describe(bad);
  // The junk is left as it was.
  EXPECT_EQ(fs::file_size(path_), 4096u);

  fs::rename(saved, path_);
  EXPECT_EQ(CountPins(conn_), pins);
}

}  // namespace
