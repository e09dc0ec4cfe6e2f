// NovoConector (component key; optional reference): asks the user for the
// name of a new connector instance and returns (name, "S"/"N") or nil.
#include <memory>

#include "catalog/CIBancoDados.h"
#include "dialogs/CINovoConector.h"
#include "drawing/CICad.h"
#include "drawing/CIPinos.h"
#include "module/CommandFrame.h"
#include "module/CommandFunctions.h"

namespace {

// The component's reference prefix (ZR_KEY_TAG) for the standard in use;
// empty when the catalogue has no row for it.
CString PrefixoReferencia(const OdChar* componente) {
  const OdString norma = CICad().GetVariavel(u"*NORMA_UTILIZADA*", OdString());
  CString keyTag, keyOld, dwg, dwg2d, dwg3d, dwgUn, width, explode, lista, consist, rotaAt, equipo;
  CIBancoDados::Instance()->GetDadosComponente(componente, norma.c_str(), keyTag, keyOld, dwg, dwg2d, dwg3d, dwgUn,
                                               width, explode, lista, consist, rotaAt, equipo);
  return keyTag;
}

}  // namespace

int NovoConector() {
  return zr::RunCommand(zr::FailureResult::kNil, [](CFxFunctionInterface& functions) {
    CString referencia;
    {
      zr::Arguments args(functions);
      if (const OdChar* componente = args.firstString()) {
        const CString prefixo = PrefixoReferencia(componente);
        const resbuf* second = args.first()->rbnext;
        if (second && second->restype == RTSTR) referencia = second->resval.rstring;
        if (referencia.IsEmpty()) referencia = CICad().ProximaReferencia(OdString(prefixo.GetString())).c_str();
      }
    }  // the argument chain is released before the dialog is shown

    auto dialog = std::make_unique<CINovoConector>(referencia);
    dialog->SetNomesEmUso(CIPinos().GetConectoresDesenho());
    if (dialog->DoModal() != IDOK) {
      functions.ReturnNil();
      return;
    }
    resbuf* chain = fxNewNode(RTSTR);
    chain->resval.rstring = fxNewString(OdString(dialog->GetNome().GetString()));
    chain->rbnext = fxNewNode(RTSTR);
    chain->rbnext->resval.rstring = fxNewString(OdString(dialog->IsNomeAutomatico() ? u"S" : u"N"));
    functions.ReturnList(chain);
    fxReleaseChain(chain);
  });
}
