#pragma once
// A baseline: an earlier zrcheck JSON report whose findings a team has
// accepted for now. Against it only new findings fail the run; the others are
// reported as unchanged. Findings are compared by fingerprint within the
// same drawing, since two sheets may hold connectors of the same name with
// the same problem. A drawing of the run is the baseline's drawing whose path
// names the same file, however it is spelt ("./x.dxf", "x.dxf", the absolute
// path; a relative path read against the working folder, then against the
// baseline's folder), or else the one with the same content (the drawing's
// SHA-256): a drawing moved unchanged keeps its baseline.

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "findings.h"

struct Baseline {
  std::string file;    // the report read
  std::string folder;  // its folder, resolved
  struct Drawing {
    std::string path;         // as the report gives it
    std::string normalised;   // its "normalised_path"; empty in reports without one
    std::string fingerprint;  // "sha256:HEX" of the drawing's bytes; empty when unknown
    std::set<std::string> findings;  // the findings' fingerprints
    bool matched = false;            // a drawing of this run was compared with it
  };
  std::vector<Drawing> drawings;  // in the report's order
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
// baseline holds the fingerprint for that drawing, else "new". drawing is
// the path as given, fingerprint the drawing's "sha256:HEX" (empty when
// unknown). Marks the baseline's drawing matched. Returns the number of the
// baseline's fingerprints for the drawing that no finding has any more
// (fixed since).
int applyBaseline(Findings& findings, const std::string& drawing, const std::string& fingerprint,
                  Baseline& baseline);

// The baseline's drawings that no drawing of the run matched, for a warning.
std::vector<std::string> unmatchedDrawings(const Baseline& baseline);
