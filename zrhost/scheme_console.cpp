#include "scheme_console.h"

#include <libguile.h>

#include "scheme_dialogs.h"
#include "scheme_drawings.h"
#include "scheme_guard.h"
#include "scheme_module_functions.h"
#include "scheme_process.h"
#include "scheme_values.h"
#include "terminal.h"

namespace zrhost {

extern const char* const kConsoleScheme;  // console.scm, embedded at build time

namespace {

void initHostModule(void*) {
  initDrawingProcedures();
  initModuleFunctionProcedures();
  initProcessProcedures();
#ifdef ZRHOST_HAVE_ZRUI
  initDialogProcedures();
#endif
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
    setReadlineAvailable(readline);
  }
  const int status = callConsoleProcedure("zrhost-console", scm_list_2(scm_from_bool(terminal), scm_from_bool(readline)));
  setReadlineAvailable(false);
  return status;
}

int runScript(const std::string& file) { return callConsoleProcedure("zrhost-run-script", scm_list_1(fromUtf8(file))); }

int runEval(const std::string& text) { return callConsoleProcedure("zrhost-eval-string", scm_list_1(fromUtf8(text))); }

}  // namespace zrhost
