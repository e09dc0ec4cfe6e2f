#include "module/CommandFunctions.h"

#include <memory>

#include "drawing/CIDicConectores.h"
#include "module/CommandFrame.h"
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

// A function whose work is not built yet: inside the frame it takes its
// arguments, yields its failure result and says so in a message box.
int notAvailableYet(const OdChar* name, zr::FailureResult failure) {
  return zr::RunCommand(failure, [&](CFxFunctionInterface& functions) {
    zr::Arguments args(functions);
    if (failure == zr::FailureResult::kNil) {
      functions.ReturnNil();
    } else {
      functions.ReturnVoid();
    }
    const OdString text = OdString(u"A função ") + OdString(name) + OdString(u" ainda não está disponível.");
    AfxMessageBox(text.c_str(), MB_OK | MB_ICONINFORMATION);
  });
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

int zrConectores() { return notAvailableYet(u"zrConectores", zr::FailureResult::kVoid); }
int SelecaoConector() { return notAvailableYet(u"SelecaoConector", zr::FailureResult::kNil); }
int PerguntaInserirPinoConectado() {
  return notAvailableYet(u"PerguntaInserirPinoConectado", zr::FailureResult::kNil);
}

int AtualizarDicConectores() {
  return zr::RunCommand(zr::FailureResult::kVoid, [](CFxFunctionInterface& functions) {
    CIDicConectores().Atualizar();
    functions.ReturnVoid();
  });
}

int GetEnameConector() {
  return zr::RunCommand(zr::FailureResult::kNil, [](CFxFunctionInterface& functions) {
    zr::Arguments args(functions);
    functions.ReturnNil();
    const OdChar* name = args.firstString();
    if (!name) return;
    OdDbObjectId id = CIDicConectores().GetConector(OdString(name));
    if (id.isNull()) return;
    ads_name ename = {0, 0};
    CFxAPI::GetADSName(id, ename);
    functions.ReturnEntityName(ename);
  });
}

int BuscaListaConectores() {
  return zr::RunCommand(zr::FailureResult::kNil, [](CFxFunctionInterface& functions) {
    functions.ReturnNil();
    std::unique_ptr<CStringList> lines(CIDicConectores().ListaConectores());
    if (!lines || lines->IsEmpty()) return;
    // One string node per line, in the list's order, each string a copy of
    // its own; the host takes what it needs during the call.
    resbuf* chain = nullptr;
    resbuf** tail = &chain;
    for (POSITION pos = lines->GetHeadPosition(); pos;) {
      resbuf* node = fxNewNode(RTSTR);
      node->resval.rstring = fxNewString(OdString(lines->GetNext(pos).GetString()));
      *tail = node;
      tail = &node->rbnext;
    }
    functions.ReturnList(chain);
    fxReleaseChain(chain);
  });
}
