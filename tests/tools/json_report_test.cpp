// The JSON report of a drawing large enough to be written in chunks, every
// second chunk on a second thread where the run has one: one document whose
// connectors and pins come in the records' order, each with its own fields,
// the same as one thread writes.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <sstream>
#include <string>

#include "check_report.h"

namespace {

OdString text(const std::string& s) { return OdString::fromUtf8(s); }

TEST(JsonReport, ALargeDrawingWrittenInChunksKeepsTheRecordsOrder) {
  // 3,000 connectors of 40 pins: more than two chunks, the last one alone.
  const int kConnectors = 3000, kPins = 40;
  CheckReport report;
  report.drawing = "large.dxf";
  for (int c = 0; c < kConnectors; ++c) {
    auto record = std::make_unique<zr::CEConectorPinos>(text("X" + std::to_string(c)), text("CON-1"), c % 2 == 0);
    for (int p = 0; p < kPins; ++p)
      record->AddPino(text(std::to_string(p)), text(std::to_string(c * kPins + p)), text("P" + std::to_string(p)),
                      zr::PINO_OK, c, p + 0.5);
    report.records.push_back(std::move(record));
  }
  // Each connector's first pin touches the first pin of the one after it.
  for (int c = 0; c + 1 < kConnectors; c += 2) {
    zr::CEPino* a = report.records[c]->GetPinos()[0].get();
    zr::CEPino* b = report.records[c + 1]->GetPinos()[0].get();
    a->mate = b;
    b->mate = a;
  }

  CheckRun run;
  run.date = "2026-12-08T10:00:00Z";
  std::string written[2];
  for (const bool secondThread : {false, true}) {
    std::ostringstream out;
    JsonReport json(run, out, secondThread);
    json.drawing(report);
    json.finish(run);
    written[secondThread] = out.str();
  }
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

}  // namespace
