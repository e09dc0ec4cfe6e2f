#pragma once
// The check as a SARIF 2.1.0 log, for code-scanning views: one run of the
// tool "zrcheck" whose driver lists the rules (descriptions, help, the level
// in force), one artifact per drawing, and one result per finding.
//
// Places: a result's physical location is its drawing, the URI relative to
// the base folder (--base, else the working folder; uriBaseId "SRCROOT",
// given in originalUriBaseIds) or a file: URI for a drawing outside it, and
// standard input "stdin"; its region is the line of the symbol's INSERT in
// the DXF file (column 1): for a missing pin, which has no symbol, the first
// symbol of its connector; for a connector with no symbol read, line 1. The
// connector and pin are logical locations, the handle and position in model
// units properties.
//
// The partial fingerprint "zrcheck/v2" is made of the drawing's normalised
// path and the finding's own fingerprint, so the same problem in two sheets
// is two alerts; the finding's own fingerprint (the one waivers name) is the
// result's property "fingerprint". A waived finding carries an accepted
// external suppression with the waiver's reason; with a baseline each result
// has its baselineState ("new" or "unchanged").

#include <ostream>
#include <vector>

#include "check_report.h"

// The version and schema the log declares.
extern const char* const kSarifSchema;

// Writes the log as one JSON document. A drawing that could not be checked
// is an error notification of the invocation, which then did not succeed.
void printSarif(const CheckRun& run, const std::vector<CheckReport>& reports, std::ostream& out);

// A path as a URI reference: a relative path stays relative
// (percent-encoded), an absolute path becomes a file: URI.
std::string artifactUri(const std::string& path);
