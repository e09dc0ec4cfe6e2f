#pragma once
// Loads the module from its shared library through its two exports and runs
// its lifecycle: create the module object, initialise, and at the end
// uninitialise and delete it.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "zrdwg/OdRxModule.h"

namespace zrhost {

// The module cannot be used: the file is missing, unreadable, damaged or not a
// library, an export is missing, the version is not one this host speaks, or
// it made no object.
class ModuleLoadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Where the module is looked for when neither --module nor $ZRHOST_MODULE
// names it: libzrconector.so beside the program, in ../lib (installed) and in
// ../zrconector (the build tree). exeDir is the folder of the running program.
std::vector<std::string> moduleCandidates(const std::string& exeDir);
// $ZRHOST_MODULE when set, else the first candidate that exists; throws
// ModuleLoadError listing every place looked at when none does.
std::string findModule(const std::string& exeDir);
// The folder of the running program (from /proc/self/exe).
std::string programFolder();

class LoadedModule {
 public:
  // Opens the library and finds odrxCreateModuleObject and odrxGetAPIVersion.
  // Throws ModuleLoadError naming the file and what is wrong. A folder, a file
  // that cannot be read and a library cut short (fewer bytes than its headers
  // need) are refused before the dynamic loader sees them.
  explicit LoadedModule(const std::string& path);
  // Uninitialises and deletes the module object when that has not been done.
  ~LoadedModule();
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;

  // The version the module declares (major, minor, build, patch).
  const int32_t* apiVersion() const { return version_; }
  const std::string& path() const { return path_; }

  // Creates the module object (handing it the library's handle) and calls
  // initApp. Throws ModuleLoadError when no object is made; exceptions from
  // initApp pass through.
  void initialise();
  // uninitApp then deleteModule; does nothing unless initialised. The library
  // stays loaded: the functions that the module registered stay with the open
  // documents (uninitialisation keeps them) and point into it.
  void shutdown();

  // The module object while initialised, else null.
  OdRxModule* object() const { return object_; }

 private:
  std::string path_;
  void* library_ = nullptr;
  OdRxCreateModuleFn create_ = nullptr;
  int32_t version_[4] = {0, 0, 0, 0};
  OdRxModule* object_ = nullptr;
};

}  // namespace zrhost
