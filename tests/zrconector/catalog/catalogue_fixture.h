// Tests of the catalogue database object, one body per driver: a fresh copy
// of the example catalogue (SQLite file, or PostgreSQL database when
// ZR_TEST_PG names a server, else skipped), settings of a program of the
// test's own that point at it, the host's "PROGRAM" set to that program, and
// message boxes captured. The process-wide database object is reset before
// and after each test.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "catalog/CIBancoDados.h"
#include "program_environment.h"
#include "test_catalogue.h"
#include "zrui/msgbox.h"

namespace zrtest {

class CatalogueTest : public testing::TestWithParam<Backend> {
 protected:
  static constexpr const char* kProgram = "zrcat-test";

  void SetUp() override;
  void TearDown() override;

  CIBancoDados& bd() { return *CIBancoDados::Instance(); }
  bool sqlite() const { return GetParam() == Backend::kSqlite; }
  // Points the settings of program at a catalogue copy.
  void WriteSettingsFor(const TestCatalogue& catalogue, const std::string& program = kProgram);
  // Opens the module's connection; a failing Open fails the test.
  void OpenCatalogue();
  // A connection of the test's own to the copy, for arranging and checking data.
  _ConnectionPtr& direct();
  void RunDirect(const std::u16string& sql);
  // Field 0 of every row of a statement run on the test's connection,
  // trimmed (as the module reads fields).
  std::vector<std::string> ColumnDirect(const std::u16string& sql);
  // Row counts of the tables the catalogue has now.
  std::map<std::string, long long> RowCounts();
  // The texts of the boxes shown so far, in UTF-8.
  std::vector<std::string> BoxTexts() const;

  std::unique_ptr<TestCatalogue> db;
  std::unique_ptr<ProgramEnvironment> env;
  zrui::ScriptedMessageBoxes boxes;

 private:
  _ConnectionPtr direct_;
};

// Takes over a list returned by the module and gives its entries in order.
std::vector<std::string> Entries(CStringList* list);
std::vector<std::string> Sorted(std::vector<std::string> v);
// Runs f, which must throw _com_error; returns its HRESULT (S_OK when it did not throw).
template <class F>
HRESULT ComErrorOf(F&& f) {
  try {
    f();
  } catch (const _com_error& e) {
    return e.Error();
  }
  return S_OK;
}

}  // namespace zrtest
