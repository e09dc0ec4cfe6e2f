#pragma once
// Runs the zrhost program for a test: in a folder, with given arguments and
// standard input, capturing its exit status and both outputs.

#include <map>
#include <string>
#include <vector>

namespace zrhost_testing {

struct Outcome {
  int status = -1;  // exit status, or 128 + signal
  std::string out;
  std::string err;
};

struct Invocation {
  std::vector<std::string> args;           // after the program name
  std::string input;                        // standard input (a file, not a terminal)
  std::map<std::string, std::string> env;  // added to the environment
  // Run as the unprivileged user "nobody" (uid and gid 65534), so that file
  // permissions apply; the folder must be reachable by that user.
  bool unprivileged = false;
};

// Runs zrhost in folder (which also becomes HOME). ZRHOST_MODULE is removed
// from the environment unless given in env.
Outcome runZrhost(const std::string& folder, const Invocation& invocation);

// The same with --module set to the test module and the given arguments.
Outcome runWithTestModule(const std::string& folder, std::vector<std::string> args, const std::string& input = "");

// Printed by failing checks: what the program did.
std::string describe(const Outcome& outcome);

}  // namespace zrhost_testing
