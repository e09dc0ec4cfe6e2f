#include "check_policy.h"

#include <filesystem>

#include "drawing_path.h"

namespace fs = std::filesystem;

CheckPolicy::CheckPolicy(const std::vector<std::string>& drawings, const std::vector<std::string>& waiverFiles,
                         const std::optional<std::string>& baselineFile)
    : beside_(drawings.size()) {
  for (const std::string& file : waiverFiles) {
    for (Waiver& w : readWaiverFile(file)) {
      shared_.push_back(waivers_.size());
      waivers_.push_back(std::move(w));
    }
  }
  for (std::size_t i = 0; i < drawings.size(); ++i) {
    if (drawings[i] == "-") continue;
    const std::string file = waiverFileBeside(drawings[i]);
    std::error_code ec;
    if (!fs::exists(file, ec)) continue;
    // The same drawing given twice reads its waivers once.
    bool seen = false;
    for (std::size_t j = 0; j < i && !seen; ++j)
      if (resolvedDrawingPath(drawings[j]) == resolvedDrawingPath(drawings[i])) {
        beside_[i] = beside_[j];
        seen = true;
      }
    if (seen) continue;
    for (Waiver& w : readWaiverFile(file)) {
      beside_[i].push_back(waivers_.size());
      waivers_.push_back(std::move(w));
    }
  }
  if (baselineFile) baseline_ = readBaseline(*baselineFile);
}

void CheckPolicy::apply(CheckReport& report, std::size_t index, const std::string& today) {
  applySeverities(report.findings, severities);
  std::vector<Waiver*> waivers;
  for (std::size_t w : beside_[index]) waivers.push_back(&waivers_[w]);
  for (std::size_t w : shared_) waivers.push_back(&waivers_[w]);
  applyWaivers(report.findings, report.drawing, waivers, today);
  if (baseline_)
    report.fixedSinceBaseline = applyBaseline(report.findings, report.drawing, report.fingerprint, *baseline_);
}
