#pragma once
// OdRxModule: a module loaded at run time. The loader creates it through the
// module's exported odrxCreateModuleObject, initialises it, and before
// unloading uninitialises and deletes it.

#include "zrdwg/OdRxObject.h"

class OdRxModule : public OdRxObject {
 public:
  // The run-time class of modules.
  static const OdRxClass* desc();
  // Every module reports the module class.
  const OdRxClass* isA() const override { return desc(); }

  // The operating system's handle of the module file.
  virtual void* moduleHandle() const = 0;
  // Destroys the module object.
  virtual void deleteModule() = 0;
  // Called once after loading: registers the module's commands.
  virtual void initApp() = 0;
  // Called once before unloading: removes what initApp registered.
  virtual void uninitApp() = 0;
  // Full path of the module file.
  virtual OdString moduleName() const = 0;
};

// The module's exports, as the loader finds them by name.
extern "C" {
typedef OdRxModule* (*OdRxCreateModuleFn)(void** loaderHandle);
typedef void (*OdRxGetApiVersionFn)(int32_t* major, int32_t* minor, int32_t* build, int32_t* patch);
}
