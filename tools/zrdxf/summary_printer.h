#pragma once
#include <ostream>

#include "drawing_summary.h"

// Plain text for people.
void printSummary(const DrawingSummary& s, std::ostream& out);
// One JSON object.
void printSummaryJson(const DrawingSummary& s, std::ostream& out);
