#include "host_session.h"

#include "drawing_input.h"

#include "FxDocumentManager.h"
#include "OdDbDatabase.h"
#include "message_box_responder.h"
#include "scheme_console.h"
#include "scheme_guard.h"
#include "scheme_module_functions.h"
#include "terminal.h"

namespace zrhost {

namespace {
CFxDocumentManager& manager() { return *GetFxSystemServices()->GetDocumentManager(); }
}  // namespace

HostSession::HostSession(const HostOptions& options) : options_(options) {
  manager().SetScriptEnvironment(&environment_);
  installMessageBoxResponder();
  OdResBufPtr program = OdResBuf::newRb(OdResBuf::kDxfText, OdString::fromUtf8(options.program));
  OdDbDatabase::setHostSysVar(OdString(u"PROGRAM"), program.get());
}

HostSession::~HostSession() { shutdown(); }

void HostSession::shutdown() {
  if (module_) {
    try {
      module_->shutdown();
    } catch (const std::exception& e) {
      printErr(std::string("zrhost: the module failed to uninitialise: ") + e.what() + "\n");
    } catch (...) {
      printErr("zrhost: the module failed to uninitialise\n");
    }
  }
  setSchemeModule(nullptr);
  manager().CloseAll();
  manager().SetScriptEnvironment(nullptr);
  removeMessageBoxResponder();
  OdDbDatabase::setHostSysVar(OdString(u"PROGRAM"), nullptr);
}

int HostSession::openDrawings() {
  int opened = 0;
  for (const std::string& path : options_.drawings) {
    try {
      // A folder or a DWG file is named as such, not as a DXF that failed.
      checkDrawingPath(path);
      if (path == "-") {
        manager().AddDocument(readDrawing(path), OdString::fromUtf8(drawingName(path)));
      } else {
        manager().OpenDocument(OdString::fromUtf8(path));
      }
      ++opened;
    } catch (const DrawingInputError& e) {
      printErr(std::string("zrhost: cannot open ") + e.what() + "\n");
    } catch (const OdError& e) {
      printErr("zrhost: cannot open " + path + ": " + e.description().toUtf8() + "\n");
    }
  }
  return opened;
}

void HostSession::loadModule() {
  if (options_.noModule) return;
  const std::string path = options_.module ? *options_.module : findModule(programFolder());
  module_ = std::make_unique<LoadedModule>(path);
  setSchemeModule(module_.get());
  module_->initialise();
  refreshModuleFunctionProcedures();
}

int HostSession::run() {
  for (const HostAction& action : options_.actions) {
    const int status = action.kind == HostAction::kEval ? runEval(action.text) : runScript(action.text);
    if (status != 0) return status;
  }
  return options_.console ? runConsole() : 0;
}

int runHost(const HostOptions& options) {
  markSchemeThread();
  if (!initScheme()) return 2;
  HostSession session(options);
  // The others open and the run goes on, but it did not do all it was asked.
  const bool allOpened = session.openDrawings() == static_cast<int>(options.drawings.size());
  try {
    session.loadModule();
  } catch (const ModuleLoadError& e) {
    printErr(std::string("zrhost: ") + e.what() + "\n");
    return 2;
  } catch (const OdError& e) {
    printErr("zrhost: the module failed to initialise: " + e.description().toUtf8() + "\n");
    return 2;
  } catch (const std::exception& e) {
    printErr(std::string("zrhost: the module failed to initialise: ") + e.what() + "\n");
    return 2;
  }
  const int status = session.run();
  return status == 0 && !allOpened ? 2 : status;
}

}  // namespace zrhost
