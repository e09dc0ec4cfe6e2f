#pragma once
// The command line of zrhost:
//   zrhost [--program NAME] [--settings DIR] [--module PATH | --no-module] [--load FILE.scm]
//          [--script FILE.scm] [--eval EXPR] [-h|--help] [--version] DRAWING.dxf ...
// Read with CLI11: options take their value as the next argument or after
// '='; "--" ends the options; "-" is a drawing read from standard input.
// --load, --script and --eval may be repeated and run in the order given; the
// console follows unless a --script or --eval was given.

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
  std::optional<std::string> settings; // folder searched first for PROGRAM.ini
  std::optional<std::string> module;   // module file given with --module
  bool noModule = false;               // run without loading a module
  std::vector<HostAction> actions;     // in order
  bool console = true;                 // false once a script or eval is given
  std::vector<std::string> drawings;   // opened in order, the last one active
  bool help = false;                   // print hostUsage() and exit
  bool version = false;                // print hostVersion() and exit
};

// A command line that cannot be followed; the message says why.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Parses argv (argv[0] is the program). Throws UsageError.
HostOptions parseHostOptions(int argc, const char* const* argv);

// The usage text printed by --help (and turned into the manual page).
std::string hostUsage();
// "zrhost VERSION", printed by --version.
std::string hostVersion();

}  // namespace zrhost
