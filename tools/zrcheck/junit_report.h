#pragma once
// The check as JUnit XML, the test report most CI systems show: one
// <testsuite> per drawing (named by its path as given, timed, with the
// catalogue and the drawing's fingerprint as properties), one <testcase> per
// connector record and per connector placed but not checked, named
// "NAME (CODE)". Each finding that fails the run is one <failure> of its
// connector's testcase: the message is the finding's, the type its rule, the
// text the rule, the location (drawing:line of the symbol's INSERT, handle,
// position) and the fingerprint; the testsuite's "failures" counts the
// testcases that failed. A testcase whose only findings are waived is
// <skipped> with the reasons; warnings and findings already in the baseline
// pass and are listed in <system-out>. A drawing that could not be checked
// is one testcase with an <error>.

#include <ostream>
#include <vector>

#include "check_report.h"

// Writes the report as one XML document (UTF-8).
void printJunit(const CheckRun& run, const std::vector<CheckReport>& reports, std::ostream& out);
