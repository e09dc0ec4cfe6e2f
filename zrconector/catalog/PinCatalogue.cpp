// The pin check's catalogue reads from the process's catalogue database.
#include "catalog/CIBancoDados.h"
#include "catalog/PinCatalogue.h"

namespace zr {

namespace {

class DatabaseCatalogue : public PinCatalogue {
 public:
  std::unique_ptr<CStringList> LinhasPinos(const OdString& code) override {
    return std::unique_ptr<CStringList>(CIBancoDados::Instance()->GetLinhasPinosConector(code.c_str()));
  }
  bool LinhasPinosJuntas(const std::vector<OdString>& codes, std::vector<std::unique_ptr<CStringList>>& rows) override {
    return CIBancoDados::Instance()->GetLinhasPinosConectores(conectoresOf(codes), rows);
  }
  std::unique_ptr<CStringList> ContraPecas(const OdString& code) override {
    return std::unique_ptr<CStringList>(CIBancoDados::Instance()->GetContraPecas(code.c_str()));
  }
  bool ContraPecasJuntas(const std::vector<OdString>& codes, std::vector<std::unique_ptr<CStringList>>& mates) override {
    return CIBancoDados::Instance()->GetContraPecasConectores(conectoresOf(codes), mates);
  }

 private:
  static std::vector<LPCTSTR> conectoresOf(const std::vector<OdString>& codes) {
    std::vector<LPCTSTR> conectores;
    conectores.reserve(codes.size());
    for (const OdString& code : codes) conectores.push_back(code.c_str());
    return conectores;
  }
};

}  // namespace

std::shared_ptr<const PinRows> PinCatalogue::Rows(const OdString& code) {
  const std::unique_ptr<CStringList> rows = LinhasPinos(code);
  return std::make_shared<const PinRows>(rows.get());
}

PinCatalogue& DefaultPinCatalogue() {
  static DatabaseCatalogue catalogue;
  return catalogue;
}

}  // namespace zr
