#pragma once
// A baseline: an earlier zrcheck JSON report whose findings a team has
// accepted for now. Against it only new findings fail the run; the others are
// reported as unchanged. Findings are compared by fingerprint within the
// drawing of the same path (as given on the command line), since two sheets
// may hold connectors of the same name with the same problem.

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "findings.h"

struct Baseline {
  std::string file;  // the report read
  // Fingerprints of each drawing's findings, by the drawing's path.
  std::map<std::string, std::set<std::string>> fingerprints;
};

// A baseline that cannot be used; what() names the file and the place
// ("FILE:LINE:COLUMN: ..." for JSON syntax).
struct BaselineError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Reads a zrcheck JSON report as a baseline. Throws BaselineError when it
// cannot be read, is not JSON, or is not a zrcheck report (no "tool":
// "zrcheck", no list of drawings with their paths and findings'
// fingerprints).
Baseline readBaseline(const std::string& path);

// Sets Finding::baseline of one drawing's findings to "unchanged" when the
// baseline holds the fingerprint for that drawing, else "new". Returns the
// number of the baseline's fingerprints for the drawing that no finding has
// any more (fixed since).
int applyBaseline(std::vector<Finding>& findings, const std::string& drawing, const Baseline& baseline);
