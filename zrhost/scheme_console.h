#pragma once
// The Scheme side of the host: start-up (the (zrhost host) procedures written
// in C++, the console.scm prelude, both used by (guile-user)) and the three
// ways to run code: the console, a script, an expression.
//
// REQUIRES: the calling thread is in Guile mode.

#include <string>

namespace zrhost {

// Loads the Scheme side. False (after printing why) when it cannot start.
bool initScheme();

// The console until its input ends or (exit) is called; line editing and
// history (ice-9 readline) when input is a terminal. Returns the exit status.
int runConsole();

// Runs a script file: 0 when every form ran, 1 after the first error (printed
// with its file and line), or the status given to (exit).
int runScript(const std::string& file);

// Evaluates the expressions of text and prints the values of the last one.
int runEval(const std::string& text);

}  // namespace zrhost
