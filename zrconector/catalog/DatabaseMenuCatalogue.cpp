// The catalogue tree's reads from the process's catalogue database.
#include "catalog/DatabaseMenuCatalogue.h"

#include "catalog/CIBancoDados.h"

namespace zr {

namespace {

class DatabaseMenus : public MenuCatalogue {
 public:
  std::unique_ptr<CELstSimbolos> SimbolosNivel(CESimbolo& todos, const CString& nivel) override {
    return CIBancoDados::Instance()->GetSimbolosNivel(todos, nivel);
  }
  std::unique_ptr<CELstItens> ItensNivel(CELstSimbolos& simbolos, CESimbolo& todos, const CString& nivel) override {
    return CIBancoDados::Instance()->GetItensNivel(simbolos, todos, nivel);
  }
  std::unique_ptr<CStringList> PinosConector(const CString& conector) override {
    return std::unique_ptr<CStringList>(CIBancoDados::Instance()->GetPinosConector(conector));
  }
  CString NomePino(const CString& pino) override { return CIBancoDados::Instance()->GetNomePino(pino); }
  CString NivelMenu(const CString& menu) override { return CIBancoDados::Instance()->GetNivelMenu(menu); }
};

}  // namespace

MenuCatalogue& DatabaseMenuCatalogue() {
  static DatabaseMenus catalogue;
  return catalogue;
}

}  // namespace zr
