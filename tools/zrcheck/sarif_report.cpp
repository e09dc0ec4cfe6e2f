#include "sarif_report.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>

#include "tool_version.h"
#include "drawing_path.h"

using Json = nlohmann::ordered_json;

const char* const kSarifSchema = "https://docs.oasis-open.org/sarif/sarif/v2.1.0/errata01/os/schemas/sarif-schema-2.1.0.json";

std::string artifactUri(const std::string& path) {
  // Unreserved characters and "/" stay; everything else is percent-encoded
  // byte by byte (UTF-8), as RFC 3986 asks of a path.
  std::string out = path.size() && path[0] == '/' ? "file://" : "";
  char escape[4];
  for (unsigned char c : path) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
        c == '_' || c == '~' || c == '/') {
      out += static_cast<char>(c);
    } else {
      std::snprintf(escape, sizeof escape, "%%%02X", c);
      out += escape;
    }
  }
  return out;
}

namespace {

constexpr const char* kBaseId = "SRCROOT";

// SARIF's levels; an ignored rule is "none" (and its results are dropped).
std::string levelOf(const std::string& severity) {
  return severity == "ignore" ? "none" : severity;
}

// What to do about each rule's findings, for the rule's help.
std::string ruleHelp(const std::string& rule) {
  if (rule == "pin.missing")
    return "Draw the missing pin's symbol for the connector, or waive the finding when the pin is left out on "
           "purpose.";
  if (rule == "pin.unknown")
    return "Correct the symbol's pin identifier attribute, or add the pin to the catalogue's BDPINOS rows of the "
           "connector's code.";
  if (rule == "pin.invalid-mate")
    return "Move one of the two symbols, or add the pair of connector codes to the catalogue's BDCONTRAPECAS.";
  if (rule == "pin.self-mate") return "Move one of the two symbols: a connector may not connect to itself.";
  if (rule == "connector.unchecked")
    return "Give the connector's pin symbols the pin identifier attribute (--attr-tag) and the ZR_PINO extended "
           "data with name, code and flag.";
  if (rule == "connector.unknown-code")
    return "Correct the code in the symbols' ZR_PINO extended data, or add the code's pins to the catalogue.";
  return {};
}

// The installed guide of zrcheck, beside the programs: PREFIX/share/doc.
std::string documentationUri() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  const std::filesystem::path prefix = ec ? std::filesystem::path("/usr") : exe.parent_path().parent_path();
  return artifactUri((prefix / "share/doc/zrconector/zrcheck.md").lexically_normal().generic_string());
}

// "pin.missing" as a fragment of the guide's rule table: "#pinmissing".
std::string anchorOf(const std::string& rule) {
  std::string out = "#";
  for (char c : rule)
    if (c != '.') out += c;
  return out;
}

Json ruleDescriptors(const CheckRun& run, const std::string& documentation) {
  Json rules = Json::array();
  for (const std::string& rule : ruleNames()) {
    const std::string level = severityOf(rule, run.severities);
    const std::string description = ruleDescription(rule), help = ruleHelp(rule);
    rules.push_back({{"id", rule},
                     {"name", rule},
                     {"shortDescription", {{"text", description}}},
                     {"fullDescription", {{"text", description + " " + help}}},
                     {"help", {{"text", help}, {"markdown", "**" + rule + "**: " + description + "\n\n" + help}}},
                     {"helpUri", documentation + anchorOf(rule)},
                     {"defaultConfiguration", {{"enabled", level != "ignore"}, {"level", levelOf(level)}}}});
  }
  return rules;
}

std::size_t ruleIndex(const std::string& rule) {
  const auto& rules = ruleNames();
  for (std::size_t i = 0; i < rules.size(); ++i)
    if (rules[i] == rule) return i;
  return 0;
}

// The drawing's place in the log: relative to the base with its base id, or
// a file: URI.
Json artifactLocation(const std::string& drawing, const std::string& base) {
  const std::string path = normalisedDrawingPath(drawing, base);
  if (drawing == "-") return {{"uri", path}};
  if (!path.empty() && path[0] == '/') return {{"uri", artifactUri(path)}};
  return {{"uri", artifactUri(path)}, {"uriBaseId", kBaseId}};
}

// The DXF line a finding points at (see the header).
std::size_t lineOf(const CheckReport& report, const Finding& f) {
  const std::size_t line = findingLine(report, f);
  return line ? line : 1;
}

