#include "drawing_check.h"

#include <exception>
#include <memory>
#include <thread>

#include "catalog/CIBancoDados.h"
#include "drawing/CIPinos.h"
#include "placed_pairing.h"
#include "processor_spread.h"
#include "report_findings.h"
#include "zrcom/com_error.h"

namespace {

// The connector names placed in model space.
void readNames(CIPinos& pins, CheckReport& report) {
  std::unique_ptr<CStringList> names(pins.GetConectoresDesenho());
  report.names.reserve(report.names.size() + static_cast<std::size_t>(names->GetCount()));
  for (POSITION pos = names->GetHeadPosition(); pos;) report.names.push_back(names->GetNext(pos).ToUtf8());
}

// What the check takes from the drawing: the module's records, unpaired,
// and the connector names placed in model space.
void readRecords(CIPinos& pins, CheckReport& report) {
  pins.LerPinos(report.records);
  readNames(pins, report);
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

void checkDrawing(CheckReport& report, OdDbDatabasePtr drawing, const OdString& pinTag, CheckCatalogue& catalogue,
                  bool secondThread) {
  if (!secondThread) {
    {
      CIPinos pins(&catalogue, std::move(drawing), pinTag);
      readRecords(pins, report);
    }
    judgeRecords(report, catalogue);
    return;
  }
  {
    CIPinos names(&catalogue, drawing, pinTag);
    CIPinos pins(&catalogue, std::move(drawing), pinTag);
    pins.LerSimbolos(report.records);
    // Comparing the records with the catalogue needs no drawing, and the name
    // listing no catalogue: they run side by side (the catalogue is the
    // comparison's alone meanwhile).
    std::exception_ptr comparisonFailed;
    std::thread comparison = helperThread([&] {
      try {
        pins.CompararComCatalogo(report.records);
      } catch (...) {
        comparisonFailed = std::current_exception();
      }
    });
    try {
      readNames(names, report);
    } catch (...) {
      comparison.join();
      throw;
    }
    comparison.join();
    if (comparisonFailed) std::rethrow_exception(comparisonFailed);
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
