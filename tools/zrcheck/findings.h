#pragma once
// The findings of a pin check: one per problem, each with a stable rule name,
// so that a pipeline can count, waive and compare them between runs.
//
//   pin.missing         a catalogue pin of the code that no symbol carries
//   pin.unknown         a symbol whose identifier the catalogue does not know
//   pin.invalid-mate    a pin touching a pin of another connector it may not mate with
//   pin.self-mate       a pin touching another pin of its own connector
//   connector.unchecked a connector placed in model space whose symbols were not read as pins

#include <map>
#include <optional>
#include <string>
#include <vector>

struct CheckReport;

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
  // Hex digest of the rule, connector, code, identifier, pin and related
  // connector and identifier: the same while those stay, whatever else of the
  // drawing changes (handles and positions are left out on purpose).
  std::string fingerprint;
};

// The findings of one checked drawing, in the order of the connectors and
// their pins, then the unchecked connectors; every one of severity "error".
std::vector<Finding> findingsOf(const CheckReport& report);

// The rule names, in the order of the table above.
const std::vector<std::string>& ruleNames();

// Severity by rule: "error", "warning" or "ignore".
using Severities = std::map<std::string, std::string>;
// Adds "RULE=LEVEL" to severities. Returns "" or why it is refused (an
// unknown rule or level).
std::string addSeverity(const std::string& assignment, Severities& severities);
// Gives each finding its rule's severity; drops the ignored ones.
void applySeverities(std::vector<Finding>& findings, const Severities& severities);

// Lower-case hex SHA-256 of bytes.
std::string sha256Hex(const std::string& bytes);
// SHA-256 of a file's content as "sha256:HEX"; nothing when it cannot be read.
std::optional<std::string> fileFingerprint(const std::string& path);
