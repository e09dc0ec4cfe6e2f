#include "report_findings.h"

#include <cmath>
#include <vector>

#include "check_report.h"

namespace {

std::string utf8(const OdString& s) { return s.toUtf8(); }

std::optional<double> finiteOrNone(double v) { return std::isfinite(v) ? std::optional<double>(v) : std::nullopt; }

const char* ruleOf(const zr::CEPino& pin, const zr::CEConectorPinos& record) {
  switch (pin.status) {
    case zr::PINO_FALTANTE: return "pin.missing";
    case zr::PINO_DESCONHECIDO: return "pin.unknown";
    case zr::PINO_LIGACAO_INVALIDA:
      return pin.mate && pin.mate->owner == &record ? "pin.self-mate" : "pin.invalid-mate";
    default: return nullptr;
  }
}

// The rule of the pin's own finding, or null when it has none: also when
// the record's code is unknown to the catalogue, whose one finding for the
// connector says it for every pin the code does not know.
const char* pinFindingRule(const zr::CEPino& pin, const zr::CEConectorPinos& record, bool unknownCode) {
  if (unknownCode && pin.status == zr::PINO_DESCONHECIDO) return nullptr;
  return ruleOf(pin, record);
}

void fingerprint(Finding& f) {
  // Fields joined by a unit separator, which no field holds.
  std::string key = f.rule + '\x1f' + f.connector + '\x1f' + f.code + '\x1f' + f.identifier + '\x1f' + f.pin;
  if (f.related) key += '\x1f' + f.related->connector + '\x1f' + f.related->identifier;
  f.fingerprint = sha256Hex(key).substr(0, 32);
}

}  // namespace

Findings findingsOf(const CheckReport& report) {
  // Whether each record's code is unknown, and how many findings there are:
  // the list is taken once, at its size.
  std::vector<bool> unknownCodes(report.records.size());
  std::size_t count = report.unchecked.size();
  for (std::size_t r = 0; r < report.records.size(); ++r) {
    const auto& record = *report.records[r];
    unknownCodes[r] = report.unknownCodes.count(utf8(record.GetCodigo())) != 0;
    if (unknownCodes[r]) ++count;
    for (const auto& pin : record.GetPinos())
      if (pinFindingRule(*pin, record, unknownCodes[r])) ++count;
  }
  Findings out;
  out.reserve(count);
  for (std::size_t r = 0; r < report.records.size(); ++r) {
    const auto& record = report.records[r];
    const auto& pins = record->GetPinos();
    const bool unknownCode = unknownCodes[r];
    if (unknownCode) {
      Finding f;
      f.rule = "connector.unknown-code";
      f.record = r;
      f.connector = utf8(record->GetNome());
      f.code = utf8(record->GetCodigo());
      for (const auto& pin : pins) {
        if (pin->handle.isEmpty()) continue;
        if (f.symbols.empty()) {
          f.handle = pin->handle.toUtf8();
          f.x = finiteOrNone(pin->x);
          f.y = finiteOrNone(pin->y);
        }
        f.symbols.push_back(pin->handle.toUtf8());
      }
      fingerprint(f);
      out.push_back(std::move(f));
    }
    for (std::size_t p = 0; p < pins.size(); ++p) {
      const auto& pin = pins[p];
      const char* rule = pinFindingRule(*pin, *record, unknownCode);
      if (!rule) continue;
      Finding f;
      f.rule = rule;
      f.record = r;
      f.pinIndex = p;
      f.connector = utf8(record->GetNome());
      f.code = utf8(record->GetCodigo());
      f.identifier = pin->identifier.toUtf8();
      f.pin = pin->pin.toUtf8();
      f.handle = pin->handle.toUtf8();
      if (!pin->handle.isEmpty()) {
        f.x = finiteOrNone(pin->x);
        f.y = finiteOrNone(pin->y);
      }
      if (pin->mate)
        f.related = Finding::Related{utf8(pin->mate->owner->GetNome()), pin->mate->handle.toUtf8(),
                                     pin->mate->identifier.toUtf8()};
      fingerprint(f);
      out.push_back(std::move(f));
    }
  }
  for (const std::string& name : report.unchecked) {
    Finding f;
    f.rule = "connector.unchecked";
    f.connector = name;
    fingerprint(f);
    out.push_back(std::move(f));
  }
  return out;
}
