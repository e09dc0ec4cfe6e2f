#include "sarif_report.h"

#include <nlohmann/json.hpp>

#include <cstdio>

#include "command_line.h"

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

// SARIF's levels; an ignored rule is "none" (and its results are dropped).
std::string levelOf(const std::string& severity) {
  return severity == "ignore" ? "none" : severity;
}

Json ruleDescriptors(const CheckRun& run) {
  Json rules = Json::array();
  for (const std::string& rule : ruleNames()) {
    const std::string level = severityOf(rule, run.severities);
    rules.push_back({{"id", rule},
                     {"shortDescription", {{"text", ruleDescription(rule)}}},
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

Json resultOf(const CheckRun& run, const Finding& f, const std::string& uri, std::size_t artifact) {
  Json physical = {{"artifactLocation", {{"uri", uri}, {"index", artifact}}}};
  Json logical = Json::array();
  logical.push_back({{"name", f.connector}, {"kind", "object"}});
  if (f.rule != "connector.unchecked")
    logical.push_back({{"name", f.identifier}, {"fullyQualifiedName", f.connector + "/" + f.identifier},
                       {"kind", "member"}});
  Json location = {{"physicalLocation", physical}, {"logicalLocations", logical}};
  // Model-space coordinates: a pin without a symbol has no place of its own.
  Json where = Json::object();
  if (!f.handle.empty()) where["handle"] = f.handle;
  if (f.x && f.y) {
    where["x"] = *f.x;
    where["y"] = *f.y;
  }
  if (!where.empty()) location["properties"] = where;

  Json result = {{"ruleId", f.rule},
                 {"ruleIndex", ruleIndex(f.rule)},
                 {"level", levelOf(f.severity)},
                 {"message", {{"text", findingMessage(f, run.attrTag)}}},
                 {"locations", Json::array({location})},
                 {"partialFingerprints", {{"zrcheck/v1", f.fingerprint}}}};
  if (f.waived) {
    Json suppression = {{"kind", "external"}, {"status", "accepted"}, {"justification", f.waived->reason}};
    suppression["location"] = {{"physicalLocation", {{"artifactLocation", {{"uri", artifactUri(f.waived->file)}}}}}};
    suppression["properties"] = {{"entry", f.waived->entry}};
    if (!f.waived->expires.empty()) suppression["properties"]["expires"] = f.waived->expires;
    result["suppressions"] = Json::array({suppression});
  }
  if (!f.baseline.empty()) result["baselineState"] = f.baseline;
  Json properties = {{"connector", f.connector}, {"code", f.code}, {"identifier", f.identifier}, {"pin", f.pin}};
  if (f.related)
    properties["related"] = {{"connector", f.related->connector}, {"handle", f.related->handle},
                             {"identifier", f.related->identifier}};
  result["properties"] = properties;
  return result;
}

}  // namespace

void printSarif(const CheckRun& run, const std::vector<CheckReport>& reports, std::ostream& out) {
  Json artifacts = Json::array(), results = Json::array(), notifications = Json::array();
  bool succeeded = true;
  for (std::size_t i = 0; i < reports.size(); ++i) {
    const CheckReport& report = reports[i];
    const std::string uri = artifactUri(report.drawing);
    Json artifact = {{"location", {{"uri", uri}}}, {"roles", Json::array({"analysisTarget"})}};
    if (report.fingerprint.rfind("sha256:", 0) == 0) artifact["hashes"] = {{"sha-256", report.fingerprint.substr(7)}};
    artifacts.push_back(artifact);
    if (!report.error.empty()) {
      succeeded = false;
      Json place = {{"physicalLocation", {{"artifactLocation", {{"uri", uri}, {"index", i}}}}}};
      notifications.push_back(
          {{"level", "error"}, {"message", {{"text", report.error}}}, {"locations", Json::array({place})}});
      continue;
    }
    for (const Finding& f : report.findings) results.push_back(resultOf(run, f, uri, i));
  }
  Json invocation = {{"executionSuccessful", succeeded}, {"startTimeUtc", run.date}};
  if (!notifications.empty()) invocation["toolExecutionNotifications"] = notifications;
  Json catalogue = {{"name", run.catalogue}};
  if (!run.catalogueFile.empty()) catalogue["fingerprint"] = run.catalogueFingerprint;
  Json properties = {{"catalogue", catalogue}, {"attr_tag", run.attrTag}};
  if (!run.settingsFile.empty()) properties["settings"] = run.settingsFile;
  Json driver = {{"name", "zrcheck"}, {"version", toolVersion()}, {"rules", ruleDescriptors(run)}};
  Json sarifRun = {{"tool", {{"driver", driver}}},
                   {"invocations", Json::array({invocation})},
                   {"artifacts", artifacts},
                   {"results", results},
                   {"properties", properties}};
  Json log = {{"$schema", kSarifSchema}, {"version", "2.1.0"}, {"runs", Json::array({sarifRun})}};
  // Texts from the command line need not be UTF-8: replaced, not refused.
  out << log.dump(1, ' ', false, Json::error_handler_t::replace) << "\n";
}
