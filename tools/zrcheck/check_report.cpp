#include "check_report.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <exception>
#include <string_view>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <thread>
#include <unordered_set>
#include <utility>

#include "tool_version.h"
#include "drawing_path.h"
#include "findings.h"
#include "processor_spread.h"

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

std::string findingSymbol(const CheckReport& report, const Finding& f) {
  if (!f.handle.empty() || f.record == Finding::kNone || f.record >= report.records.size()) return f.handle;
  for (const auto& pin : report.records[f.record]->GetPinos())
    if (!pin->handle.isEmpty()) return pin->handle.toUtf8();
  return {};
}

std::size_t findingLine(const CheckReport& report, const Finding& f) {
  auto it = report.insertLines.find(findingSymbol(report, f));
  return it == report.insertLines.end() ? 0 : it->second;
}

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
  if (summaryKept_) return *summaryKept_;
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
    else ++(f.severity == "error" ? o.newErrors : o.newWarnings);
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
  std::map<std::size_t, const Finding*> ofConnector;  // connector.unknown-code
  std::set<std::size_t> withFindings;
  for (const Finding& f : report.findings) {
    if (f.record == Finding::kNone) continue;
    if (f.pinIndex == Finding::kNone) ofConnector[f.record] = &f;
    else ofPin[{f.record, f.pinIndex}] = &f;
    withFindings.insert(f.record);
  }
  for (std::size_t i = 0; i < report.records.size(); ++i) {
    const auto& r = report.records[i];
    // "ok" only for a connector without any finding: a record in state 0 may
    // still lack pins.
    const char* state = !withFindings.count(i)    ? "ok"
                        : ofConnector.count(i)     ? "code not in the catalogue"
                        : r->GetEstado() == zr::CONECTOR_OK ? "pins missing"
                                                            : stateText(r->GetEstado());
    out << "  " << shown(r->GetNome()) << " (" << shown(r->GetCodigo()) << ", flag " << shown(r->GetFlagTexto())
        << "): " << state << "\n";
    if (auto own = ofConnector.find(i); own != ofConnector.end()) {
      std::string symbols;
      for (const std::string& h : own->second->symbols) symbols += (symbols.empty() ? "" : ", ") + h;
      out << "    code " << shown(r->GetCodigo()) << ": not in the catalogue, " << own->second->symbols.size()
          << " pin symbol(s) not checked [" << printable(symbols) << "]" << annotation(*own->second) << "\n";
    }
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
  out << "  " << printable(report.drawing) << ": " << (o.failing ? "failed" : "passed") << ", ";
  if (run.baselineFile.empty()) {
    out << plural(o.errors, "error") << ", " << plural(o.warnings, "warning") << ", " << o.waived << " waived";
  } else {
    out << o.newErrors << " new " << (o.newErrors == 1 ? "error" : "errors") << ", " << o.newWarnings << " new "
        << (o.newWarnings == 1 ? "warning" : "warnings") << ", " << o.unchanged << " in the baseline, " << o.waived
        << " waived, " << report.fixedSinceBaseline << " fixed since";
  }
  out << ", catalogue: " << printable(run.catalogue) << "\n";
}

using Json = nlohmann::ordered_json;

Json textOrNull(const std::string& s) { return s.empty() ? Json() : Json(s); }

// An object's members as JSON text, without its braces, so that a large
// document is written a piece at a time (a drawing's connectors one by one)
// and never held whole. Texts from a drawing need not be UTF-8: replaced,
// not refused.
std::string dumped(const Json& j) { return j.dump(-1, ' ', false, Json::error_handler_t::replace); }
std::string members(const Json& object) {
  std::string text = dumped(object);
  return text.substr(1, text.size() - 2);
}

// JSON text appended to one buffer: the connectors and findings of a large
// drawing (200,000 pins, 10,000 findings) are written without building a
// JSON value, or a string, per pin or finding. The text is the same as
// nlohmann's dump of the same values: a text that is plain ASCII is copied
// as it is; any other (escapes, UTF-16 beyond ASCII, bytes that are not
// UTF-8, which are replaced) goes through nlohmann's own serialisation.
class JsonText {
 public:
  explicit JsonText(JsonBuffer& out) : out_(out) {}

