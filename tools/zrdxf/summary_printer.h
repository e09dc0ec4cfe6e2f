#pragma once
#include <nlohmann/json.hpp>

#include <ostream>

#include "drawing_summary.h"

// Plain text for people.
void printSummary(const DrawingSummary& s, std::ostream& out);
// One JSON object: {"version", "codePage", "entities": {"model", "paper"},
// "blocks", "dictionaries", "applications"}.
nlohmann::ordered_json summaryJson(const DrawingSummary& s);
