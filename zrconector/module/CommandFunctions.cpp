#include "CommandFunctions.h"

#include "FxDocumentManager.h"
#include "zrui/afx.h"

namespace {

struct Function {
  const OdChar* name;
  FxFunctionHandler handler;
};

// The order in which the functions are registered and removed.
const Function kFunctions[] = {
    {u"zrConectores", &zrConectores},
    {u"SelecaoConector", &SelecaoConector},
    {u"NovoConector", &NovoConector},
    {u"PerguntaInserirPinoConectado", &PerguntaInserirPinoConectado},
    {u"AtualizarDicConectores", &AtualizarDicConectores},
    {u"GetEnameConector", &GetEnameConector},
    {u"BuscaListaConectores", &BuscaListaConectores},
};

enum class Failure { kVoid, kNil };

// A function whose work is not built yet: it takes its arguments, yields the
// result it gives on failure, and says so in a message box.
int notAvailableYet(const OdChar* name, Failure failure) {
  CFxDocument* doc = ACTIVE_DOCUMENT();
  if (doc) {
    CFxFunctionInterface* functions = doc->GetFunctionInterface();
    if (resbuf* args = functions->GetArguments()) functions->ReleaseChain(args);
    if (failure == Failure::kNil) {
      functions->ReturnNil();
    } else {
      functions->ReturnVoid();
    }
  }
  const OdString text = OdString(u"A função ") + OdString(name) + OdString(u" ainda não está disponível.");
  AfxMessageBox(text.c_str(), MB_OK | MB_ICONINFORMATION);
  return 1;
}

}  // namespace

void RegisterFunctions(CFxDocument* doc) {
  if (!doc) return;
  CFxFunctionInterface* functions = doc->GetFunctionInterface();
  for (const Function& f : kFunctions) functions->AddFunction(f.name, f.handler);
}

void UnregisterFunctions(CFxDocument* doc) {
  if (!doc) return;
  CFxFunctionInterface* functions = doc->GetFunctionInterface();
  for (const Function& f : kFunctions) functions->RemoveFunction(f.name);
}

int zrConectores() { return notAvailableYet(u"zrConectores", Failure::kVoid); }
int SelecaoConector() { return notAvailableYet(u"SelecaoConector", Failure::kNil); }
int NovoConector() { return notAvailableYet(u"NovoConector", Failure::kNil); }
int PerguntaInserirPinoConectado() { return notAvailableYet(u"PerguntaInserirPinoConectado", Failure::kNil); }
int AtualizarDicConectores() { return notAvailableYet(u"AtualizarDicConectores", Failure::kVoid); }
int GetEnameConector() { return notAvailableYet(u"GetEnameConector", Failure::kNil); }
int BuscaListaConectores() { return notAvailableYet(u"BuscaListaConectores", Failure::kNil); }
