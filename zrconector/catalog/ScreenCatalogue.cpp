#include "catalog/ScreenCatalogue.h"

#include "catalog/CIBancoDados.h"
#include "settings/CITexto.h"

namespace zr {

namespace {

class DatabaseScreenCatalogue : public ScreenCatalogue {
 public:
  CString Texto(int code) override {
    if (!texts_) texts_ = std::make_unique<CITexto>();
    return texts_->GetTexto(code);
  }
  CString KeyTag(const CString& componente, const CString& norma) override {
    CString keyTag, keyOld, dwg, dwg2d, dwg3d, dwgUn, width, explode, lista, consist, rotaAt, equipo;
    CIBancoDados::Instance()->GetDadosComponente(componente, norma, keyTag, keyOld, dwg, dwg2d, dwg3d, dwgUn,
                                                   width, explode, lista, consist, rotaAt, equipo);
    return keyTag;
  }
  CString DwgComponente(const CString& componente, const CString& norma) override {
    return CIBancoDados::Instance()->GetDwgComponente(componente, norma);
  }
  CString DescricaoMenu(const CString& menu) override { return CIBancoDados::Instance()->GetDescricaoMenu(menu); }
  PinCatalogue& Pinos() override { return DefaultPinCatalogue(); }

 private:
  std::unique_ptr<CITexto> texts_;
};

}  // namespace

std::unique_ptr<ScreenCatalogue> NewDatabaseScreenCatalogue() { return std::make_unique<DatabaseScreenCatalogue>(); }

}  // namespace zr
