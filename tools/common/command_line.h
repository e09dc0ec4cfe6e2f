#pragma once
// How every tool of the project answers its command line: --help and
// --version on standard output with exit 0, a usage error on standard error
// with exit 2.

#include <CLI/CLI.hpp>

#include <optional>

#include "tool_version.h"

// Sets up what every tool shares on a fresh app named after the program:
// -h/--help, --version ("NAME VERSION"), and errors that name the program.
void setUpCommandLine(CLI::App& app, const std::string& name);

// Parses argv into app. Returns the exit status when the program is done
// (0 after --help or --version; 2 after a usage error, with the reason and a
// pointer to --help on stderr; 2 as well when the help text could not be
// written), or nothing when the program goes on.
std::optional<int> parseCommandLine(CLI::App& app, int argc, char** argv);