  // `"key":`
  JsonText& key(std::string_view k) {
    out_ += '"';
    out_ += k;
    out_ += "\":";
    return *this;
  }
  JsonText& raw(std::string_view s) {
    out_ += s;
    return *this;
  }
  JsonText& text(std::string_view s) {
    if (plain(s)) {
      out_ += '"';
      out_ += s;
      out_ += '"';
    } else {
      out_ += dumped(Json(std::string(s)));
    }
    return *this;
  }
  JsonText& text(const OdString& s) { return text(s.view()); }
  JsonText& text(std::u16string_view units) {
    const bool ascii = std::all_of(units.begin(), units.end(), [](char16_t c) { return plainByte(c); });
    if (!ascii) return text(std::string_view(OdString(units).toUtf8()));
    out_ += '"';
    for (char16_t c : units) out_ += static_cast<char>(c);
    out_ += '"';
    return *this;
  }
  JsonText& textOrNull(std::string_view s) { return s.empty() ? raw("null") : text(s); }
  // An array of texts.
  JsonText& texts(const std::vector<std::string>& items) {
    raw("[");
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (i) raw(",");
      text(items[i]);
    }
    return raw("]");
  }
  JsonText& number(double v) {
    if (!std::isfinite(v)) return raw("null");
    char digits[64];
    // nlohmann's own shortest form (as its dump writes numbers: 100.0, 0.6).
    char* end = nlohmann::detail::to_chars(digits, digits + sizeof digits, v);
    out_.append(digits, static_cast<std::size_t>(end - digits));
    return *this;
  }
  JsonText& number(const std::optional<double>& v) { return v ? number(*v) : raw("null"); }
  JsonText& integer(long long v) {
    char digits[24];
    const auto done = std::to_chars(digits, digits + sizeof digits, v);
    out_.append(digits, static_cast<std::size_t>(done.ptr - digits));
    return *this;
  }

 private:
  // Written as it is inside quotes: printable ASCII other than '"' and '\'.
  static bool plainByte(unsigned c) { return c >= 0x20 && c < 0x7f && c != '"' && c != '\\'; }
  static bool plain(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return plainByte(static_cast<unsigned char>(c)); });
  }

  JsonBuffer& out_;
};

void writePinReference(JsonText& j, const zr::CEPino& pin) {
  j.raw("{").key("connector").text(pin.owner->GetNome());
  j.raw(",").key("handle").text(pin.handle.view());
  j.raw(",").key("identifier").text(pin.identifier.view()).raw("}");
}

void writeConnector(JsonText& j, const zr::CEConectorPinos& r) {
  j.raw("{").key("name").text(r.GetNome());
  j.raw(",").key("code").text(r.GetCodigo());
  j.raw(",").key("flag").raw(r.GetFlag() ? "\"S\"" : "\"N\"");
  j.raw(",").key("state").integer(r.GetEstado());
  j.raw(",").key("pins").raw("[");
  bool first = true;
  for (const auto& p : r.GetPinos()) {
    // A pin without a symbol has no position.
    const bool placed = !p->handle.isEmpty();
    j.raw(first ? "{" : ",{").key("handle").text(p->handle.view());
    first = false;
    j.raw(",").key("identifier").text(p->identifier.view());
    j.raw(",").key("pin").text(p->pin.view());
    j.raw(",").key("status").integer(p->status);
    j.raw(",").key("x");
    placed ? j.number(p->x) : j.raw("null");
    j.raw(",").key("y");
    placed ? j.number(p->y) : j.raw("null");
    j.raw(",").key("mate");
    p->mate ? writePinReference(j, *p->mate) : void(j.raw("null"));
    j.raw("}");
  }
  j.raw("]}");
}

void writeFinding(JsonText& j, const Finding& f) {
  j.raw("{").key("rule").text(f.rule);
  j.raw(",").key("severity").text(f.severity);
  j.raw(",").key("connector").text(f.connector);
  j.raw(",").key("code").text(f.code);
  j.raw(",").key("identifier").text(f.identifier);
  j.raw(",").key("pin").text(f.pin);
  j.raw(",").key("handle").textOrNull(f.handle);
  j.raw(",").key("x").number(f.x);
  j.raw(",").key("y").number(f.y);
  j.raw(",").key("related");
  if (f.related) {
    j.raw("{").key("connector").text(f.related->connector);
    j.raw(",").key("handle").text(f.related->handle);
    j.raw(",").key("identifier").text(f.related->identifier).raw("}");
  } else {
    j.raw("null");
  }
  j.raw(",").key("fingerprint").text(f.fingerprint);
  j.raw(",").key("waived");
  if (f.waived) {
    j.raw("{").key("file").text(f.waived->file);
    j.raw(",").key("entry").integer(f.waived->entry);
    j.raw(",").key("reason").text(f.waived->reason);
    j.raw(",").key("expires").textOrNull(f.waived->expires).raw("}");
  } else {
    j.raw("null");
  }
  j.raw(",").key("baseline").textOrNull(f.baseline).raw("}");
}

// The buffer is handed to the stream whenever it holds this much, between
// two connectors or findings: one buffer, reused, whatever the drawing's size,
// and never the whole report in memory.
constexpr std::size_t kFlushAt = 1 << 20;

