#include "drawing_check.h"

#include <memory>

#include "catalog/CIBancoDados.h"
#include "drawing/CIPinos.h"
#include "placed_pairing.h"
#include "zrcom/com_error.h"

void checkActiveDrawing(CheckReport& report, zr::PinCatalogue* source) {
  CheckCatalogue catalogue(source ? *source : zr::DefaultPinCatalogue());
  CIPinos(&catalogue).VerificarPinos(report.records);
  pairPlacedSymbols(report.records, catalogue);
  for (const auto& record : report.records)
    if (catalogue.unknownCode(record->GetCodigo())) report.unknownCodes.insert(record->GetCodigo().toUtf8());
  std::unique_ptr<CStringList> names(CIPinos().GetConectoresDesenho());
  for (POSITION pos = names->GetHeadPosition(); pos;) report.names.push_back(names->GetNext(pos).ToUtf8());
  report.findUnchecked();
  report.findings = findingsOf(report);
}

bool openProcessCatalogue() {
  CIBancoDados* catalogue = CIBancoDados::Instance();
  return catalogue->IsConnected() || catalogue->Open() == 0;
}

std::string comErrorText(const _com_error& e) {
  const _bstr_t description = e.Description();
  const char16_t* text = description;
  if (text && *text) return OdString(text).toUtf8();
  return OdString(e.ErrorMessage()).toUtf8();
}