Json resultOf(const CheckRun& run, const CheckReport& report, const Finding& f, const Json& artifact,
              std::size_t index) {
  Json where = artifact;
  where["index"] = index;
  Json physical = {{"artifactLocation", where}, {"region", {{"startLine", lineOf(report, f)}, {"startColumn", 1}}}};
  Json logical = Json::array();
  logical.push_back({{"name", f.connector}, {"kind", "object"}});
  if (!f.identifier.empty() || (f.rule != "connector.unchecked" && f.rule != "connector.unknown-code"))
    logical.push_back({{"name", f.identifier}, {"fullyQualifiedName", f.connector + "/" + f.identifier},
                       {"kind", "member"}});
  Json location = {{"physicalLocation", physical}, {"logicalLocations", logical}};
  // Model-space coordinates: a pin without a symbol has no place of its own.
  Json place = Json::object();
  if (!f.handle.empty()) place["handle"] = f.handle;
  if (f.x && f.y) {
    place["x"] = *f.x;
    place["y"] = *f.y;
  }
  if (!place.empty()) location["properties"] = place;

  const std::string drawingKey = normalisedDrawingPath(report.drawing, run.uriBase);
  Json result = {{"ruleId", f.rule},
                 {"ruleIndex", ruleIndex(f.rule)},
                 {"level", levelOf(f.severity)},
                 {"message", {{"text", findingMessage(f, run.attrTag)}}},
                 {"locations", Json::array({location})},
                 {"partialFingerprints",
                  {{"zrcheck/v2", sha256Hex(drawingKey + '\x1f' + f.fingerprint).substr(0, 32)}}}};
  if (f.waived) {
    Json suppression = {{"kind", "external"}, {"status", "accepted"}, {"justification", f.waived->reason}};
    suppression["location"] = {{"physicalLocation", {{"artifactLocation", artifactLocation(f.waived->file, run.uriBase)}}}};
    suppression["properties"] = {{"entry", f.waived->entry}};
    if (!f.waived->expires.empty()) suppression["properties"]["expires"] = f.waived->expires;
    result["suppressions"] = Json::array({suppression});
  }
  if (!f.baseline.empty()) result["baselineState"] = f.baseline;
  Json properties = {{"fingerprint", f.fingerprint},
                     {"connector", f.connector},
                     {"code", f.code},
                     {"identifier", f.identifier},
                     {"pin", f.pin}};
  if (f.related)
    properties["related"] = {{"connector", f.related->connector}, {"handle", f.related->handle},
                             {"identifier", f.related->identifier}};
  if (!f.symbols.empty()) properties["symbols"] = f.symbols;
  result["properties"] = properties;
  return result;
}

}  // namespace

void printSarif(const CheckRun& run, const std::vector<CheckReport>& reports, std::ostream& out) {
  Json artifacts = Json::array(), results = Json::array(), notifications = Json::array();
  bool succeeded = true;
  for (std::size_t i = 0; i < reports.size(); ++i) {
    const CheckReport& report = reports[i];
    const Json location = artifactLocation(report.drawing, run.uriBase);
    Json artifact = {{"location", location}, {"roles", Json::array({"analysisTarget"})}};
    if (report.fingerprint.rfind("sha256:", 0) == 0) artifact["hashes"] = {{"sha-256", report.fingerprint.substr(7)}};
    artifacts.push_back(artifact);
    if (!report.error.empty()) {
      succeeded = false;
      Json where = location;
      where["index"] = i;
      Json place = {{"physicalLocation", {{"artifactLocation", where}}}};
      notifications.push_back(
          {{"level", "error"}, {"message", {{"text", report.error}}}, {"locations", Json::array({place})}});
      continue;
    }
    for (const Finding& f : report.findings) results.push_back(resultOf(run, report, f, location, i));
  }
  Json invocation = {{"executionSuccessful", succeeded}, {"startTimeUtc", run.date}};
  if (!notifications.empty()) invocation["toolExecutionNotifications"] = notifications;
  Json catalogue = {{"name", run.catalogue}};
  if (!run.catalogueFile.empty()) catalogue["fingerprint"] = run.catalogueFingerprint;
  Json properties = {{"catalogue", catalogue}, {"attr_tag", run.attrTag}};
  if (!run.settingsFile.empty()) properties["settings"] = run.settingsFile;
  const std::string documentation = documentationUri();
  Json driver = {{"name", "zrcheck"},
                 {"version", toolVersion()},
                 {"semanticVersion", toolVersion()},
                 {"informationUri", documentation},
                 {"rules", ruleDescriptors(run, documentation)}};
  // The folder relative URIs are read against, as a file: URI ending in "/".
  std::string base = resolvedDrawingPath(run.uriBase.empty() ? "." : run.uriBase);
  if (base.empty() || base.back() != '/') base += '/';
  Json sarifRun = {{"tool", {{"driver", driver}}},
                   {"invocations", Json::array({invocation})},
                   {"originalUriBaseIds", {{kBaseId, {{"uri", artifactUri(base)}}}}},
                   {"artifacts", artifacts},
                   {"results", results},
                   {"properties", properties}};
  Json log = {{"$schema", kSarifSchema}, {"version", "2.1.0"}, {"runs", Json::array({sarifRun})}};
  // Texts from the command line need not be UTF-8: replaced, not refused.
  out << log.dump(1, ' ', false, Json::error_handler_t::replace) << "\n";
}
