// zrhost: opens drawings as documents, loads the module, and runs a Scheme
// console or scripts. See host_options.h for the command line.

#include <libguile.h>
#include <langinfo.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host_options.h"
#include "host_session.h"

namespace {

struct Run {
  const zrhost::HostOptions* options;
  int status;
};

void* runInGuile(void* data) {
  auto* run = static_cast<Run*>(data);
  run->status = zrhost::runHost(*run->options);
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
    std::fprintf(stderr, "zrhost: %s\n\n%s", e.what(), zrhost::hostUsage().c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(zrhost::hostUsage().c_str(), stdout);
    return 0;
  }
  useUtf8();
  // Guile's compiler to machine code gains nothing for console work, and the
  // memory it keeps outside the collected heap reads as leaks to the
  // sanitizer builds.
  setenv("GUILE_JIT_THRESHOLD", "-1", 0);
  // Guile's start-up notes about compiled files are no business of the user.
  setenv("GUILE_AUTO_COMPILE", "0", 0);
  Run run{&options, 0};
  scm_with_guile(runInGuile, &run);
  return run.status;
}
