#include "module/CommandFrame.h"

#include "catalog/CIBancoDados.h"
#include "FxDocumentManager.h"
#include "zrui/afx.h"

namespace zr {

namespace {
bool g_connectionOpened = false;

void setFailureResult(CFxFunctionInterface* functions, FailureResult failure) {
  if (!functions) return;
  if (failure == FailureResult::kNil) {
    functions->ReturnNil();
  } else {
    functions->ReturnVoid();
  }
}
}  // namespace

bool ConnectionOpened() { return g_connectionOpened; }

void ResetConnectionOpenedForTesting() { g_connectionOpened = false; }

int RunCommand(FailureResult failure, const std::function<void(CFxFunctionInterface&)>& steps) {
  CFxDocument* doc = ACTIVE_DOCUMENT();
  CFxFunctionInterface* functions = doc ? doc->GetFunctionInterface() : nullptr;
  try {
    if (!g_connectionOpened) {
      CIBancoDados::Instance()->Open();
      g_connectionOpened = true;  // whatever Open answered
    }
    if (!functions) throw OdError(eNotInDatabase, OdString(u"No drawing is open"));
    steps(*functions);
  } catch (const OdError& e) {
    setFailureResult(functions, failure);
    AfxMessageBox(e.description().c_str(), MB_OK);
  } catch (...) {
    setFailureResult(functions, failure);
    AfxMessageBox(u"Fatal Error", MB_OK);
  }
  return 1;
}

}  // namespace zr
