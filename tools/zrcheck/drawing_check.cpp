#include "drawing_check.h"

#include <memory>

#include "catalog/CIBancoDados.h"
#include "drawing/CIPinos.h"
#include "placed_pairing.h"
#include "zrcom/com_error.h"

namespace {

// What the check takes from the drawing: the module's records, unpaired,
// and the connector names placed in model space.
void readRecords(CIPinos& pins, CheckReport& report) {
  pins.LerPinos(report.records);
  std::unique_ptr<CStringList> names(pins.GetConectoresDesenho());
  for (POSITION pos = names->GetHeadPosition(); pos;) report.names.push_back(names->GetNext(pos).ToUtf8());
}

// The rest, from the records alone.
void judgeRecords(CheckReport& report, CheckCatalogue& catalogue) {
  pairPlacedSymbols(report.records, catalogue);
  for (const auto& record : report.records)
    if (catalogue.unknownCode(record->GetCodigo())) report.unknownCodes.insert(record->GetCodigo().toUtf8());
  report.findUnchecked();
  report.findings = findingsOf(report);
}

}  // namespace

void checkDrawing(CheckReport& report, OdDbDatabasePtr drawing, const OdString& pinTag, CheckCatalogue& catalogue) {
  {
    CIPinos pins(&catalogue, std::move(drawing), pinTag);
    readRecords(pins, report);
  }
  // The drawing goes here when the caller let it go: the pairing and the
  // findings need only the records.
  judgeRecords(report, catalogue);
}

void checkActiveDrawing(CheckReport& report) {
  RunCatalogue run(zr::DefaultPinCatalogue());
  CheckCatalogue catalogue(run);
  CIPinos pins(&catalogue);
  readRecords(pins, report);
  judgeRecords(report, catalogue);
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
