// zrhost: opens drawings as documents, loads the module, and runs a Scheme
// console or scripts. See host_options.h for the command line.

#include <libguile.h>
#include <langinfo.h>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "host_options.h"
#include "host_session.h"

namespace {

struct Run {
  const zrhost::HostOptions* options;
  int status;
};

// Everything written to standard output reached it; otherwise says so on
// standard error.
bool standardOutputArrived() {
  errno = 0;
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
  std::fprintf(stderr, "zrhost: cannot write to standard output: %s\n", errno ? std::strerror(errno) : "write error");
  return false;
}

void* runInGuile(void* data) {
  auto* run = static_cast<Run*>(data);
  run->status = zrhost::runHost(*run->options);
  // Scheme's own port keeps what it has not yet passed on; a failure to pass
  // it on is an output error, whatever the run did.
  SCM flushed = scm_c_eval_string("(catch #t (lambda () (force-output (current-output-port)) #t) (lambda _ #f))");
  // (A run that ended before the console module was loaded has no flag.)
  const bool failedBefore = scm_is_true(
      scm_c_eval_string("(catch #t (lambda () ((@ (zrhost console) zrhost-output-failed?))) (lambda _ #f))"));
  if (failedBefore) {
    run->status = 2;
  } else if (scm_is_false(flushed)) {
    std::fprintf(stderr, "zrhost: cannot write to standard output\n");
    run->status = 2;
  }
  return nullptr;
}

// Text crosses between Scheme, the terminal and the module's UTF-16 as UTF-8,
// whatever the locale says.
void useUtf8() {
  std::setlocale(LC_ALL, "");
  if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0) std::setlocale(LC_CTYPE, "C.UTF-8");
}

}  // namespace

#if defined(__SANITIZE_ADDRESS__)
// Guile's readline binding does not free its copy of the prompt when a
// Ctrl-C leaves the read by an exception (a few bytes each time); its stack
// shows only Guile's allocator.
extern "C" const char* __lsan_default_suppressions() { return "leak:scm_realloc\n"; }
#endif

int main(int argc, char** argv) {
  zrhost::HostOptions options;
  try {
    options = zrhost::parseHostOptions(argc, argv);
  } catch (const zrhost::UsageError& e) {
    std::fprintf(stderr, "zrhost: %s\nRun 'zrhost --help' for the usage.\n", e.what());
    return 2;
  }
  // A closed pipe is a write error the program reports, not a silent death.
  std::signal(SIGPIPE, SIG_IGN);
  if (options.help || options.version) {
    std::fputs(options.help ? zrhost::hostUsage().c_str() : (zrhost::hostVersion() + "\n").c_str(), stdout);
    return standardOutputArrived() ? 0 : 2;
  }
  useUtf8();
  // The settings component searches ZR_SETTINGS_DIR first: --settings goes
  // in front of it, for the module and for every program this one starts.
  if (options.settings) {
    const char* others = std::getenv("ZR_SETTINGS_DIR");
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::absolute(*options.settings, error);
    const std::string folders = (error ? *options.settings : folder.string()) + (others && *others ? std::string(":") + others : std::string());
    setenv("ZR_SETTINGS_DIR", folders.c_str(), 1);
  }
  // Guile's compiler to machine code gains nothing for console work, and the
  // memory it keeps outside the collected heap reads as leaks to the
  // sanitizer builds.
  setenv("GUILE_JIT_THRESHOLD", "-1", 0);
  // Guile's start-up notes about compiled files are no business of the user.
  setenv("GUILE_AUTO_COMPILE", "0", 0);
  Run run{&options, 0};
  scm_with_guile(runInGuile, &run);
  if (!standardOutputArrived()) return 2;
  return run.status;
}
