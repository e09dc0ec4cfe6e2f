#include "scheme_pictures.h"

#include <libguile.h>

#include <memory>
#include <string>

#include "FxDocumentManager.h"
#include "catalog/CIBancoDados.h"
#include "check_report.h"
#include "drawing/CIPinos.h"
#include "drawing_picture.h"
#include "scheme_guard.h"
#include "scheme_registry.h"
#include "scheme_values.h"
#include "zrcom/com_error.h"

namespace zrhost {
namespace {

// The pin check of the active drawing, as zrcheck reports it: the module's
// connector records, the names placed in model space, and the findings (all
// of severity error: the host has no severity settings).
CheckReport checkActiveDrawing(CFxDocument& doc) {
  CheckReport report;
  report.drawing = doc.GetPathName().toUtf8();
  try {
    // The module opens its catalogue on its first call; the check may come first.
    CIBancoDados* catalogue = CIBancoDados::Instance();
    if (!catalogue->IsConnected() && catalogue->Open() != 0)
      throw SchemeFailure("host-error", "the catalogue could not be opened");
    CIPinos().VerificarPinos(report.records);
    std::unique_ptr<CStringList> names(CIPinos().GetConectoresDesenho());
    for (POSITION pos = names->GetHeadPosition(); pos;) report.names.push_back(names->GetNext(pos).ToUtf8());
  } catch (const _com_error& e) {
    const _bstr_t description = e.Description();
    const char16_t* text = description;
    throw SchemeFailure("host-error", "the pin check could not use the catalogue: " +
                                          OdString(text && *text ? text : e.ErrorMessage()).toUtf8());
  }
  report.findUnchecked();
  report.findings = findingsOf(report);
  return report;
}

SCM checkPicture(SCM path) {
  return schemeGuard("check-picture", [&]() -> SCM {
    const std::string file = stringArg(path, "the picture's path");
    CFxDocument* doc = GetFxSystemServices()->GetDocumentManager()->ActiveDocument();
    if (!doc) throw SchemeFailure("host-error", "no drawing is open");
    const CheckReport report = checkActiveDrawing(*doc);
    const std::string why = picture::writePicture(file, picture::formatOf(file), *doc->GetFxDatabase()->database(),
                                                  report.findings, report.drawing);
    if (!why.empty()) throw SchemeFailure("host-error", why);
    return scm_from_size_t(report.findings.size());
  });
}

const SchemeProcedure kProcedures[] = {
    {"check-picture", 1, 0, false, subr(checkPicture),
     "(check-picture PATH): runs the module's pin check on the active drawing and writes its model space with "
     "each finding marked where it is (coloured by rule, named by connector and pin; missing pins beside their "
     "connector) to PATH: an HTML page with the table of findings when PATH ends in .html or .htm, else SVG. "
     "Written whole, then renamed into place. Returns the number of findings."},
};

}  // namespace

void initPictureProcedures() { defineProcedures(kProcedures); }

}  // namespace zrhost
