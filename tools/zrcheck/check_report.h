#pragma once
// The result of checking one drawing, as zrcheck prints it: the connector
// records of the pin check, the connector names placed in model space, and the
// four counts of the connectors screen.

#include <ostream>
#include <string>
#include <vector>

#include "drawing/CEPino.h"

struct CheckReport {
  std::string drawing;
  zr::ConectoresPinos records;
  std::vector<std::string> names;

  struct Summary {
    int connectors = 0;  // connector records
    int pins = 0;        // pins of all records
    int errors = 0;      // records in state 1 or 2, plus pins with status 2 or 3
    int missing = 0;     // pins with status 1
  };
  Summary summary() const;
  // True when every connector is in state 0 and every pin has status 0.
  bool clean() const;
};

// For people: each connector with its state and each pin that is missing,
// unknown or wrongly connected (with what it touches), then the counts.
void printText(const CheckReport& report, std::ostream& out);
// One JSON object in the documented format.
void printJson(const CheckReport& report, std::ostream& out);

// Text from a drawing or the catalogue made safe for a terminal: control
// characters (C0, DEL, C1), which could move the cursor or change colours,
// are written as \xNN or \u00NN escapes; everything else is kept.
std::string printable(const std::string& utf8);
