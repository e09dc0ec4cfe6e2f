#pragma once
// Waivers: findings a team has accepted, kept in a JSON file with the reason
// and, if it should not last, the day it ends. A waived finding is reported
// as waived and does not fail the run. The format (README.md, "Waivers"):
//
//   {"waivers": [
//     {"fingerprint": "0c5e...", "reason": "...", "expires": "2027-03-31"},
//     {"drawing": "sheet1.dxf", "rule": "pin.missing", "connector": "X1", "identifier": "4",
//      "reason": "..."}]}
//
// A waiver names a finding by its fingerprint, or by rule and connector
// (identifier and drawing narrow it further). It holds through its expiry
// day; after it, it waives nothing and is reported as expired.

#include <stdexcept>
#include <string>
#include <vector>

#include "findings.h"

struct Waiver {
  std::string file;    // the waiver file it was read from
  std::string folder;  // its folder, resolved: a relative "drawing" is read against it too
  int entry = 0;     // its place in the file's list, from 1
  std::string fingerprint;
  // The drawing: its path (relative to the working folder or to the waiver
  // file's folder, or absolute; spelt any way) or its file name alone;
  // empty: any drawing.
  std::string drawing;
  std::string rule, connector, identifier;  // empty: any
  std::string reason;
  std::string expires;  // "YYYY-MM-DD"; empty when it never expires
  int matched = 0;      // findings it matched in this run (expired ones included)
};

// A waiver file that cannot be used; what() names the file and the place:
// "FILE:LINE:COLUMN: ..." for JSON syntax, "FILE: waiver N: ..." for an entry.
struct WaiverError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Reads a waiver file. Throws WaiverError when it cannot be read, is not
// JSON, or an entry is not a waiver: an unknown key (a misspelt "expires"
// would waive for ever), no reason, neither fingerprint nor rule and
// connector, an unknown rule, a date that is not YYYY-MM-DD.
std::vector<Waiver> readWaiverFile(const std::string& path);

// The waiver file looked for beside a drawing: "sheet1.dxf.waivers.json".
std::string waiverFileBeside(const std::string& drawing);

// True when the waiver's expiry day is before today ("YYYY-MM-DD").
bool expired(const Waiver& waiver, const std::string& today);

// Marks the findings of one drawing that a waiver accepts, the first
// unexpired waiver in the order given; counts every match in Waiver::matched.
// drawing is the path as given on the command line.
void applyWaivers(Findings& findings, const std::string& drawing, const std::vector<Waiver*>& waivers,
                  const std::string& today);

// How a waiver fared: "expired", "unmatched" (it accepted nothing) or "used".
std::string waiverState(const Waiver& waiver, const std::string& today);
