#include "host_options.h"

#include <string_view>

namespace zrhost {

std::string hostUsage() {
  return "usage: zrhost [--program NAME] [--module PATH | --no-module] [--load FILE.scm]...\n"
         "              [--script FILE.scm]... [--eval EXPR]... [--help] DRAWING.dxf ...\n"
         "\n"
         "Opens each drawing as a document (the last one active), loads the module and\n"
         "initialises it, runs the files to load, then the Scheme console, or the\n"
         "scripts and expressions given, in order, and exits.\n"
         "\n"
         "  --program NAME   value of the system variable PROGRAM (default zrhost)\n"
         "  --module PATH    module file (default: $ZRHOST_MODULE, else libzrconector.so\n"
         "                   beside zrhost, in ../lib or in the build's ../zrconector)\n"
         "  --no-module      run without a module\n"
         "  --load FILE      runs a Scheme file (such as the suite's) before the console\n"
         "  --script FILE    runs a Scheme file, then exits\n"
         "  --eval EXPR      evaluates an expression, prints its value, then exits\n"
         "\n"
         "Exit status: 0 done; 1 a file or expression failed; 2 bad usage or the module\n"
         "could not be loaded.\n";
}

HostOptions parseHostOptions(int argc, const char* const* argv) {
  HostOptions options;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
      options.drawings.emplace_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    const std::size_t equals = arg.find('=');
    const std::string_view name = arg.substr(0, equals);
    std::optional<std::string> inlineValue;
    if (equals != std::string_view::npos) inlineValue = std::string(arg.substr(equals + 1));
    auto value = [&]() -> std::string {
      if (inlineValue) return *inlineValue;
      if (i + 1 >= argc) throw UsageError("option " + std::string(name) + " needs a value");
      return argv[++i];
    };
    auto noValue = [&]() {
      if (inlineValue) throw UsageError("option " + std::string(name) + " takes no value");
    };
    if (name == "--program") {
      options.program = value();
      if (options.program.empty()) throw UsageError("the program name (--program) must not be empty");
    } else if (name == "--module") {
      options.module = value();
      if (options.module->empty()) throw UsageError("the module path (--module) must not be empty");
    } else if (name == "--no-module") {
      noValue();
      options.noModule = true;
    } else if (name == "--load") {
      options.actions.push_back({HostAction::kLoad, value()});
    } else if (name == "--script") {
      options.actions.push_back({HostAction::kScript, value()});
      options.console = false;
    } else if (name == "--eval") {
      options.actions.push_back({HostAction::kEval, value()});
      options.console = false;
    } else if (name == "--help" || name == "-h") {
      noValue();
      options.help = true;
    } else {
      throw UsageError("unknown option " + std::string(name));
    }
  }
  if (options.noModule && options.module) throw UsageError("--module and --no-module exclude each other");
  return options;
}

}  // namespace zrhost
