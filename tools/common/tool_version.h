#pragma once
// The version of the project, as --version and the reports show it. Kept
// apart from the command line: a report names its tool without parsing one.

// The project's version ("MAJOR.MINOR.PATCH"), a static string.
const char* toolVersion();
