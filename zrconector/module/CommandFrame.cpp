#include "module/CommandFrame.h"

#include "catalog/CIBancoDados.h"
#include "zrfx/FxDocumentManager.h"
#include "zrcom/com_error.h"
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

// The box says only "Fatal Error"; the cause (a settings file not found, the
// folders searched, a driver's message) goes to the host's command line once
// the box is answered, so that the person or the log sees what to fix.
void printCause(CFxFunctionInterface* functions, const std::u16string& cause) {
  if (functions && !cause.empty()) functions->PrintMessage((u"Fatal Error: " + cause).c_str());
}

std::u16string causeOf(const _com_error& e) {
  _bstr_t description = e.Description();
  if (description.length() > 0) return std::u16string(description.str());
  const char16_t* message = e.ErrorMessage();
  return message ? std::u16string(message) : std::u16string();
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
  } catch (const _com_error& e) {
    setFailureResult(functions, failure);
    AfxMessageBox(u"Fatal Error", MB_OK);
    printCause(functions, causeOf(e));
  } catch (...) {
    setFailureResult(functions, failure);
    AfxMessageBox(u"Fatal Error", MB_OK);
  }
  return 1;
}

}  // namespace zr
