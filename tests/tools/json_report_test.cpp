// The JSON report of a drawing large enough to be written in chunks, every
// second chunk on a second thread where the run has one: one document whose
// connectors and pins come in the records' order, each with its own fields,
// the same as one thread writes. Connectors written ahead (on the thread
// that checked the drawing, the records then let go) make the same document.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <sstream>
#include <string>
#include <vector>

#include "check_report.h"

namespace {

OdString text(const std::string& s) { return OdString::fromUtf8(s); }

// Connectors X0, X1, ... of `pins` pins each, each even connector's first pin
// touching the first pin of the one after it; every second pin is missing.
void fillRecords(CheckReport& report, int connectors, int pins) {
  for (int c = 0; c < connectors; ++c) {
    auto record = std::make_unique<zr::CEConectorPinos>(text("X" + std::to_string(c)), text("CON-1"), c % 2 == 0);
    for (int p = 0; p < pins; ++p)
      record->AddPino(text(std::to_string(p)), text(std::to_string(c * pins + p)), text("P" + std::to_string(p)),
                      p % 2 ? zr::PINO_FALTANTE : zr::PINO_OK, c, p + 0.5);
    report.records.push_back(std::move(record));
  }
  for (int c = 0; c + 1 < connectors; c += 2) {
    zr::CEPino* a = report.records[c]->GetPinos()[0].get();
    zr::CEPino* b = report.records[c + 1]->GetPinos()[0].get();
    a->mate = b;
    b->mate = a;
  }
}

CheckRun aRun() {
  CheckRun run;
  run.date = "2026-12-08T10:00:00Z";
  return run;
}

// The whole document of the run with the given drawings.
std::string written(const std::vector<const CheckReport*>& reports, bool secondThread) {
  const CheckRun run = aRun();
  std::ostringstream out;
  JsonReport json(run, out, secondThread);
  for (const CheckReport* report : reports) json.drawing(*report);
  json.finish(run);
  return out.str();
}

TEST(JsonReport, ALargeDrawingWrittenInChunksKeepsTheRecordsOrder) {
  // 3,000 connectors of 40 pins: more than two chunks, the last one alone.
  const int kConnectors = 3000, kPins = 40;
  CheckReport report;
  report.drawing = "large.dxf";
  fillRecords(report, kConnectors, kPins);

  std::string written[2];
  for (const bool secondThread : {false, true}) written[secondThread] = ::written({&report}, secondThread);
  // On one thread or two, the same document.
  EXPECT_EQ(written[false], written[true]);

  const nlohmann::json document = nlohmann::json::parse(written[true]);
  const nlohmann::json& connectors = document.at("drawings").at(0).at("connectors");
  ASSERT_EQ(connectors.size(), static_cast<std::size_t>(kConnectors));
  for (int c = 0; c < kConnectors; ++c) {
    SCOPED_TRACE(c);
    const nlohmann::json& connector = connectors[c];
    ASSERT_EQ(connector.at("name"), "X" + std::to_string(c));
    EXPECT_EQ(connector.at("flag"), c % 2 == 0 ? "S" : "N");
    const nlohmann::json& pins = connector.at("pins");
    ASSERT_EQ(pins.size(), static_cast<std::size_t>(kPins));
    for (int p = 0; p < kPins; ++p) {
      ASSERT_EQ(pins[p].at("handle"), std::to_string(c * kPins + p));
      ASSERT_EQ(pins[p].at("pin"), "P" + std::to_string(p));
      ASSERT_EQ(pins[p].at("x"), c);
      ASSERT_EQ(pins[p].at("y"), p + 0.5);
    }
    const nlohmann::json& mate = pins[0].at("mate");
    ASSERT_TRUE(mate.is_object());
    EXPECT_EQ(mate.at("connector"), "X" + std::to_string(c % 2 ? c - 1 : c + 1));
    EXPECT_TRUE(pins[1].at("mate").is_null());
  }
  EXPECT_EQ(document.at("drawings").at(0).at("summary").at("pins"), kConnectors * kPins);
}

TEST(JsonReport, ConnectorsWrittenAheadMakeTheSameDocumentWithoutTheRecords) {
  CheckReport first, second;
  first.drawing = "first.dxf";
  second.drawing = "second.dxf";
  fillRecords(first, 30, 6);
  fillRecords(second, 7, 3);
  second.names = {"X0", "Y1"};
  second.unchecked = {"Y1"};
  const std::string asTheyAre = written({&first, &second}, false);
  const CheckReport::Summary before = first.summary();

  writeConnectorsAhead(first);
  writeConnectorsAhead(second);
  // The records are gone, their summary kept.
  EXPECT_TRUE(first.records.empty());
  EXPECT_TRUE(second.records.empty());
  const CheckReport::Summary after = first.summary();
  EXPECT_EQ(after.connectors, before.connectors);
  EXPECT_EQ(after.pins, before.pins);
  EXPECT_EQ(after.missing, before.missing);
  EXPECT_EQ(after.missing, 30 * 3);

  // Byte for byte the same document, with a drawing written ahead beside
  // one that is not, on one thread or two.
  EXPECT_EQ(written({&first, &second}, false), asTheyAre);
  EXPECT_EQ(written({&first, &second}, true), asTheyAre);
  CheckReport third;
  third.drawing = "third.dxf";
  fillRecords(third, 2, 2);
  const std::string mixed = written({&first, &third}, false);
  const nlohmann::json document = nlohmann::json::parse(mixed);
  EXPECT_EQ(document.at("drawings").at(0).at("connectors").size(), 30u);
  EXPECT_EQ(document.at("drawings").at(1).at("connectors").size(), 2u);
  EXPECT_EQ(document.at("drawings").at(0).at("connectors").at(1).at("pins").at(0).at("mate").at("connector"), "X0");
}

}  // namespace
