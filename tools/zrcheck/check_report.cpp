#include "check_report.h"

#include "json_writer.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <unordered_set>
#include <utility>

#include "command_line.h"
#include "findings.h"

#include "zrdwg/OdResBuf.h"

namespace {

std::string utf8(const OdString& s) { return s.toUtf8(); }
// Drawing texts in the report for people.
std::string shown(const OdString& s) { return printable(s.toUtf8()); }

const char* stateText(int state) {
  switch (state) {
    case zr::CONECTOR_OK: return "ok";
    case zr::CONECTOR_PINO_DESCONHECIDO: return "unknown pin";
    case zr::CONECTOR_LIGACAO_INVALIDA: return "invalid connection";
    default: return "?";
  }
}

}  // namespace

std::string printable(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  char buf[8];
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    const auto next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
    if (c < 0x20 || c == 0x7F) {
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {  // U+0080..U+009F
      std::snprintf(buf, sizeof buf, "\\u%04X", next);
      out += buf;
      ++i;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

const char* const kReportSchema = "urn:zrconector:zrcheck-report:1";

std::string unitsName(int insunits) {
  static const char* const names[] = {
      "unitless",    "inches",      "feet",          "miles",           "millimeters",     "centimeters",
      "meters",      "kilometers",  "microinches",   "mils",            "yards",           "angstroms",
      "nanometers",  "microns",     "decimeters",    "decameters",      "hectometers",     "gigameters",
      "astronomical units", "light years", "parsecs", "US survey feet", "US survey inches", "US survey yards",
      "US survey miles"};
  if (insunits < 0 || insunits >= static_cast<int>(std::size(names))) return "unknown";
  return names[insunits];
}

std::string printableLines(const std::string& utf8) {
  std::string out;
  std::size_t start = 0;
  while (true) {
    std::size_t end = utf8.find('\n', start);
    std::string line = utf8.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out += printable(line);
    if (end == std::string::npos) break;
    start = end + 1;
    if (start < utf8.size()) out += "\n  ";
  }
  return out;
}

CheckReport::Summary CheckReport::summary() const {
  Summary s;
  for (const auto& r : records) {
    ++s.connectors;
    if (r->GetEstado() == zr::CONECTOR_PINO_DESCONHECIDO || r->GetEstado() == zr::CONECTOR_LIGACAO_INVALIDA) ++s.errors;
    for (const auto& p : r->GetPinos()) {
      ++s.pins;
      if (p->status == zr::PINO_DESCONHECIDO || p->status == zr::PINO_LIGACAO_INVALIDA) ++s.errors;
      if (p->status == zr::PINO_FALTANTE) ++s.missing;
    }
  }
  return s;
}

CheckReport::Outcome CheckReport::outcome() const {
  Outcome o;
  for (const Finding& f : findings) {
    if (f.waived) {
      ++o.waived;
      continue;
    }
    ++(f.severity == "error" ? o.errors : o.warnings);
    if (f.baseline == "unchanged") ++o.unchanged;
    if (f.fails()) ++o.failing;
  }
  return o;
}

bool CheckReport::clean() const { return outcome().failing == 0; }

void CheckReport::findUnchecked() {
  std::unordered_set<std::string> checked;
  checked.reserve(records.size());
  for (const auto& r : records) checked.insert(utf8(r->GetNome()));
  unchecked.clear();
  for (const std::string& name : names)
    if (!checked.count(name)) unchecked.push_back(name);
}

namespace {

// What a finding's line adds after the problem: rule, severity, and what
// keeps it from failing the run.
std::string annotation(const Finding& f) {
  std::string out = " (" + f.rule + ", " + f.severity;
  if (f.waived) {
    out += ", waived";
    if (!f.waived->expires.empty()) out += " until " + f.waived->expires;
    out += ": " + printable(f.waived->reason);
  } else if (f.baseline == "unchanged") {
    out += ", in the baseline";
  } else if (f.baseline == "new") {
    out += ", new";
  }
  return out + ")";
}

std::string plural(int n, const char* word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); }

void printDrawingText(const CheckRun& run, const CheckReport& report, std::ostream& out) {
  out << printable(report.drawing) << "\n";
  if (!report.error.empty()) {
    out << "  not checked: " << printable(report.error) << "\n";
    out << "  " << printable(report.drawing) << ": not checked, catalogue: " << printable(run.catalogue) << "\n";
    return;
  }
  // The findings of each pin; a pin whose rule is ignored has none and is
  // not shown.
  std::map<std::pair<std::size_t, std::size_t>, const Finding*> ofPin;
  std::set<std::size_t> withFindings;
  for (const Finding& f : report.findings) {
    if (f.record == Finding::kNone) continue;
    ofPin[{f.record, f.pinIndex}] = &f;
    withFindings.insert(f.record);
  }
  for (std::size_t i = 0; i < report.records.size(); ++i) {
    const auto& r = report.records[i];
    // "ok" only for a connector without any finding: a record in state 0 may
    // still lack pins.
    const char* state = !withFindings.count(i) ? "ok"
                        : r->GetEstado() == zr::CONECTOR_OK ? "pins missing"
                                                            : stateText(r->GetEstado());
    out << "  " << shown(r->GetNome()) << " (" << shown(r->GetCodigo()) << ", flag " << shown(r->GetFlagTexto())
        << "): " << state << "\n";
    const auto& pins = r->GetPinos();
    for (std::size_t j = 0; j < pins.size(); ++j) {
      auto found = ofPin.find({i, j});
      if (found == ofPin.end()) continue;
      const auto& p = pins[j];
      out << "    pin " << shown(p->identifier);
      if (!p->handle.isEmpty()) out << " [" << shown(p->handle) << "]";
      switch (p->status) {
        case zr::PINO_FALTANTE: out << ": missing"; break;
        case zr::PINO_DESCONHECIDO: out << ": not in the catalogue"; break;
        case zr::PINO_LIGACAO_INVALIDA: out << ": may not connect"; break;
      }
      if (p->mate) {
        out << ", touches " << shown(p->mate->owner->GetNome()) << " pin " << shown(p->mate->identifier) << " ["
            << shown(p->mate->handle) << "]";
      }
      out << annotation(*found->second) << "\n";
    }
  }
  for (const Finding& f : report.findings)
    if (f.rule == "connector.unchecked")
      out << "  " << printable(f.connector) << ": placed in model space but not checked (no pin symbol with attribute "
          << printable(run.attrTag) << ")" << annotation(f) << "\n";
  const CheckReport::Summary s = report.summary();
  out << "  connectors: " << s.connectors << ", pins: " << s.pins << ", missing: " << s.missing
      << ", not checked: " << report.unchecked.size() << "\n";
  const CheckReport::Outcome o = report.outcome();
  out << "  " << printable(report.drawing) << ": " << (o.failing ? "failed" : "passed") << ", "
      << plural(o.errors, "error") << ", " << plural(o.warnings, "warning") << ", " << o.waived << " waived";
  if (!run.baselineFile.empty())
    out << ", " << o.unchanged << " in the baseline, " << report.fixedSinceBaseline << " fixed since";
  out << ", catalogue: " << printable(run.catalogue) << "\n";
}

// JSON has no infinities or NaN: those coordinates are written as null.
void writeNumber(JsonWriter& w, double v) {
  if (std::isfinite(v)) {
    w.raw(odFormatDouble(v));
  } else {
    w.raw("null");
  }
}

void writeOptionalNumber(JsonWriter& w, const std::optional<double>& v) {
  if (v) {
    writeNumber(w, *v);
  } else {
    w.raw("null");
  }
}

void writeFindings(JsonWriter& w, const std::vector<Finding>& findings) {
  w.raw('[');
  bool first = true;
  for (const Finding& f : findings) {
    w.raw(first ? "{\"rule\":" : ",{\"rule\":").string(f.rule).raw(",\"severity\":").string(f.severity);
    w.raw(",\"connector\":").string(f.connector).raw(",\"code\":").string(f.code);
    w.raw(",\"identifier\":").string(f.identifier).raw(",\"pin\":").string(f.pin);
    w.raw(",\"handle\":").stringOrNull(f.handle).raw(",\"x\":");
    writeOptionalNumber(w, f.x);
    w.raw(",\"y\":");
    writeOptionalNumber(w, f.y);
    w.raw(",\"related\":");
    if (f.related) {
      w.raw("{\"connector\":").string(f.related->connector).raw(",\"handle\":").string(f.related->handle);
      w.raw(",\"identifier\":").string(f.related->identifier).raw('}');
    } else {
      w.raw("null");
    }
    w.raw(",\"fingerprint\":").string(f.fingerprint).raw(",\"waived\":");
    if (f.waived) {
      w.raw("{\"file\":").string(f.waived->file).raw(",\"entry\":").integer(f.waived->entry);
      w.raw(",\"reason\":").string(f.waived->reason).raw(",\"expires\":").stringOrNull(f.waived->expires).raw('}');
    } else {
      w.raw("null");
    }
    w.raw(",\"baseline\":").stringOrNull(f.baseline).raw('}');
    first = false;
  }
  w.raw(']');
}

void writeStrings(JsonWriter& w, const std::vector<std::string>& list) {
  w.raw('[');
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (i) w.raw(',');
    w.string(list[i]);
  }
  w.raw(']');
}

void writeDrawing(JsonWriter& w, const CheckReport& report) {
  w.raw("{\"path\":").string(report.drawing).raw(",\"fingerprint\":").stringOrNull(report.fingerprint);
  w.raw(",\"units\":").stringOrNull(report.units).raw(",\"error\":").stringOrNull(report.error);
  w.raw(",\"connectors\":[");
  bool firstRecord = true;
  for (const auto& r : report.records) {
    w.raw(firstRecord ? "{\"name\":" : ",{\"name\":").string(utf8(r->GetNome()));
    w.raw(",\"code\":").string(utf8(r->GetCodigo())).raw(",\"flag\":").string(utf8(r->GetFlagTexto()));
    w.raw(",\"state\":").integer(r->GetEstado()).raw(",\"pins\":[");
    firstRecord = false;
    bool firstPin = true;
    for (const auto& p : r->GetPinos()) {
      w.raw(firstPin ? "{\"handle\":" : ",{\"handle\":").string(utf8(p->handle));
      w.raw(",\"identifier\":").string(utf8(p->identifier)).raw(",\"pin\":").string(utf8(p->pin));
      w.raw(",\"status\":").integer(p->status).raw(",\"x\":");
      // A pin without a symbol has no position.
      if (p->handle.isEmpty()) {
        w.raw("null,\"y\":null");
      } else {
        writeNumber(w, p->x);
        w.raw(",\"y\":");
        writeNumber(w, p->y);
      }
      w.raw(",\"mate\":");
      firstPin = false;
      if (p->mate) {
        w.raw("{\"connector\":").string(utf8(p->mate->owner->GetNome()));
        w.raw(",\"handle\":").string(utf8(p->mate->handle));
        w.raw(",\"identifier\":").string(utf8(p->mate->identifier)).raw('}');
      } else {
        w.raw("null");
      }
      w.raw('}');
    }
    w.raw("]}");
  }
  w.raw("],\"names\":");
  writeStrings(w, report.names);
  w.raw(",\"unchecked\":");
  writeStrings(w, report.unchecked);
  const CheckReport::Summary s = report.summary();
  w.raw(",\"summary\":{\"connectors\":").integer(s.connectors).raw(",\"pins\":").integer(s.pins);
  w.raw(",\"errors\":").integer(s.errors).raw(",\"missing\":").integer(s.missing).raw('}');
  const CheckReport::Outcome o = report.outcome();
  w.raw(",\"outcome\":{\"failed\":").raw(o.failing || !report.error.empty() ? "true" : "false");
  w.raw(",\"errors\":").integer(o.errors).raw(",\"warnings\":").integer(o.warnings);
  w.raw(",\"waived\":").integer(o.waived).raw(",\"unchanged\":").integer(o.unchanged);
  w.raw(",\"fixed\":").integer(report.fixedSinceBaseline).raw("},\"findings\":");
  writeFindings(w, report.findings);
  w.raw('}');
}

}  // namespace

void printText(const CheckRun& run, const std::vector<CheckReport>& reports, std::ostream& out) {
  out << "catalogue: " << printable(run.catalogue) << "\n"
      << "settings: " << (run.settingsFile.empty() ? std::string("none (--catalogue)") : printable(run.settingsFile))
      << "\n";
  for (const CheckReport& r : reports) printDrawingText(run, r, out);
  for (const Waiver& w : run.waivers) {
    const std::string state = waiverState(w, run.today());
    if (state == "used") continue;
    out << "waiver " << w.entry << " of " << printable(w.file) << " ("
        << printable(w.fingerprint.empty() ? w.rule + " " + w.connector + (w.identifier.empty() ? "" : " pin " + w.identifier)
                                           : w.fingerprint)
        << "): "
        << (state == "expired" ? "expired on " + w.expires + (w.matched ? ", no longer waives " + plural(w.matched, "finding") : "")
                               : std::string("matches no finding"))
        << "\n";
  }
}

void printJson(const CheckRun& run, const std::vector<CheckReport>& reports, std::ostream& out) {
  JsonWriter w(out);
  w.raw("{\"$schema\":").string(kReportSchema).raw(",\"tool\":\"zrcheck\",\"version\":").string(toolVersion());
  w.raw(",\"date\":").string(run.date).raw(",\"catalogue\":{\"kind\":");
  w.raw(run.catalogueFile.empty() ? "\"server\"" : "\"file\"").raw(",\"name\":").string(run.catalogue);
  if (run.catalogueFile.empty()) {
    w.raw(",\"server\":").string(run.server).raw(",\"database\":").string(run.database);
  } else {
    w.raw(",\"file\":").string(run.catalogueFile).raw(",\"fingerprint\":").stringOrNull(run.catalogueFingerprint);
  }
  w.raw("},\"settings\":{\"file\":").stringOrNull(run.settingsFile).raw(",\"program\":").string(run.program);
  w.raw(",\"attr_tag\":").string(run.attrTag).raw(",\"severities\":{");
  for (std::size_t i = 0; i < ruleNames().size(); ++i) {
    if (i) w.raw(',');
    w.string(ruleNames()[i]).raw(':').string(severityOf(ruleNames()[i], run.severities));
  }
  w.raw("}},\"baseline\":").stringOrNull(run.baselineFile).raw(",\"waivers\":[");
  for (std::size_t i = 0; i < run.waivers.size(); ++i) {
    const Waiver& v = run.waivers[i];
    if (i) w.raw(',');
    w.raw("{\"file\":").string(v.file).raw(",\"entry\":").integer(v.entry);
    w.raw(",\"fingerprint\":").stringOrNull(v.fingerprint).raw(",\"drawing\":").stringOrNull(v.drawing);
    w.raw(",\"rule\":").stringOrNull(v.rule).raw(",\"connector\":").stringOrNull(v.connector);
    w.raw(",\"identifier\":").stringOrNull(v.identifier).raw(",\"reason\":").string(v.reason);
    w.raw(",\"expires\":").stringOrNull(v.expires).raw(",\"state\":").string(waiverState(v, run.today()));
    w.raw(",\"matched\":").integer(v.matched).raw('}');
  }
  w.raw("],\"drawings\":[");
  for (std::size_t i = 0; i < reports.size(); ++i) {
    if (i) w.raw(',');
    writeDrawing(w, reports[i]);
  }
  w.raw("]}\n");
}
