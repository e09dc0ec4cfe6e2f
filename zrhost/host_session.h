#pragma once
// One run of zrhost: the script environment installed in the document
// manager, the system variable "PROGRAM", the drawings opened as documents,
// the module loaded and initialised, then the console or the actions; at the
// end the module is uninitialised and deleted and the documents are closed.
//
// REQUIRES: the calling thread is in Guile mode.

#include <memory>

#include "drawing_changes.h"
#include "host_options.h"
#include "module_loader.h"
#include "script_environment.h"

namespace zrhost {

class HostSession {
 public:
  // Installs the environment, the message-box responder and "PROGRAM".
  explicit HostSession(const HostOptions& options);
  // Shuts the module down and closes every document.
  ~HostSession();
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;

  // Opens each drawing of the options ("-": standard input); one that does
  // not load is reported on standard error and the others still open.
  // Returns how many opened.
  int openDrawings();
  // Loads and initialises the module (unless --no-module). Throws
  // ModuleLoadError; what initApp throws passes through.
  void loadModule();
  // Runs the actions of the options in order (stopping at the first that
  // fails), then the console unless a script or eval was given; then names on
  // standard error the drawings whose changes were not saved. Returns the
  // exit status.
  int run();

 private:
  void shutdown();

  const HostOptions& options_;
  GuileScriptEnvironment environment_;
  DrawingChanges changes_;
  std::unique_ptr<LoadedModule> module_;
};

// The whole program after the command line was read: returns its exit status.
int runHost(const HostOptions& options);

}  // namespace zrhost
