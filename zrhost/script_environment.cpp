#include "script_environment.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "scheme_guard.h"
#include "scheme_values.h"
#include "terminal.h"
#ifdef ZRHOST_HAVE_ZRUI
#include "colour_picker.h"
#include "dialog_driver.h"
#endif

namespace zrhost {

GuileScriptEnvironment::GuileScriptEnvironment() : module_(scm_c_resolve_module("guile-user")) {}

SCM GuileScriptEnvironment::global(const OdString& name) const {
  const std::string utf8 = name.toUtf8();
  SCM variable = scm_module_variable(module_, scm_from_utf8_symboln(utf8.data(), utf8.size()));
  if (scm_is_false(variable) || scm_is_false(scm_variable_bound_p(variable))) return SCM_UNDEFINED;
  return scm_variable_ref(variable);
}

namespace {
// Scheme runs on one thread only; the module is expected to call from it.
bool refusedOffThread(const std::string& what) {
  if (onSchemeThread()) return false;
  printErr("zrhost: " + what + " was asked for from another thread than the console's; refused\n");
  return true;
}
}  // namespace

int GuileScriptEnvironment::Invoke(const OdString& name, const resbuf* args, resbuf** result) {
  if (result) *result = nullptr;
  const std::string context = "host function " + name.toUtf8();
  if (refusedOffThread(context)) return RTERROR;
  try {
    SCM procedure = global(name);
    if (SCM_UNBNDP(procedure) || scm_is_false(scm_procedure_p(procedure))) {
      printErr("zrhost: " + context + ": no Scheme procedure of that name is defined\n");
      return RTERROR;
    }
    SCM arguments = chainToList(args);
    SCM value = SCM_UNSPECIFIED;
    if (holdingOutputDuringCalls()) {
      // What the procedure writes is printed once the dialogs have given the
      // terminal back (see holdOutput).
      static SCM withPort = scm_permanent_object(
          scm_c_eval_string("(lambda (port proc args) (with-output-to-port port (lambda () (apply proc args))))"));
      SCM port = scm_open_output_string();
      const bool ok = schemeApply(withPort, scm_list_3(port, procedure, arguments), &value, context);
      size_t length = 0;
      char* text = scm_to_utf8_stringn(scm_get_output_string(port), &length);
      holdOutput(std::string(text, length));
      std::free(text);
      if (!ok) return RTERROR;
    } else if (!schemeApply(procedure, arguments, &value, context)) {
      return RTERROR;
    }
    ChainPtr chain;
    if (!scm_is_eq(value, SCM_UNSPECIFIED)) chain = valueToChain(value, IntegerNodes::kLong);
    if (result) *result = chain.release();
    return RTNORM;
  } catch (const std::exception& e) {
    printErr("zrhost: " + context + ": " + e.what() + "\n");
    return RTERROR;
  }
}

int GuileScriptEnvironment::GetVariable(const OdString& name, resbuf** result) {
  if (result) *result = nullptr;
  if (refusedOffThread("variable " + name.toUtf8())) return RTERROR;
  try {
    SCM value = global(name);
    if (SCM_UNBNDP(value)) return RTERROR;
    ChainPtr chain = valueToChain(value, IntegerNodes::kLong);
    if (result) *result = chain.release();
    return RTNORM;
  } catch (const std::exception& e) {
    printErr("zrhost: variable " + name.toUtf8() + ": " + e.what() + "\n");
    return RTERROR;
  }
}

int GuileScriptEnvironment::ColorDialog(int initial, int* chosen) {
  if (refusedOffThread("the colour dialog")) return RTERROR;
  try {
    SCM procedure = global(OdString(u"colour-dialog"));
    if (SCM_UNBNDP(procedure) || scm_is_false(scm_procedure_p(procedure))) return pickColour(initial, chosen);
    SCM value = SCM_BOOL_F;
    if (!schemeApply(procedure, scm_list_1(scm_from_int(initial)), &value, "colour-dialog")) return RTERROR;
    if (scm_is_false(value)) return RTERROR;  // not confirmed
    if (!scm_is_signed_integer(value, 0, 256)) {
      printErr("zrhost: colour-dialog must answer a colour index from 0 to 256, or #f\n");
      return RTERROR;
    }
    *chosen = scm_to_int(value);
    return RTNORM;
  } catch (const std::exception& e) {
    printErr(std::string("zrhost: colour dialog: ") + e.what() + "\n");
    return RTERROR;
  }
}

int GuileScriptEnvironment::pickColour(int initial, int* chosen) const {
#ifdef ZRHOST_HAVE_ZRUI
  // Shown only when someone answers it (a person at the terminal, queued
  // actions); a script with neither would wait for nothing, so the dialog is
  // printed with its answer, as message boxes are.
  if (!dialogsAnswerable()) {
    const std::u16string label = colourLabel(std::clamp(initial, 0, 256));
    printOut("[Colour]\n  " + std::string(label.begin(), label.end()) + "\n  -> Cancel\n");
    return RTERROR;
  }
  const std::optional<int> index = runColourPicker(initial);
  if (!index) return RTERROR;
  *chosen = *index;
  return RTNORM;
#else
  (void)chosen;
  printOut("[Colour]\n  Index " + std::to_string(std::clamp(initial, 0, 256)) + "\n  -> Cancel\n");
  return RTERROR;
#endif
}

void GuileScriptEnvironment::PrintMessage(const OdString& text) { printErr("zrhost: " + text.toUtf8() + "\n"); }

}  // namespace zrhost
