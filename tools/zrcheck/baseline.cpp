#include "baseline.h"

#include "json_file.h"

using nlohmann::json;

Baseline readBaseline(const std::string& path) {
  json document;
  try {
    document = readJsonFile(path, "baseline");
  } catch (const std::runtime_error& e) {
    throw BaselineError(e.what());
  }
  const std::string notReport = path + ": not a zrcheck JSON report (zrcheck --format json)";
  if (!document.is_object() || document.value("tool", json()) != "zrcheck" || !document.contains("drawings") ||
      !document["drawings"].is_array())
    throw BaselineError(notReport);
  Baseline baseline;
  baseline.file = path;
  int number = 0;
  for (const json& drawing : document["drawings"]) {
    const std::string where = path + ": drawing " + std::to_string(++number);
    if (!drawing.is_object() || !drawing.contains("path") || !drawing["path"].is_string() ||
        !drawing.contains("findings") || !drawing["findings"].is_array())
      throw BaselineError(where + ": no path or no list of findings");
    auto& set = baseline.fingerprints[drawing["path"].get<std::string>()];
    for (const json& finding : drawing["findings"]) {
      if (!finding.is_object() || !finding.contains("fingerprint") || !finding["fingerprint"].is_string())
        throw BaselineError(where + ": a finding without a fingerprint");
      set.insert(finding["fingerprint"].get<std::string>());
    }
  }
  return baseline;
}

int applyBaseline(std::vector<Finding>& findings, const std::string& drawing, const Baseline& baseline) {
  static const std::set<std::string> none;
  auto it = baseline.fingerprints.find(drawing);
  const std::set<std::string>& known = it == baseline.fingerprints.end() ? none : it->second;
  std::set<std::string> seen;
  for (Finding& f : findings) {
    f.baseline = known.count(f.fingerprint) ? "unchanged" : "new";
    seen.insert(f.fingerprint);
  }
  int fixed = 0;
  for (const std::string& fingerprint : known) fixed += seen.count(fingerprint) ? 0 : 1;
  return fixed;
}
