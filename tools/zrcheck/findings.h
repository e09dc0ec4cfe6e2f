#pragma once
// The findings of a pin check: one per problem, each with a stable rule name,
// so that a pipeline can count, waive and compare them between runs.
//
//   pin.missing         a catalogue pin of the code that no symbol carries
//   pin.unknown         a symbol whose identifier the catalogue does not know
//   pin.invalid-mate    a pin touching a pin of another connector it may not mate with
//   pin.self-mate       a pin touching another pin of its own connector
//   connector.unchecked a connector placed in model space whose symbols were not read as pins
//   connector.unknown-code a connector whose code the catalogue does not know (one finding
//                       for the connector, instead of pin.unknown for each of its symbols)

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "zrdwg/LargeArray.h"

struct Finding {
  std::string rule;
  std::string severity = "error";
  std::string connector, code;
  std::string identifier;  // the pin identifier (the catalogue's PINO_ID for a missing pin)
  std::string pin;         // the catalogue's pin code (PINO_PINO); empty when none matched
  std::string handle;      // the symbol's handle; empty for a missing pin, which has no symbol
  std::optional<double> x, y;  // the symbol's position; none for a missing pin or a non-finite one
  struct Related {
    std::string connector, handle, identifier;
  };
  std::optional<Related> related;  // the pin touched, for the mate rules
  // connector.unknown-code: the handles of the connector's symbols (handle,
  // x and y are those of the first).
  std::vector<std::string> symbols;
  // Hex digest of the rule, connector, code, identifier, pin and related
  // connector and identifier: the same while those stay, whatever else of the
  // drawing changes (handles and positions are left out on purpose).
  std::string fingerprint;

  // Where the finding comes from in the check: the connector record and the
  // pin within it (none for connector.unchecked, which has no record).
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::size_t record = kNone, pinIndex = kNone;

  // The waiver that accepts the finding (see waivers.h); none when not waived.
  struct Waived {
    std::string file;     // the waiver file
    int entry = 0;        // the waiver's place in its file's list, from 1
    std::string reason;
    std::string expires;  // "YYYY-MM-DD"; empty when it never expires
  };
  std::optional<Waived> waived;
  // Against a --baseline report: "new" or "unchanged"; empty without one.
  std::string baseline;

  // True when the finding fails the run: severity error, not waived, and not
  // already in the baseline.
  bool fails() const { return severity == "error" && !waived && baseline != "unchanged"; }
};

// The findings of one drawing. A large drawing has tens of thousands (each
// some 600 bytes): as a large array, they are mapped in huge pages.
using Findings = LargeArray<Finding>;

// The rule names, in the order of the table above.
const std::vector<std::string>& ruleNames();
// One sentence saying what a rule finds ("A catalogue pin of the connector's
// code that no symbol carries."); empty for an unknown rule.
std::string ruleDescription(const std::string& rule);
// The finding for people, on one line: "X1 (CM03M): pin 4 [M12] is missing".
// attrTag names the pin attribute that connector.unchecked did not find.
std::string findingMessage(const Finding& finding, const std::string& attrTag);

// Severity by rule: "error", "warning" or "ignore".
using Severities = std::map<std::string, std::string>;
// Adds "RULE=LEVEL" to severities. Returns "" or why it is refused (an
// unknown rule or level), naming the option as --severity.
std::string addSeverity(const std::string& assignment, Severities& severities);
// Sets one rule's level. Returns "" or why it is refused; `where` starts the
// message ("--severity", "zrhost.ini: [zrcheck] severity.pin.nope").
std::string setSeverity(const std::string& rule, const std::string& level, const std::string& where,
                        Severities& severities);
// The level of a rule: its entry in severities, else "error".
std::string severityOf(const std::string& rule, const Severities& severities);
// Gives each finding its rule's severity; drops the ignored ones.
void applySeverities(Findings& findings, const Severities& severities);

// Lower-case hex SHA-256 of bytes.
std::string sha256Hex(const std::string& bytes);
// SHA-256 of a file's content as "sha256:HEX"; nothing when it cannot be read.
std::optional<std::string> fileFingerprint(const std::string& path);
