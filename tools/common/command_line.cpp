#include "command_line.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "report_output.h"

void setUpCommandLine(CLI::App& app, const std::string& name) {
  app.name(name);
  app.set_version_flag("--version", name + " " + toolVersion(), "print the version and exit")->disable_flag_override();
  app.set_help_flag("-h,--help", "print this help and exit")->disable_flag_override();
  // Options after the drawings are still options; "--" ends them.
  app.allow_windows_style_options(false);
}

std::optional<int> parseCommandLine(CLI::App& app, int argc, char** argv) {
  try {
    app.parse(argc, argv);
    return std::nullopt;
  } catch (const CLI::CallForHelp&) {
    std::cout << app.help();
  } catch (const CLI::CallForAllHelp&) {
    std::cout << app.help("", CLI::AppFormatMode::All);
  } catch (const CLI::CallForVersion& e) {
    std::cout << e.what() << "\n";
  } catch (const CLI::ParseError& e) {
    std::cerr << app.get_name() << ": " << e.what() << "\n"
              << "Run '" << app.get_name() << " --help' for the usage.\n";
    return 2;
  }
  if (std::string why = finishStandardOutput(); !why.empty()) {
    std::cerr << app.get_name() << ": " << why << "\n";
    return 2;
  }
  return 0;
}
