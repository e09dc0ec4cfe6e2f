#pragma once
// The result of checking one drawing, as zrcheck prints it: the connector
// records of the pin check, the connector names placed in model space, and the
// four counts of the connectors screen.

#include <optional>
#include <ostream>
#include <set>
#include <unordered_map>
#include <string>
#include <vector>

#include "drawing/CEPino.h"
#include "findings.h"
#include "waivers.h"
#include "zrdwg/LargeArray.h"

// Text of a JSON report on its way to its stream: a large array, whose
// megabytes are filled in huge pages rather than faulted in 4 KB at a time.
using JsonBuffer = std::basic_string<char, std::char_traits<char>, LargeArrayAllocator<char>>;

struct CheckReport {
  std::string drawing;  // as given on the command line ("-" for standard input)
  std::string fingerprint;  // "sha256:HEX" of the drawing's bytes; empty when not read
  std::string units;        // $INSUNITS as a name ("millimeters"); empty when not read
  // Why the drawing could not be checked; empty when it was checked.
  std::string error;
  zr::ConectoresPinos records;
  std::vector<std::string> names;
  // Names placed in model space that no connector record of the check has:
  // their pin symbols were not read as pins (another pin attribute tag, say),
  // so nothing about them was checked.
  std::vector<std::string> unchecked;
  // Codes of the records that the catalogue does not know (no pin rows).
  std::set<std::string> unknownCodes;
  // The findings, severities applied (see findings.h); empty when not checked.
  Findings findings;
  // The line of each symbol's INSERT in the DXF text, by handle (see
  // insert_lines.h); filled for the formats that point at lines.
  std::unordered_map<std::string, std::size_t> insertLines;
  // Seconds the drawing took to check (its reading, done on every core at
  // once, left out).
  double seconds = 0;
  // With a baseline: how many of its findings for this drawing are gone.
  int fixedSinceBaseline = 0;
  // The connectors of the JSON report's drawing object, written ahead by
  // writeConnectorsAhead, which lets the records go; JsonReport copies them
  // rather than write them. (Optional, so that a report assigned an empty
  // one gives its text back: a string assigned an empty string keeps its
  // buffer.)
  std::optional<JsonBuffer> connectorsAhead;

  struct Summary {
    int connectors = 0;  // connector records
    int pins = 0;        // pins of all records
    int errors = 0;      // records in state 1 or 2, plus pins with status 2 or 3
    int missing = 0;     // pins with status 1
  };
  // From the records, or as they were when writeConnectorsAhead let them go.
  Summary summary() const;

  // The findings by what they do to the run.
  struct Outcome {
    int errors = 0;     // severity error, waived ones left out
    int warnings = 0;   // severity warning, waived ones left out
    int waived = 0;     // accepted by a waiver, whatever the severity
    int unchanged = 0;  // in the baseline (of the errors and warnings)
    int newErrors = 0, newWarnings = 0;  // of the errors and warnings, those not in the baseline
    int failing = 0;    // those that fail the run (Finding::fails)
  };
  Outcome outcome() const;
  // True when no finding fails the run.
  bool clean() const;
  // Fills `unchecked` from `names` and `records`.
  void findUnchecked();

 private:
  friend void writeConnectorsAhead(CheckReport& report);
  std::optional<Summary> summaryKept_;  // the records' summary once they are gone
};

// What the whole run used, printed ahead of the drawings.
struct CheckRun {
  std::string catalogue;     // the catalogue file or server database, for people
  std::string catalogueFile;         // the file catalogue; empty for a server
  std::string catalogueFingerprint;  // "sha256:HEX" of the catalogue file
  std::string server, database;      // the catalogue server and its database
  std::string settingsFile;  // empty when --catalogue named the file
  std::string program;
  std::string attrTag;       // the pin identifier attribute looked for
  std::string date;          // when the run started, ISO 8601 in UTC
  Severities severities;     // the levels given, from the settings file and the command line
  std::vector<Waiver> waivers;  // every waiver read, with its matches
  std::string baselineFile;  // the --baseline report; empty without one
  std::string uriBase;       // --base: the folder SARIF URIs are relative to; empty: the working folder

  // The day of `date` ("2026-12-07"), against which waivers expire.
  std::string today() const { return date.substr(0, 10); }
};

// The symbol a finding points at: its own handle, else the first placed
// symbol of its connector ("" when the connector has none).
std::string findingSymbol(const CheckReport& report, const Finding& f);

// The DXF line of that symbol's INSERT, or 0 when it is not known.
std::size_t findingLine(const CheckReport& report, const Finding& f);

// The name of a $INSUNITS value ("unitless", "inches", "millimeters", ...);
// "unknown" for a value outside the table.
std::string unitsName(int insunits);

// The "$schema" of the JSON report: the "$id" of report-schema.json.
extern const char* const kReportSchema;

// For people: the catalogue and settings used, then per drawing each
// connector with its state ("ok" only without findings) and each finding
// (with what a pin touches, its severity, waiver or baseline state), the
// connectors placed but not checked, the counts, and a line naming the
// drawing with its errors, warnings and waived findings and the catalogue; a
// drawing that could not be checked with the reason. Expired and unmatched
// waivers last. With a baseline the drawing's line counts the new errors and
// warnings apart from those in the baseline.
// quiet: only the findings that are neither waived nor in the baseline, one
// a line after their drawing's path, the drawings not checked, and one line
// summing up the run.
void printText(const CheckRun& run, const std::vector<CheckReport>& reports, std::ostream& out, bool quiet = false);
// Writes report's connectors as the JSON report has them into
// report.connectorsAhead, then lets the records go, their summary kept: on
// the thread that checked the drawing (and made the records), while the
// drawings before it are written. The connectors depend on the check alone
// (the waivers and the baseline change only the findings). The text, some
// 100 bytes a pin, is held until the report is written, in place of the
// records. For the JSON report alone: the other formats, and the findings'
// symbols, read the records.
void writeConnectorsAhead(CheckReport& report);

// One JSON document in the format of report-schema.json, whatever the number
// of drawings, written as a run goes: the head when made, each
// drawing as soon as it is judged (its report may then go), and last the
// waivers, how each fared being known only when every drawing is checked.
// The text is handed to out about every megabyte, never held whole.
class JsonReport {
 public:
  // Writes the head of run (the waivers are left for finish). secondThread:
  // a large drawing's connectors may be written on two threads, half each.
  JsonReport(const CheckRun& run, std::ostream& out, bool secondThread);
  // The next drawing's object.
  void drawing(const CheckReport& report);
  // run's waivers, and the document's end. Call once, after every drawing.
  void finish(const CheckRun& run);

 private:
  std::ostream& out_;
  const bool secondThread_;
  JsonBuffer text_;
  std::size_t drawings_ = 0;
};

// Text from a drawing or the catalogue made safe for a terminal: control
// characters (C0, DEL, C1), which could move the cursor or change colours,
// are written as \xNN or \u00NN escapes; everything else is kept.
std::string printable(const std::string& utf8);
// A message of several lines (a server's error, say) for standard error: as
// printable, except that each line break is kept and the lines after the
// first are indented under it.
std::string printableLines(const std::string& utf8);
