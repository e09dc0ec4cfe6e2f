#include "host_options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <memory>

#include "tool_version.h"

namespace zrhost {

namespace {

constexpr const char* kDescription = "zrhost: the reference CAD host with a Scheme console";
constexpr const char* kFooter =
    "Opens each drawing as a document (the last one active), loads the module and\n"
    "initialises it, runs the files to load, then the Scheme console, or the\n"
    "scripts and expressions given, in order, and exits.\n\n"
    "Exit status: 0 done; 1 a file or expression failed; 2 bad usage, a drawing\n"
    "that could not be opened, the module could not be loaded, or output that\n"
    "could not be written.\n\n"
    "Settings: the module reads the catalogue's connection from PROGRAM.ini (the\n"
    "program name, --program), looked for in --settings DIR, then the folders of\n"
    "$ZR_SETTINGS_DIR, then $XDG_CONFIG_HOME/zrconector (or ~/.config/zrconector),\n"
    "then the installed examples. When none is found the module's box says\n"
    "\"Unable to load the settings file.\" and zrhost names on standard error the\n"
    "file and the folders it looked in.\n\n"
    "Environment:\n"
    "  ZR_SETTINGS_DIR       settings folders, ':'-separated, searched first (after --settings)\n"
    "  XDG_CONFIG_HOME, HOME the user's settings folder (zrconector below them)\n"
    "  ZRHOST_MODULE         the module file when --module is not given\n"
    "  ZR_COM_REGISTRY       folder of the COM registry (default: beside the libraries)\n"
    "  ZRHOST_NO_TERMINAL    1: dialogs stay headless on a terminal (driven by scripts)\n"
    "  ZRHOST_DIALOG_WAIT_MS how long queued dialog actions wait for their dialog (5000)\n"
    "  NO_COLOR, TERM        the terminal's colours and kind\n\n"
    "Example:\n  zrhost --settings examples/catalogue --load suite.scm --eval '(BuscaListaConectores)' drawing.dxf";

// The command line as CLI11 reads it, filling `options`. --load, --script and
// --eval run in the order given, so each is recorded as it is parsed.
std::unique_ptr<CLI::App> makeApp(HostOptions& options) {
  auto app = std::make_unique<CLI::App>(kDescription, "zrhost");
  app->set_help_flag("-h,--help", "print this help and exit")->disable_flag_override();
  app->set_version_flag("--version", hostVersion(), "print the version and exit")
      ->disable_flag_override();
  app->add_option("--program", options.program, "value of the system variable PROGRAM (default zrhost)")
      ->option_text("NAME");
  app->add_option("--settings", options.settings,
                  "folder searched first for PROGRAM.ini, the catalogue's settings (before $ZR_SETTINGS_DIR)")
      ->option_text("DIR");
  app->add_option("--module", options.module,
                  "module file (default: $ZRHOST_MODULE, else libzrconector.so beside zrhost, in ../lib or in "
                  "../lib/zrconector)")
      ->option_text("PATH");
  app->add_flag("--no-module", options.noModule, "run without a module")->disable_flag_override();
  auto action = [&](const char* name, HostAction::Kind kind, const char* help, const char* text) {
    app->add_option_function<std::vector<std::string>>(
           name,
           [&options, kind](const std::vector<std::string>& values) {
             options.actions.push_back({kind, values.back()});
             if (kind != HostAction::kLoad) options.console = false;
           },
           help)
        ->trigger_on_parse()
        ->allow_extra_args(false)
        ->option_text(text);
  };
  action("--load", HostAction::kLoad, "runs a Scheme file (such as the suite's) before the console; repeatable",
         "FILE");
  action("--script", HostAction::kScript, "runs a Scheme file, then exits; repeatable", "FILE");
  action("--eval", HostAction::kEval, "evaluates an expression, prints its value, then exits; repeatable", "EXPR");
  app->add_option("drawings", options.drawings, "DXF drawings to open; - reads one from standard input")
      ->option_text("DRAWING...");
  app->footer(kFooter);
  return app;
}

}  // namespace

std::string hostUsage() {
  HostOptions unused;
  return makeApp(unused)->help();
}

HostOptions parseHostOptions(int argc, const char* const* argv) {
  HostOptions options;
  std::unique_ptr<CLI::App> app = makeApp(options);
  try {
    app->parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    options.help = true;
    return options;
  } catch (const CLI::CallForVersion&) {
    options.version = true;
    return options;
  } catch (const CLI::ParseError& e) {
    throw UsageError(e.what());
  }
  if (options.program.empty()) throw UsageError("the program name (--program) must not be empty");
  if (options.settings && options.settings->empty()) throw UsageError("the settings folder (--settings) must not be empty");
  if (options.module && options.module->empty()) throw UsageError("the module path (--module) must not be empty");
  if (options.noModule && options.module) throw UsageError("--module and --no-module exclude each other");
  if (std::count(options.drawings.begin(), options.drawings.end(), "-") > 1)
    throw UsageError("standard input (-) can be given once");
  return options;
}

std::string hostVersion() { return std::string("zrhost ") + toolVersion(); }

}  // namespace zrhost
