#include "host_session.h"

#include <chrono>
#include <cstdlib>

#include "drawing_input.h"

#include "zrfx/FxDocumentManager.h"
#include "zrdwg/OdDbDatabase.h"
#include "dialog_driver.h"
#ifdef ZRHOST_HAVE_ZRUI
#include "zrui/metrics.h"
#include "zrui/msgbox.h"
#endif
#include "file_dialog_responder.h"
#include "message_box_responder.h"
#include "scheme_console.h"
#include "scheme_guard.h"
#include "scheme_module_functions.h"
#include "terminal.h"
#include "terminal_front_end.h"

namespace zrhost {

namespace {
CFxDocumentManager& manager() { return *GetFxSystemServices()->GetDocumentManager(); }

// How long a dialog may wait for a queued action: $ZRHOST_DIALOG_WAIT_MS,
// else five seconds.
[[maybe_unused]] std::chrono::milliseconds dialogWaitLimit() {
  const char* text = std::getenv("ZRHOST_DIALOG_WAIT_MS");
  if (text && *text) {
    char* end = nullptr;
    long ms = std::strtol(text, &end, 10);
    if (end && !*end && ms > 0) return std::chrono::milliseconds(ms);
    printErr(std::string("zrhost: ZRHOST_DIALOG_WAIT_MS must be a number of milliseconds; using 5000\n"));
  }
  return std::chrono::milliseconds(5000);
}
}  // namespace

HostSession::HostSession(const HostOptions& options) : options_(options), changes_(manager()) {
  setDrawingChanges(&changes_);
  manager().SetScriptEnvironment(&environment_);
  installMessageBoxResponder();
#ifdef ZRHOST_HAVE_ZRUI
  // Dialogs are laid out on character cells, so that the terminal, the text
  // snapshots and the pictures show every frame where a person expects it.
  zrui::SetMetricsProfile(zrui::MetricsProfile::Text);
  // Message boxes answer in the person's language (their buttons' captions).
  zrui::SetMessageBoxLocale(
      zrui::MessagesLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG")));
  installDialogDriver(dialogWaitLimit());
#endif
  installFileDialogResponder();
  attachTerminalFrontEnd();
  OdResBufPtr program = OdResBuf::newRb(OdResBuf::kDxfText, OdString::fromUtf8(options.program));
  OdDbDatabase::setHostSysVar(OdString(u"PROGRAM"), program.get());
}

HostSession::~HostSession() { shutdown(); }

void HostSession::shutdown() {
  detachTerminalFrontEnd();
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
  setDrawingChanges(nullptr);
  manager().SetScriptEnvironment(nullptr);
#ifdef ZRHOST_HAVE_ZRUI
  removeDialogDriver();
#endif
  removeMessageBoxResponder();
  removeFileDialogResponder();
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
  int status = 0;
  for (const HostAction& action : options_.actions) {
    status = action.kind == HostAction::kEval ? runEval(action.text) : runScript(action.text);
    if (status != 0) break;
  }
  if (status == 0 && options_.console) status = runConsole();
  const std::vector<std::string> unsaved = changes_.unsaved();
  if (!unsaved.empty()) printErr("zrhost: not saved: " + joinPaths(unsaved) + "\n");
  return status;
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
