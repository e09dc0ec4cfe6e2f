#include "module/CommandFunctions.h"

#include <memory>
#include <vector>

#include "dialogs/CITelaConectores.h"
#include "catalog/CIBancoDados.h"
#include "dialogs/CIDlgSelConector.h"
#include "drawing/CIDicConectores.h"
#include "module/CommandFrame.h"
#include "settings/CITexto.h"
#include "zrfx/FxDocumentManager.h"
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

// Returns a list of string nodes, one per value, in order; each string a copy
// of its own (the host copies what it needs during the call).
void returnStrings(CFxFunctionInterface& functions, const std::vector<CString>& values) {
  resbuf* chain = nullptr;
  resbuf** tail = &chain;
  for (const CString& value : values) {
    resbuf* node = fxNewNode(RTSTR);
    node->resval.rstring = fxNewString(OdString(static_cast<LPCTSTR>(value)));
    *tail = node;
    tail = &node->rbnext;
  }
  functions.ReturnList(chain);
  fxReleaseChain(chain);
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

int zrConectores() {
  return zr::RunCommand(zr::FailureResult::kVoid, [](CFxFunctionInterface& functions) {
    // Arguments are not read; the screen's answer is not used.
    auto tela = std::make_unique<CITelaConectores>();
    tela->DoModal();
    tela.reset();
    functions.ReturnVoid();
  });
}
int SelecaoConector() {
  return zr::RunCommand(zr::FailureResult::kNil, [](CFxFunctionInterface& functions) {
    zr::Arguments args(functions);
    // Without a string first, the host gets no result at all.
    const OdChar* pino = args.firstString();
    if (!pino) return;
    const resbuf* second = args.first()->rbnext;
    std::unique_ptr<CIDlgSelConector> dialog;
    if (second && second->restype == RTSTR) {
      CIBancoDados* bd = CIBancoDados::Instance();
      std::unique_ptr<CStringList> contraPecas(bd->GetContraPecas(second->resval.rstring));
      std::unique_ptr<CStringList> pinos(bd->GetPinosContraPecas(second->resval.rstring));
      dialog = std::make_unique<CIDlgSelConector>(pinos.release(), contraPecas.release(), nullptr);
    } else {
      dialog = std::make_unique<CIDlgSelConector>(pino, nullptr);
    }
    if (dialog->DoModal() == 1) {
      returnStrings(functions, {dialog->GetNome(), dialog->GetCodigo(), dialog->GetPino(), dialog->GetResultado4a()});
    } else {
      functions.ReturnNil();
    }
  });
}

int PerguntaInserirPinoConectado() {
  return zr::RunCommand(zr::FailureResult::kNil, [](CFxFunctionInterface& functions) {
    zr::Arguments args(functions);
    auto texto = std::make_unique<CITexto>(CString(CITexto::kModuleKey));
    functions.ReturnNil();
    const resbuf* first = args.first();
    const resbuf* second = first ? first->rbnext : nullptr;
    const CString a = first && first->restype == RTSTR ? CString(first->resval.rstring) : CString();
    const CString b = second && second->restype == RTSTR ? CString(second->resval.rstring) : CString();
    if (a.IsEmpty() || b.IsEmpty()) return;
    if (AfxMessageBox(texto->GetTexto(35), MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    CIBancoDados* bd = CIBancoDados::Instance();
    std::unique_ptr<CStringList> pinos(bd->GetPinosContraPecas(b));
    std::unique_ptr<CStringList> contraPecas(bd->GetContraPecas(b));
    if (pinos->IsEmpty()) {
      AfxMessageBox(texto->GetTexto(36), MB_OK | MB_ICONINFORMATION);
      return;
    }
    CIDlgSelConector dialog(pinos.release(), contraPecas.release(), nullptr);
    if (dialog.DoModal() == 1)
      returnStrings(functions, {dialog.GetNome(), dialog.GetCodigo(), dialog.GetPino(), dialog.GetResultado4b()});
  });
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
