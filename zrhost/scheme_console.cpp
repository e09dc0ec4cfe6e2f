#include "scheme_console.h"

#include <dlfcn.h>
#include <libguile.h>
#include <pthread.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>

#include "scheme_dialogs.h"
#include "scheme_drawings.h"
#include "scheme_pictures.h"
#include "scheme_guard.h"
#include "scheme_module_functions.h"
#include "scheme_process.h"
#include "scheme_values.h"
#include "terminal.h"

namespace zrhost {

extern const char* const kConsoleScheme;  // console.scm, embedded at build time

namespace {

// Ctrl-C at the console. Guile runs Scheme signal handlers as asyncs, marked
// by its signal thread; a thread blocked reading the terminal only runs them
// when the read returns, and Guile retries an interrupted read at once: a
// person at the prompt would see nothing until the next key. So here:
// - the C handler of SIGINT only writes to a pipe (from whatever thread);
// - a watcher thread in Guile mode reads it and marks the Scheme handler on
//   the console thread; while the console waits for a line it also pokes
//   that thread with kPoke, whose empty handler ends the read (EINTR), until
//   the handler has run (Guile runs it before it reads again). Other code is
//   never poked: a module call would see its system calls fail.
const int kPoke = SIGRTMIN + 2;
int wakePipe[2] = {-1, -1};
pthread_t consoleThread;
pthread_t watcherThread;
SCM consoleThreadObject = SCM_BOOL_F;
SCM interruptHandler = SCM_BOOL_F;
std::atomic<bool> consoleReading{false};
std::atomic<bool> interruptPending{false};

void onInterrupt(int) {
  const char byte = 'i';
  [[maybe_unused]] ssize_t n = write(wakePipe[1], &byte, 1);
}

void onPoke(int) {}

void* watchInGuile(void*) {
  char byte = 0;
  while (read(wakePipe[0], &byte, 1) == 1 && byte == 'i') {
    interruptPending = true;
    scm_system_async_mark_for_thread(interruptHandler, consoleThreadObject);
    // The poke can come just before the read starts: poke again until the
    // handler ran, for two seconds at most, or until the next byte.
    for (int i = 0; i < 100 && interruptPending; ++i) {
      if (consoleReading) pthread_kill(consoleThread, kPoke);
      pollfd next{wakePipe[0], POLLIN, 0};
      if (poll(&next, 1, 20) > 0) break;
    }
  }
  return nullptr;
}

void* watch(void*) { return scm_with_guile(watchInGuile, nullptr); }

// (%install-console-interrupt THUNK): THUNK runs on this thread after each
// Ctrl-C, where Scheme code is let through.
SCM installConsoleInterrupt(SCM thunk) {
  if (wakePipe[0] >= 0 || pipe(wakePipe) != 0) return SCM_BOOL_F;
  consoleThread = pthread_self();
  consoleThreadObject = scm_gc_protect_object(scm_current_thread());
  interruptHandler = scm_gc_protect_object(thunk);
  struct sigaction action {};
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: the read must end
  action.sa_handler = onPoke;
  sigaction(kPoke, &action, nullptr);
  action.sa_flags = SA_RESTART;
  action.sa_handler = onInterrupt;
  sigaction(SIGINT, &action, nullptr);
  // The watcher must never take SIGINT or kPoke itself.
  sigset_t blocked, before;
  sigemptyset(&blocked);
  sigaddset(&blocked, SIGINT);
  sigaddset(&blocked, kPoke);
  pthread_sigmask(SIG_BLOCK, &blocked, &before);
  pthread_create(&watcherThread, nullptr, watch, nullptr);
  pthread_sigmask(SIG_SETMASK, &before, nullptr);
  return SCM_BOOL_T;
}

// (%console-reading FLAG): the console waits for a line (FLAG #t) or not.
SCM consoleReadingFlag(SCM flag) {
  consoleReading = scm_is_true(flag);
  return SCM_UNSPECIFIED;
}

// (%interrupt-taken): the Scheme handler has run.
SCM interruptTaken() {
  interruptPending = false;
  return SCM_UNSPECIFIED;
}

// (%remove-console-interrupt): SIGINT ends the program again.
SCM removeConsoleInterrupt() {
  if (wakePipe[0] < 0) return SCM_UNSPECIFIED;
  signal(SIGINT, SIG_DFL);
  const char byte = 'q';
  [[maybe_unused]] ssize_t n = write(wakePipe[1], &byte, 1);
  pthread_join(watcherThread, nullptr);
  close(wakePipe[0]);
  close(wakePipe[1]);
  wakePipe[0] = wakePipe[1] = -1;
  scm_gc_unprotect_object(consoleThreadObject);
  scm_gc_unprotect_object(interruptHandler);
  return SCM_UNSPECIFIED;
}

void initHostModule(void*) {
  // Private to console.scm: not exported.
  scm_c_define_gsubr("%install-console-interrupt", 1, 0, 0, reinterpret_cast<scm_t_subr>(installConsoleInterrupt));
  scm_c_define_gsubr("%remove-console-interrupt", 0, 0, 0, reinterpret_cast<scm_t_subr>(removeConsoleInterrupt));
  scm_c_define_gsubr("%console-reading", 1, 0, 0, reinterpret_cast<scm_t_subr>(consoleReadingFlag));
  scm_c_define_gsubr("%interrupt-taken", 0, 0, 0, reinterpret_cast<scm_t_subr>(interruptTaken));
  initDrawingProcedures();
  initModuleFunctionProcedures();
  initProcessProcedures();
#ifdef ZRHOST_HAVE_ZRUI
  initDialogProcedures();
#endif
#ifdef ZRHOST_HAVE_PICTURE
  initPictureProcedures();
#endif
}

// Readline would put its own SIGINT handler in place of the console's while
// it reads (the readline binding cleans the line up after an interrupt).
void keepSignalsFromReadline() {
  void* library = dlopen("libreadline.so.8", RTLD_NOW | RTLD_NOLOAD);
  if (!library) return;
  if (auto* catchSignals = static_cast<int*>(dlsym(library, "rl_catch_signals"))) *catchSignals = 0;
  dlclose(library);
}

SCM evalString(void* text) { return scm_c_eval_string(static_cast<const char*>(text)); }

SCM keepKeyAndArgs(void* data, SCM key, SCM args) {
  *static_cast<SCM*>(data) = scm_cons(key, args);
  return SCM_BOOL_F;
}

// Evaluates text in the current module; prints an error as context.
bool evalProtected(const char* text, const std::string& context) {
  SCM error = SCM_BOOL_F;
  scm_c_catch(SCM_BOOL_T, evalString, const_cast<char*>(text), keepKeyAndArgs, &error, nullptr, nullptr);
  if (scm_is_false(error)) return true;
  printSchemeError(context, scm_car(error), scm_cdr(error));
  return false;
}

int statusOf(SCM value) { return scm_is_signed_integer(value, 0, 255) ? scm_to_int(value) : 1; }

int callConsoleProcedure(const char* name, SCM args) {
  SCM result = SCM_BOOL_F;
  if (!schemeApply(scm_c_public_ref("zrhost console", name), args, &result, name)) return 1;
  return statusOf(result);
}

}  // namespace

bool initScheme() {
  scm_c_define_module("zrhost host", initHostModule, nullptr);
  if (!evalProtected(kConsoleScheme, "starting the Scheme side")) return false;
  if (!evalProtected("(use-modules (zrhost host) (zrhost console))", "starting the Scheme side")) return false;
  setEntityNameType(scm_c_public_ref("zrhost console", "<entity-name>"));
  return true;
}

int runConsole() {
  const bool terminal = interactive();
  bool readline = false;
  if (terminal) {
    readline = evalProtected("(resolve-interface '(ice-9 readline))", "loading line editing");
    if (readline) keepSignalsFromReadline();
    setReadlineAvailable(readline);
  }
  const int status = callConsoleProcedure("zrhost-console", scm_list_2(scm_from_bool(terminal), scm_from_bool(readline)));
  setReadlineAvailable(false);
  return status;
}

int runScript(const std::string& file) { return callConsoleProcedure("zrhost-run-script", scm_list_1(fromUtf8(file))); }

int runEval(const std::string& text) { return callConsoleProcedure("zrhost-eval-string", scm_list_1(fromUtf8(text))); }

}  // namespace zrhost
