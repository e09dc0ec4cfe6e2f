#pragma once
// What a team has decided about findings, applied to each drawing's check:
// the severities of the rules, the waivers (files named on the command line
// apply to every drawing, the file beside a drawing to that drawing), and a
// baseline report whose findings do not fail the run again.

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "baseline.h"
#include "check_report.h"
#include "findings.h"
#include "waivers.h"

class CheckPolicy {
 public:
  // Reads the waiver files named (in order), the waiver file beside each
  // drawing that has one (waiverFileBeside; none for "-"), and the baseline
  // when one is named. Throws std::runtime_error (WaiverError,
  // BaselineError) naming the file and the place when one cannot be used.
  CheckPolicy(const std::vector<std::string>& drawings, const std::vector<std::string>& waiverFiles,
              const std::optional<std::string>& baselineFile);

  // The levels in force; set once the settings file is known.
  Severities severities;

  // Applies severities (dropping ignored findings), then the waivers of the
  // drawing at `index` of the list given, then the baseline, to its report.
  // today is "YYYY-MM-DD", against which waivers expire.
  void apply(CheckReport& report, std::size_t index, const std::string& today);

  // Every waiver read, with its matches so far.
  const std::vector<Waiver>& waivers() const { return waivers_; }
  // The baseline's file; empty without one.
  std::string baselineFile() const { return baseline_ ? baseline_->file : std::string(); }
  // The baseline's drawings that no drawing checked so far matched.
  std::vector<std::string> unmatchedBaselineDrawings() const {
    return baseline_ ? unmatchedDrawings(*baseline_) : std::vector<std::string>();
  }

 private:
  std::vector<Waiver> waivers_;
  std::vector<std::size_t> shared_;               // waivers of the files named: every drawing
  std::vector<std::vector<std::size_t>> beside_;  // per drawing, the waivers of the file beside it
  std::optional<Baseline> baseline_;
};