void flushFull(JsonBuffer& text, std::ostream& out) {
  if (text.size() < kFlushAt) return;
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  text.clear();
}

// The connectors of a drawing are written in chunks of this many pins (at
// least); with a second thread, a drawing of two chunks or more has every
// second chunk written on it, into a buffer of its own, while the first
// thread writes the chunk before it.
constexpr std::size_t kPinsPerChunk = 50000;

// Bytes a pin and a connector (its pins aside) take, a little over.
constexpr std::size_t kBytesAPin = 160;
constexpr std::size_t kBytesAConnector = 160;

// Connectors [first, last) of report, each after a comma but the report's
// first, into out (handed to stream whenever full, when there is one).
void writeConnectorRange(JsonText& j, const CheckReport& report, std::size_t first, std::size_t last,
                         JsonBuffer& out, std::ostream* stream) {
  for (std::size_t i = first; i < last; ++i) {
    if (i) j.raw(",");
    writeConnector(j, *report.records[i]);
    if (stream) flushFull(out, *stream);
  }
}

void writeConnectors(JsonBuffer& out, std::ostream& stream, const CheckReport& report, bool secondThread) {
  // Where each chunk ends.
  std::vector<std::size_t> ends;
  std::size_t pins = 0;
  for (std::size_t i = 0; i < report.records.size(); ++i) {
    pins += report.records[i]->GetPinos().size();
    if (pins >= kPinsPerChunk) {
      ends.push_back(i + 1);
      pins = 0;
    }
  }
  if (ends.empty() || ends.back() != report.records.size()) ends.push_back(report.records.size());
  JsonText j(out);
  if (ends.size() < 2 || !secondThread) {
    writeConnectorRange(j, report, 0, report.records.size(), out, &stream);
    return;
  }
  JsonBuffer second;
  second.reserve(kPinsPerChunk * kBytesAPin);  // a chunk seldom outgrows this
  for (std::size_t c = 0; c < ends.size(); c += 2) {
    const std::size_t begin = c ? ends[c - 1] : 0;
    std::thread helper;
    std::exception_ptr helperFailed;
    if (c + 1 < ends.size()) {
      helper = helperThread([&, from = ends[c], to = ends[c + 1]] {
        try {
          JsonText k(second);
          writeConnectorRange(k, report, from, to, second, nullptr);
        } catch (...) {
          helperFailed = std::current_exception();
        }
      });
    }
    try {
      writeConnectorRange(j, report, begin, ends[c], out, &stream);
    } catch (...) {
      if (helper.joinable()) helper.join();
      throw;
    }
    if (!helper.joinable()) continue;
    helper.join();
    if (helperFailed) std::rethrow_exception(helperFailed);
    stream.write(out.data(), static_cast<std::streamsize>(out.size()));
    out.clear();
    stream.write(second.data(), static_cast<std::streamsize>(second.size()));
    second.clear();
  }
}

void writeDrawing(JsonBuffer& out, std::ostream& stream, const CheckReport& report, bool secondThread) {
  const Json head = {{"path", report.drawing},
                     {"normalised_path", normalisedDrawingPath(report.drawing)},
                     {"fingerprint", textOrNull(report.fingerprint)},
                     {"units", textOrNull(report.units)},
                     {"error", textOrNull(report.error)}};
  JsonText j(out);
  j.raw("{").raw(members(head)).raw(",\"connectors\":[");
  if (report.connectorsAhead) {
    // Handed to the stream as it is, after what is held before it.
    stream.write(out.data(), static_cast<std::streamsize>(out.size()));
    out.clear();
    stream.write(report.connectorsAhead->data(), static_cast<std::streamsize>(report.connectorsAhead->size()));
  } else {
    writeConnectors(out, stream, report, secondThread);
  }
  const CheckReport::Summary s = report.summary();
  const CheckReport::Outcome o = report.outcome();
  // The names, a drawing's connectors by the thousand, are written as they
  // stand rather than made into a JSON value first (a string each, copied
  // again by the value's initializer).
  j.raw("],").key("names").texts(report.names);
  j.raw(",").key("unchecked").texts(report.unchecked);
  const Json counts = {
      {"summary", {{"connectors", s.connectors}, {"pins", s.pins}, {"errors", s.errors}, {"missing", s.missing}}},
      {"outcome",
       {{"failed", o.failing > 0 || !report.error.empty()},
        {"errors", o.errors},
        {"warnings", o.warnings},
        {"waived", o.waived},
        {"unchanged", o.unchanged},
        {"fixed", report.fixedSinceBaseline}}}};
  j.raw(",").raw(members(counts)).raw(",\"findings\":[");
  for (std::size_t i = 0; i < report.findings.size(); ++i) {
    if (i) j.raw(",");
    writeFinding(j, report.findings[i]);
    flushFull(out, stream);
  }
  j.raw("]}");
}

}  // namespace

