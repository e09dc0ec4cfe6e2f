#pragma once
// The check as a SARIF 2.1.0 log, for code-scanning views: one run of the
// tool "zrcheck" whose driver lists the rules with the levels in force, one
// artifact per drawing, and one result per finding. A drawing has no lines,
// so a result's place is its drawing (physical location) and its connector
// and pin (logical locations), the position in model units as properties.
// Our fingerprint is the partial fingerprint "zrcheck/v1"; a waived finding
// carries an accepted external suppression with the waiver's reason; with a
// baseline each result has its baselineState ("new" or "unchanged").

#include <ostream>
#include <vector>

#include "check_report.h"

// The version and schema the log declares.
extern const char* const kSarifSchema;

// Writes the log as one JSON document. A drawing that could not be checked
// is an error notification of the invocation, which then did not succeed.
void printSarif(const CheckRun& run, const std::vector<CheckReport>& reports, std::ostream& out);

// A drawing's path as a URI reference: "-" and relative paths stay relative
// (percent-encoded), an absolute path becomes a file: URI.
std::string artifactUri(const std::string& path);
