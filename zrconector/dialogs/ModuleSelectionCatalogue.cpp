// The selection dialog's reads served by the module: the active drawing, the
// catalogue database, the host's functions and the texts component.
#include "dialogs/ModuleSelectionCatalogue.h"

#include "catalog/CIBancoDados.h"
#include "catalog/DatabaseMenuCatalogue.h"
#include "drawing/CICad.h"
#include "drawing/CIPinos.h"
#include "zrfx/FxDocumentManager.h"
#include "settings/CITexto.h"

namespace zr {

namespace {

class ModuleSources : public SelectionCatalogue {
 public:
  ModuleSources() : m_texts(std::make_unique<CITexto>()) {}

  std::unique_ptr<CELstSimbolos> SimbolosNivel(CESimbolo& todos, const CString& nivel) override {
    return DatabaseMenuCatalogue().SimbolosNivel(todos, nivel);
  }
  std::unique_ptr<CELstItens> ItensNivel(CELstSimbolos& simbolos, CESimbolo& todos, const CString& nivel) override {
    return DatabaseMenuCatalogue().ItensNivel(simbolos, todos, nivel);
  }
  std::unique_ptr<CStringList> PinosConector(const CString& conector) override {
    return DatabaseMenuCatalogue().PinosConector(conector);
  }
  CString NomePino(const CString& pino) override { return DatabaseMenuCatalogue().NomePino(pino); }
  CString NivelMenu(const CString& menu) override { return DatabaseMenuCatalogue().NivelMenu(menu); }

  ConectoresPinos VerificarPinos() override {
    ConectoresPinos records;
    CIPinos().VerificarPinos(records);
    return records;
  }
  CString IdPino(const CString& pino) override { return CIBancoDados::Instance()->GetIdPino(pino); }
  CString KeyTag(const CString& componente, const CString& norma) override {
    CString tag, old, dwg, dwg2d, dwg3d, un, width, explode, lista, consist, rota, equipo;
    CIBancoDados::Instance()->GetDadosComponente(componente, norma, tag, old, dwg, dwg2d, dwg3d, un, width, explode,
                                                 lista, consist, rota, equipo);
    return tag;
  }
  CString Norma() override {
    return CString(CICad().GetVariavel(OdString(u"*NORMA_UTILIZADA*"), OdString()).c_str());
  }
  CString ProximoNome(const CString& prefixo) override {
    return CString(CICad().ProximaReferencia(OdString(static_cast<LPCTSTR>(prefixo))).c_str());
  }
  CString Texto(int code) override { return m_texts->GetTexto(code); }

 private:
  std::unique_ptr<CITexto> m_texts;
};

}  // namespace

std::unique_ptr<SelectionCatalogue> NewModuleSelectionCatalogue() { return std::make_unique<ModuleSources>(); }

}  // namespace zr
