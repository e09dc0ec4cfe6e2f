#pragma once
// The module's functions as Scheme procedures.
//
// (call-module-function NAME ARG ...) runs the function NAME registered with
// the active drawing. Besides, every name that any open drawing has
// registered becomes a global procedure of (guile-user) that does the same,
// unless a Scheme definition of that name exists already. Such a procedure
// stays once defined; calling it while the active drawing lacks the function
// is a Scheme error. The definitions are refreshed whenever registrations may
// have changed (the module initialised, a drawing opened or activated, a
// module function called).

#include "module_loader.h"

namespace zrhost {

// Defines call-module-function, module-functions and loaded-module-name in the
// current module.
void initModuleFunctionProcedures();

// Defines the procedures of names registered since the last refresh.
// REQUIRES: the Scheme prelude is loaded.
void refreshModuleFunctionProcedures();

// The loaded module (null: none), for loaded-module-name.
void setSchemeModule(const LoadedModule* module);

// True while a module function runs (its drawing must not be closed).
bool moduleFunctionRunning();

}  // namespace zrhost
