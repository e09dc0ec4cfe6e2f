#pragma once
// The check as JUnit XML, the test report most CI systems show: one
// <testsuite> per drawing (named by its path as given), one <testcase> per
// connector record and per connector placed but not checked, named
// "NAME (CODE)". A connector with failing findings has one <failure> whose
// text lists them a line each; one whose only findings are waived is
// <skipped> with the reasons; warnings and findings already in the baseline
// pass and are listed in <system-out>. Every testcase with findings carries
// them as <properties> (property "finding": "RULE SEVERITY FINGERPRINT"). A
// drawing that could not be checked is one testcase with an <error>.

#include <ostream>
#include <vector>

#include "check_report.h"

// Writes the report as one XML document (UTF-8).
void printJunit(const CheckRun& run, const std::vector<CheckReport>& reports, std::ostream& out);
