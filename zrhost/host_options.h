#pragma once
// The command line of zrhost:
//   zrhost [--program NAME] [--module PATH | --no-module] [--load FILE.scm]
//          [--script FILE.scm] [--eval EXPR] [--help] DRAWING.dxf ...
// Options take their value as the next argument or after '='; "--" ends the
// options. --load, --script and --eval may be repeated and run in the order
// given; the console follows unless a --script or --eval was given.

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zrhost {

struct HostAction {
  enum Kind { kLoad, kScript, kEval } kind;
  std::string text;  // file of a load or script, expression of an eval
};

struct HostOptions {
  std::string program = "zrhost";      // the system variable "PROGRAM"
  std::optional<std::string> module;   // module file given with --module
  bool noModule = false;               // run without loading a module
  std::vector<HostAction> actions;     // in order
  bool console = true;                 // false once a script or eval is given
  std::vector<std::string> drawings;   // opened in order, the last one active
  bool help = false;
};

// A command line that cannot be followed; the message says why.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Parses argv (argv[0] is the program). Throws UsageError.
HostOptions parseHostOptions(int argc, const char* const* argv);

// The usage text printed by --help and after a usage error.
std::string hostUsage();

}  // namespace zrhost
