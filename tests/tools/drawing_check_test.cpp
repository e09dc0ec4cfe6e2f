// The check of one drawing as zrcheck runs it: the same report whether the
// records are compared with the catalogue beside the name listing (a second
// thread) or after it, and with the catalogue's rows read ahead or not; a
// catalogue error on the second thread reaches the caller.

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>

#include "drawing_builder.h"
#include "drawing_check.h"

using namespace testing_support;

namespace {

// Pin rows for codes "C" (pins 1 to 3) and "D" (pins 1 and 2); "C" and "D"
// mate. Rows of "THROW" throw, as a lost connection does.
class FakeCatalogue : public zr::PinCatalogue {
 public:
  std::unique_ptr<CStringList> LinhasPinos(const OdString& code) override {
    if (code == OdString(u"THROW")) throw std::runtime_error("the connection was lost");
    auto rows = std::make_unique<CStringList>(10);
    const int pins = code == OdString(u"C") ? 3 : code == OdString(u"D") ? 2 : 0;
    for (int i = 1; i <= pins; ++i)
      rows->AddTail(CString::FromUtf8("K" + std::to_string(i) + "\f" + std::to_string(i) + "\fP" + code.toUtf8() +
                                      std::to_string(i) + "\f"));
    return rows;
  }
  std::unique_ptr<CStringList> ContraPecas(const OdString& code) override {
    auto mates = std::make_unique<CStringList>(10);
    if (code == OdString(u"C")) mates->AddTail(CString(u"D"));
    if (code == OdString(u"D")) mates->AddTail(CString(u"C"));
    return mates;
  }
};

// A pin symbol on a drawn layer (listed by name, unlike layer "0").
void pin(OdDbDatabase& db, const std::string& block, const std::string& name, const std::string& code,
         const std::string& identifier, double x, double y, const std::string& layer = "ESQUEMA") {
  OdDbBlockTablePtr table = db.getBlockTableId().safeOpenObject();
  if (!table->has(OdString::fromUtf8(block))) addBlock(db, block, {{"ID_PINO", "Pino"}});
  Reference r = at(block, x, y, {{"ID_PINO", identifier}});
  r.xdata = {name, code, "S"};
  r.layer = layer;
  addReference(db, r);
}

// Connectors with every kind of finding: a missing pin, an unknown pin, an
// unknown code, a symbol of another code, pins touching that may mate and
// pins of one connector touching each other; one connector on layer "0".
OdDbDatabasePtr drawingWithFindings() {
  OdDbDatabasePtr db = OdDbDatabase::createNew();
  pin(*db, "PIN-A", "X1", "C", "1", 0, 0);
  pin(*db, "PIN-A", "X2", "D", "1", 0, 0);  // touches X1's pin 1: C and D mate
  pin(*db, "PIN-A", "X3", "E", "1", 50, 0);  // a code the catalogue lacks
  pin(*db, "PIN-B", "X1", "C", "9", 10, 0);  // not a pin of C
  pin(*db, "PIN-B", "X2", "C", "2", 20, 0);  // X2's record is D's
  pin(*db, "PIN-B", "X4", "D", "1", 30, 0);
  pin(*db, "PIN-C", "X4", "D", "2", 30, 0);  // touches its own connector's pin
  pin(*db, "PIN-C", "X5", "C", "1", 40, 0, "0");  // checked, but not listed
  return db;
}

// The report as text: records with their pins, names, unknown codes and findings.
std::vector<std::string> shown(const CheckReport& report) {
  std::vector<std::string> out;
  for (const auto& record : report.records) {
    std::string line = record->GetNome().toUtf8() + " " + record->GetCodigo().toUtf8() + " state " +
                       std::to_string(record->GetEstado()) + ":";
    for (const auto& pin : record->GetPinos())
      line += " " + pin->identifier.toUtf8() + "/" + pin->pin.toUtf8() + "/" + std::to_string(pin->status) +
              (pin->mate ? "~" + pin->mate->owner->GetNome().toUtf8() : "");
    out.push_back(line);
  }
  for (const std::string& name : report.names) out.push_back("name " + name);
  for (const std::string& name : report.unchecked) out.push_back("unchecked " + name);
  for (const std::string& code : report.unknownCodes) out.push_back("unknown code " + code);
  for (const Finding& f : report.findings) out.push_back("finding " + f.rule + " " + f.connector + " " + f.identifier);
  return out;
}

CheckReport checked(bool secondThread, RunCatalogue::ReadAhead readAhead) {
  FakeCatalogue fake;
  RunCatalogue run(fake, nullptr, readAhead);
  CheckCatalogue view(run);
  CheckReport report;
  checkDrawing(report, drawingWithFindings(), OdString(u"ID_PINO"), view, secondThread);
  EXPECT_FALSE(view.failed());
  return report;
}

TEST(CheckDrawing, TheReportIsTheSameBesideTheListingOrAfterItWithRowsReadAheadOrNot) {
  using ReadAhead = RunCatalogue::ReadAhead;
  const std::vector<std::string> alone = shown(checked(false, ReadAhead::kNone));
  const std::vector<std::string> expected = {
      "X1 C state 1: 1/PC1/0~X2 9//2 2/PC2/1 3/PC3/1",
      "X2 D state 0: 1/PD1/0~X1 2/PC2/0",
      "X3 E state 1: 1//2",
      "X4 D state 2: 1/PD1/3~X4 2/PD2/3~X4",
      "X5 C state 0: 1/PC1/0 2/PC2/1 3/PC3/1",
      "name X1", "name X2", "name X3", "name X4",
      "unknown code E",
      "finding pin.unknown X1 9", "finding pin.missing X1 2", "finding pin.missing X1 3",
      "finding connector.unknown-code X3 ",
      "finding pin.self-mate X4 1", "finding pin.self-mate X4 2",
      "finding pin.missing X5 2", "finding pin.missing X5 3"};
  EXPECT_EQ(alone, expected);
  for (const bool secondThread : {false, true})
    for (const ReadAhead readAhead : {ReadAhead::kNone, ReadAhead::kOnAsk, ReadAhead::kOnThread})
      EXPECT_EQ(shown(checked(secondThread, readAhead)), alone)
          << "second thread " << secondThread << ", read ahead " << static_cast<int>(readAhead);
}

TEST(CheckDrawing, ACatalogueErrorWhileTheRecordsAreComparedReachesTheCaller) {
  for (const bool secondThread : {false, true}) {
    FakeCatalogue fake;
    RunCatalogue run(fake, nullptr, secondThread ? RunCatalogue::ReadAhead::kOnThread : RunCatalogue::ReadAhead::kOnAsk);
    CheckCatalogue view(run);
    OdDbDatabasePtr db = drawingWithFindings();
    pin(*db, "PIN-D", "X9", "THROW", "1", 90, 0);
    CheckReport report;
    EXPECT_THROW(checkDrawing(report, db, OdString(u"ID_PINO"), view, secondThread), std::runtime_error)
        << "second thread: " << secondThread;
    // The run goes on: the next drawing is checked against the same catalogue.
    CheckCatalogue next(run);
    CheckReport clean;
    checkDrawing(clean, drawingWithFindings(), OdString(u"ID_PINO"), next, secondThread);
    EXPECT_EQ(shown(clean), shown(checked(false, RunCatalogue::ReadAhead::kNone))) << "second thread: " << secondThread;
  }
}

}  // namespace
