#include "baseline.h"

#include "drawing_path.h"
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
  baseline.folder = folderOf(path);
  int number = 0;
  for (const json& drawing : document["drawings"]) {
    const std::string where = path + ": drawing " + std::to_string(++number);
    if (!drawing.is_object() || !drawing.contains("path") || !drawing["path"].is_string() ||
        !drawing.contains("findings") || !drawing["findings"].is_array())
      throw BaselineError(where + ": no path or no list of findings");
    Baseline::Drawing entry;
    entry.path = drawing["path"].get<std::string>();
    if (drawing.contains("normalised_path") && drawing["normalised_path"].is_string())
      entry.normalised = drawing["normalised_path"].get<std::string>();
    if (drawing.contains("fingerprint") && drawing["fingerprint"].is_string())
      entry.fingerprint = drawing["fingerprint"].get<std::string>();
    for (const json& finding : drawing["findings"]) {
      if (!finding.is_object() || !finding.contains("fingerprint") || !finding["fingerprint"].is_string())
        throw BaselineError(where + ": a finding without a fingerprint");
      entry.findings.insert(finding["fingerprint"].get<std::string>());
    }
    baseline.drawings.push_back(std::move(entry));
  }
  return baseline;
}

namespace {

// The baseline's drawing for a drawing of the run: by path, else by content.
Baseline::Drawing* drawingFor(Baseline& baseline, const std::string& drawing, const std::string& fingerprint) {
  const std::string resolved = resolvedDrawingPath(drawing);
  for (Baseline::Drawing& d : baseline.drawings)
    if (namesDrawing(d.path, baseline.folder, resolved) ||
        (!d.normalised.empty() && namesDrawing(d.normalised, baseline.folder, resolved)))
      return &d;
  if (fingerprint.empty()) return nullptr;
  for (Baseline::Drawing& d : baseline.drawings)
    if (d.fingerprint == fingerprint) return &d;
  return nullptr;
}

}  // namespace

int applyBaseline(Findings& findings, const std::string& drawing, const std::string& fingerprint,
                  Baseline& baseline) {
  static const std::set<std::string> none;
  Baseline::Drawing* entry = drawingFor(baseline, drawing, fingerprint);
  if (entry) entry->matched = true;
  const std::set<std::string>& known = entry ? entry->findings : none;
  std::set<std::string> seen;
  for (Finding& f : findings) {
    f.baseline = known.count(f.fingerprint) ? "unchanged" : "new";
    seen.insert(f.fingerprint);
  }
  int fixed = 0;
  for (const std::string& fingerprint : known) fixed += seen.count(fingerprint) ? 0 : 1;
  return fixed;
}

std::vector<std::string> unmatchedDrawings(const Baseline& baseline) {
  std::vector<std::string> out;
  for (const Baseline::Drawing& d : baseline.drawings)
    if (!d.matched) out.push_back(d.path);
  return out;
}
