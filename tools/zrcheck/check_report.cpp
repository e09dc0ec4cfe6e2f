#include "check_report.h"

#include "json_text.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <utility>

#include "command_line.h"
#include "findings.h"

#include "OdResBuf.h"

namespace {

std::string utf8(const OdString& s) { return s.toUtf8(); }
// Drawing texts in the report for people.
std::string shown(const OdString& s) { return printable(s.toUtf8()); }

// JSON has no infinities or NaN: those coordinates are written as null.
std::string number(double v) { return std::isfinite(v) ? odFormatDouble(v) : std::string("null"); }

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
  std::set<std::string> checked;
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

std::string textOrNull(const std::string& s) { return s.empty() ? std::string("null") : jsonString(s); }

std::string optionalNumber(const std::optional<double>& v) { return v ? number(*v) : std::string("null"); }

void printFindingsJson(const std::vector<Finding>& findings, std::ostream& out) {
  out << "[";
  bool first = true;
  for (const Finding& f : findings) {
    out << (first ? "" : ",") << "{\"rule\":" << jsonString(f.rule) << ",\"severity\":" << jsonString(f.severity)
        << ",\"connector\":" << jsonString(f.connector) << ",\"code\":" << jsonString(f.code)
        << ",\"identifier\":" << jsonString(f.identifier) << ",\"pin\":" << jsonString(f.pin)
        << ",\"handle\":" << (f.handle.empty() ? std::string("null") : jsonString(f.handle))
        << ",\"x\":" << optionalNumber(f.x) << ",\"y\":" << optionalNumber(f.y) << ",\"related\":";
    if (f.related) {
      out << "{\"connector\":" << jsonString(f.related->connector) << ",\"handle\":" << jsonString(f.related->handle)
          << ",\"identifier\":" << jsonString(f.related->identifier) << "}";
    } else {
      out << "null";
    }
    out << ",\"fingerprint\":" << jsonString(f.fingerprint) << ",\"waived\":";
    if (f.waived) {
      out << "{\"file\":" << jsonString(f.waived->file) << ",\"entry\":" << f.waived->entry
          << ",\"reason\":" << jsonString(f.waived->reason) << ",\"expires\":" << textOrNull(f.waived->expires) << "}";
    } else {
      out << "null";
    }
    out << ",\"baseline\":" << textOrNull(f.baseline) << "}";
    first = false;
  }
  out << "]";
}

void printStrings(const std::vector<std::string>& list, std::ostream& out) {
  out << "[";
  for (std::size_t i = 0; i < list.size(); ++i) out << (i ? "," : "") << jsonString(list[i]);
  out << "]";
}

void printDrawingJson(const CheckReport& report, std::ostream& out) {
  out << "{\"path\":" << jsonString(report.drawing) << ",\"fingerprint\":" << textOrNull(report.fingerprint)
      << ",\"units\":" << textOrNull(report.units) << ",\"error\":" << textOrNull(report.error)
      << ",\"connectors\":[";
  bool firstRecord = true;
  for (const auto& r : report.records) {
    out << (firstRecord ? "" : ",") << "{\"name\":" << jsonString(utf8(r->GetNome())) << ",\"code\":"
        << jsonString(utf8(r->GetCodigo())) << ",\"flag\":" << jsonString(utf8(r->GetFlagTexto())) << ",\"state\":"
        << r->GetEstado() << ",\"pins\":[";
    firstRecord = false;
    bool firstPin = true;
    for (const auto& p : r->GetPinos()) {
      out << (firstPin ? "" : ",") << "{\"handle\":" << jsonString(utf8(p->handle)) << ",\"identifier\":"
          << jsonString(utf8(p->identifier)) << ",\"pin\":" << jsonString(utf8(p->pin)) << ",\"status\":" << p->status
          << ",\"x\":" << (p->handle.isEmpty() ? std::string("null") : number(p->x))
          << ",\"y\":" << (p->handle.isEmpty() ? std::string("null") : number(p->y)) << ",\"mate\":";
      firstPin = false;
      if (p->mate) {
        out << "{\"connector\":" << jsonString(utf8(p->mate->owner->GetNome())) << ",\"handle\":"
            << jsonString(utf8(p->mate->handle)) << ",\"identifier\":" << jsonString(utf8(p->mate->identifier)) << "}";
      } else {
        out << "null";
      }
      out << "}";
    }
    out << "]}";
  }
  out << "],\"names\":";
  printStrings(report.names, out);
  out << ",\"unchecked\":";
  printStrings(report.unchecked, out);
  const CheckReport::Summary s = report.summary();
  out << ",\"summary\":{\"connectors\":" << s.connectors << ",\"pins\":" << s.pins << ",\"errors\":" << s.errors
      << ",\"missing\":" << s.missing << "}";
  const CheckReport::Outcome o = report.outcome();
  out << ",\"outcome\":{\"failed\":" << (o.failing || !report.error.empty() ? "true" : "false")
      << ",\"errors\":" << o.errors << ",\"warnings\":" << o.warnings << ",\"waived\":" << o.waived
      << ",\"unchanged\":" << o.unchanged << ",\"fixed\":" << report.fixedSinceBaseline << "},\"findings\":";
  printFindingsJson(report.findings, out);
  out << "}";
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
  out << "{\"$schema\":" << jsonString(kReportSchema) << ",\"tool\":\"zrcheck\",\"version\":"
      << jsonString(toolVersion()) << ",\"date\":" << jsonString(run.date) << ",\"catalogue\":{\"kind\":"
      << (run.catalogueFile.empty() ? "\"server\"" : "\"file\"") << ",\"name\":" << jsonString(run.catalogue);
  if (run.catalogueFile.empty()) {
    out << ",\"server\":" << jsonString(run.server) << ",\"database\":" << jsonString(run.database);
  } else {
    out << ",\"file\":" << jsonString(run.catalogueFile) << ",\"fingerprint\":" << textOrNull(run.catalogueFingerprint);
  }
  out << "},\"settings\":{\"file\":" << textOrNull(run.settingsFile) << ",\"program\":" << jsonString(run.program)
      << ",\"attr_tag\":" << jsonString(run.attrTag) << ",\"severities\":{";
  for (std::size_t i = 0; i < ruleNames().size(); ++i)
    out << (i ? "," : "") << jsonString(ruleNames()[i]) << ":" << jsonString(severityOf(ruleNames()[i], run.severities));
  out << "}},\"baseline\":" << textOrNull(run.baselineFile) << ",\"waivers\":[";
  for (std::size_t i = 0; i < run.waivers.size(); ++i) {
    const Waiver& w = run.waivers[i];
    out << (i ? "," : "") << "{\"file\":" << jsonString(w.file) << ",\"entry\":" << w.entry
        << ",\"fingerprint\":" << textOrNull(w.fingerprint) << ",\"drawing\":" << textOrNull(w.drawing)
        << ",\"rule\":" << textOrNull(w.rule) << ",\"connector\":" << textOrNull(w.connector)
        << ",\"identifier\":" << textOrNull(w.identifier) << ",\"reason\":" << jsonString(w.reason)
        << ",\"expires\":" << textOrNull(w.expires) << ",\"state\":" << jsonString(waiverState(w, run.today()))
        << ",\"matched\":" << w.matched << "}";
  }
  out << "],\"drawings\":[";
  for (std::size_t i = 0; i < reports.size(); ++i) {
    if (i) out << ",";
    printDrawingJson(reports[i], out);
  }
  out << "]}\n";
}
