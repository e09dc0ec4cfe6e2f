#pragma once
// A catalogue in memory for the pin check: pin rows per connector code and
// mating pairs, counting the queries made.

#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "drawing/CIPinos.h"

class FakeCatalogue : public zr::PinCatalogue {
 public:
  struct Row {
    std::string key, id, pin;
  };
  void pins(const std::string& code, std::vector<Row> rows) { rows_[code] = std::move(rows); }
  void mates(const std::string& a, const std::string& b) { pairs_.emplace_back(a, b); }
  void failMatingQueries() { failMating_ = true; }
  // Answers as a catalogue that reads rows ahead (on a thread of its own,
  // were it a real one): Prefetch takes every code, noting it in prefetched.
  void readAhead() { readAhead_ = true; }
  // Answers the parsed rows with nothing at all (a null pointer), as a
  // faulty catalogue might.
  void answerNoParsedRows() { noParsedRows_ = true; }

  std::unique_ptr<CStringList> LinhasPinos(const OdString& code) override {
    ++rowQueries[code.toUtf8()];
    rowOrder.push_back(code.toUtf8());
    auto list = std::make_unique<CStringList>(10);
    for (const Row& r : rows_[code.toUtf8()])
      list->AddTail(CString::FromUtf8(r.key + "\f" + r.id + "\f" + r.pin + "\f"));
    return list;
  }
  std::shared_ptr<const zr::PinRows> Rows(const OdString& code) override {
    if (noParsedRows_) return nullptr;
    return zr::PinCatalogue::Rows(code);
  }
  std::unique_ptr<CStringList> ContraPecas(const OdString& code) override {
    ++matingQueries[code.toUtf8()];
    if (failMating_) throw std::runtime_error("mating query failed");
    auto list = std::make_unique<CStringList>(10);
    std::set<std::string> seen;
    for (const auto& [a, b] : pairs_) {
      const std::string other = a == code.toUtf8() ? b : (b == code.toUtf8() ? a : "");
      if (!other.empty() && seen.insert(other).second) list->AddTail(CString::FromUtf8(other));
    }
    return list;
  }

  bool Prefetch(const OdString& code) override {
    if (readAhead_) prefetched.push_back(code.toUtf8());
    return readAhead_;
  }

  // The pin check and the name listing of the current drawing against this catalogue.
  zr::ConectoresPinos check() {
    zr::ConectoresPinos records;
    CIPinos(this).VerificarPinos(records);
    return records;
  }
  std::vector<std::string> listedNames() {
    std::unique_ptr<CStringList> list(CIPinos(this).GetConectoresDesenho());
    std::vector<std::string> out;
    for (POSITION pos = list->GetHeadPosition(); pos;) out.push_back(list->GetNext(pos).ToUtf8());
    return out;
  }

  std::map<std::string, int> rowQueries, matingQueries;
  std::vector<std::string> rowOrder, prefetched;  // codes, in the order asked

 private:
  std::map<std::string, std::vector<Row>> rows_;
  std::vector<std::pair<std::string, std::string>> pairs_;
  bool failMating_ = false;
  bool readAhead_ = false;
  bool noParsedRows_ = false;
};