namespace {

void printQuiet(const CheckRun& run, const std::vector<CheckReport>& reports, std::ostream& out) {
  int failing = 0, notChecked = 0, errors = 0, warnings = 0, unchanged = 0, waived = 0;
  for (const CheckReport& r : reports) {
    if (!r.error.empty()) {
      ++notChecked;
      out << printable(r.drawing) << ": not checked: " << printable(r.error) << "\n";
      continue;
    }
    for (const Finding& f : r.findings) {
      if (f.waived || f.baseline == "unchanged") continue;
      out << printable(r.drawing) << ": " << printable(findingMessage(f, run.attrTag)) << annotation(f) << "\n";
    }
    const CheckReport::Outcome o = r.outcome();
    failing += o.failing;
    errors += o.newErrors;
    warnings += o.newWarnings;
    unchanged += o.unchanged;
    waived += o.waived;
  }
  const bool baseline = !run.baselineFile.empty();
  out << "zrcheck: " << (failing || notChecked ? "failed" : "passed") << ", " << plural(static_cast<int>(reports.size()), "drawing");
  if (notChecked) out << " (" << notChecked << " not checked)";
  out << ", " << errors << (baseline ? " new " : " ") << (errors == 1 ? "error" : "errors") << ", " << warnings
      << (baseline ? " new " : " ") << (warnings == 1 ? "warning" : "warnings");
  if (baseline) out << ", " << unchanged << " in the baseline";
  out << ", " << waived << " waived\n";
}

}  // namespace

void printText(const CheckRun& run, const std::vector<CheckReport>& reports, std::ostream& out, bool quiet) {
  if (quiet) {
    printQuiet(run, reports, out);
    return;
  }
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

void writeConnectorsAhead(CheckReport& report) {
  // Reserved at once, a little over what a connector and its pins take, so
  // that the text is not copied as it grows (nor its outgrown copies kept).
  const CheckReport::Summary kept = report.summary();
  JsonBuffer text;
  text.reserve(static_cast<std::size_t>(kept.pins) * kBytesAPin +
               static_cast<std::size_t>(kept.connectors) * kBytesAConnector);
  JsonText j(text);
  writeConnectorRange(j, report, 0, report.records.size(), text, nullptr);
  report.connectorsAhead = std::move(text);
  report.summaryKept_ = kept;
  report.records = zr::ConectoresPinos{};
}

JsonReport::JsonReport(const CheckRun& run, std::ostream& out, bool secondThread)
    : out_(out), secondThread_(secondThread) {
  Json catalogue = {{"kind", run.catalogueFile.empty() ? "server" : "file"}, {"name", run.catalogue}};
  if (run.catalogueFile.empty()) {
    catalogue["server"] = run.server;
    catalogue["database"] = run.database;
  } else {
    catalogue["file"] = run.catalogueFile;
    catalogue["fingerprint"] = textOrNull(run.catalogueFingerprint);
  }
  Json severities = Json::object();
  for (const std::string& rule : ruleNames()) severities[rule] = severityOf(rule, run.severities);
  const Json head = {{"$schema", kReportSchema},
                     {"tool", "zrcheck"},
                     {"version", toolVersion()},
                     {"date", run.date},
                     {"catalogue", catalogue},
                     {"settings",
                      {{"file", textOrNull(run.settingsFile)},
                       {"program", run.program},
                       {"attr_tag", run.attrTag},
                       {"severities", severities}}},
                     {"baseline", textOrNull(run.baselineFile)}};
  text_.reserve(kFlushAt + (64 << 10));
  text_ += '{' + members(head) + ",\"drawings\":[";
}

void JsonReport::drawing(const CheckReport& report) {
  if (drawings_++) text_ += ',';
  writeDrawing(text_, out_, report, secondThread_);
  flushFull(text_, out_);
}

void JsonReport::finish(const CheckRun& run) {
  Json waivers = Json::array();
  for (const Waiver& v : run.waivers)
    waivers.push_back({{"file", v.file},
                       {"entry", v.entry},
                       {"fingerprint", textOrNull(v.fingerprint)},
                       {"drawing", textOrNull(v.drawing)},
                       {"rule", textOrNull(v.rule)},
                       {"connector", textOrNull(v.connector)},
                       {"identifier", textOrNull(v.identifier)},
                       {"reason", v.reason},
                       {"expires", textOrNull(v.expires)},
                       {"state", waiverState(v, run.today())},
                       {"matched", v.matched}});
  text_ += "],\"waivers\":" + dumped(waivers) + "}\n";
  out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
  text_.clear();
}
