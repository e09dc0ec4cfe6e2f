#pragma once
// The findings of one checked drawing, read off its report's connector
// records (their pins' states and mates) and its unchecked connectors.

#include "findings.h"

struct CheckReport;

// The findings of one checked drawing, in the order of the connectors and
// their pins, then the unchecked connectors; every one of severity "error",
// each with its fingerprint.
Findings findingsOf(const CheckReport& report);
