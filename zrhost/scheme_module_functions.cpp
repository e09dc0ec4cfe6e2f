#include "scheme_module_functions.h"

#include <set>
#include <string>

#include "zrfx/FxDocumentManager.h"
#include "dialog_driver.h"
#include "scheme_guard.h"
#include "scheme_registry.h"
#include "scheme_values.h"
#include "terminal.h"

namespace zrhost {
namespace {

const LoadedModule* loadedModule = nullptr;
int runningCalls = 0;
std::set<std::string> definedNames;  // procedures made for module functions
std::set<std::string> hiddenNames;   // names a Scheme definition already had

CFxDocument* activeDocument() {
  CFxDocument* doc = ACTIVE_DOCUMENT();
  if (!doc) throw SchemeFailure("host-error", "no drawing is open");
  return doc;
}

// Counts a running call for as long as it lives.
struct RunningCall {
  RunningCall() { ++runningCalls; }
  ~RunningCall() { --runningCalls; }
  RunningCall(const RunningCall&) = delete;
  RunningCall& operator=(const RunningCall&) = delete;
};

SCM resultValue(const CFxFunctionInterface::CallResult& result) {
  switch (result.kind) {
    case CFxFunctionInterface::CallResult::kNil: return SCM_EOL;
    case CFxFunctionInterface::CallResult::kEntityName: return makeEntityName(result.entity);
    case CFxFunctionInterface::CallResult::kList: return chainToList(result.list);
    case CFxFunctionInterface::CallResult::kVoid:
    case CFxFunctionInterface::CallResult::kNone: break;
  }
  return SCM_UNSPECIFIED;
}

SCM callModuleFunction(SCM name, SCM arguments) {
  return schemeGuard("call-module-function", [&]() -> SCM {
    const std::string utf8 = stringArg(name, "the function name");
    CFxDocument* doc = activeDocument();
    CFxFunctionInterface* functions = doc->GetFunctionInterface();
    const OdString odName = OdString::fromUtf8(utf8);
    if (!functions->HasFunction(odName))
      throw SchemeFailure("unbound-variable", "the active drawing (" + doc->GetPathName().toUtf8() +
                                                  ") has no module function " + utf8);
    ChainPtr chain;
    try {
      chain = listToChain(arguments, IntegerNodes::kShortWhenFits);
    } catch (const SchemeFailure& e) {
      throw SchemeFailure(e.key(), "arguments of " + utf8 + ": " + e.what());
    }
    CFxFunctionInterface::CallResult result;
#ifdef ZRHOST_HAVE_ZRUI
    // The dialogs of this call use the queued actions; a failed action or a
    // dialog left waiting fails the call once the module has returned.
    beginDialogCall();
    struct DialogCall {
      ~DialogCall() { failure = endDialogCall(); }
      std::optional<std::string>& failure;
    };
    std::optional<std::string> dialogFailure;
#endif
    try {
#ifdef ZRHOST_HAVE_ZRUI
      DialogCall dialogs{dialogFailure};
#endif
      RunningCall running;
      result = functions->CallFunction(odName, chain.get());
    } catch (const OdError& e) {
      throw SchemeFailure("module-error", utf8 + " failed: " + e.description().toUtf8());
    } catch (const std::exception& e) {
      throw SchemeFailure("module-error", utf8 + " failed: " + e.what());
    } catch (...) {
      throw SchemeFailure("module-error", utf8 + " failed with an exception of unknown kind");
    }
    ChainPtr list(result.list);
#ifdef ZRHOST_HAVE_ZRUI
    if (dialogFailure) throw SchemeFailure("dialog-error", utf8 + ": " + *dialogFailure);
#endif
    SCM value = resultValue(result);
    refreshModuleFunctionProcedures();
    return value;
  });
}

SCM moduleFunctions() {
  return schemeGuard("module-functions", [&]() -> SCM {
    CFxDocument* doc = ACTIVE_DOCUMENT();
    SCM names = SCM_EOL;
    if (doc)
      for (const OdString& name : doc->GetFunctionInterface()->FunctionNames())
        names = scm_cons(fromUtf8(name.toUtf8()), names);
    return scm_reverse_x(names, SCM_EOL);
  });
}

SCM moduleName() {
  return schemeGuard("loaded-module-name", [&]() -> SCM {
    if (!loadedModule || !loadedModule->object()) return SCM_BOOL_F;
    return fromUtf8(loadedModule->object()->moduleName().toUtf8());
  });
}

const SchemeProcedure kProcedures[] = {
    {"call-module-function", 1, 0, true, subr(callModuleFunction),
     "(call-module-function NAME ARG ...): runs the module function NAME registered with the active drawing "
     "with the arguments (strings, numbers, entity names, booleans, lists) and returns its result: a string, "
     "an entity name, a list, '() for nil, or the unspecified value for void."},
    {"module-functions", 0, 0, false, subr(moduleFunctions),
     "(module-functions): the names of the functions registered with the active drawing, in order."},
    {"loaded-module-name", 0, 0, false, subr(moduleName),
     "(loaded-module-name): the module's own name for itself (its file), or #f when no module is loaded."},
};

}  // namespace

void initModuleFunctionProcedures() { defineProcedures(kProcedures); }

void setSchemeModule(const LoadedModule* module) { loadedModule = module; }

bool moduleFunctionRunning() { return runningCalls > 0; }

void refreshModuleFunctionProcedures() {
  CFxSystemServices* services = GetFxSystemServices();
  if (!services) return;
  CFxDocumentManager* manager = services->GetDocumentManager();
  SCM user = scm_c_resolve_module("guile-user");
  SCM make = scm_c_public_ref("zrhost console", "make-module-function-procedure");
  for (int i = 0; i < manager->DocumentCount(); ++i) {
    for (const OdString& name : manager->GetDocument(i)->GetFunctionInterface()->FunctionNames()) {
      const std::string utf8 = name.toUtf8();
      if (definedNames.count(utf8) || hiddenNames.count(utf8)) continue;
      SCM symbol = scm_from_utf8_symboln(utf8.data(), utf8.size());
      SCM variable = scm_module_variable(user, symbol);
      if (scm_is_true(variable) && scm_is_true(scm_variable_bound_p(variable))) {
        hiddenNames.insert(utf8);
        printErr("zrhost: the module function " + utf8 + " is hidden by a Scheme definition of that name; call it " +
                 "with (call-module-function \"" + utf8 + "\" ...)\n");
        continue;
      }
      scm_module_define(user, symbol, scm_call_1(make, fromUtf8(utf8)));
      definedNames.insert(utf8);
    }
  }
}

}  // namespace zrhost
