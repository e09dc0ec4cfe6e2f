#include "scheme_pictures.h"

#include <libguile.h>

#include <string>

#include "zrfx/FxDocumentManager.h"
#include "drawing_check.h"
#include "drawing_picture.h"
#include "scheme_guard.h"
#include "scheme_registry.h"
#include "scheme_values.h"
#include "zrcom/com_error.h"

namespace zrhost {
namespace {

// The pin check of the active drawing, as zrcheck runs it (drawing_check.h:
// the placed symbols paired alone), all findings of severity error: the host
// has no severity settings.
CheckReport pinCheckOf(CFxDocument& doc) {
  CheckReport report;
  report.drawing = doc.GetPathName().toUtf8();
  try {
    if (!openProcessCatalogue()) throw SchemeFailure("host-error", "the catalogue could not be opened");
    checkActiveDrawing(report);
  } catch (const _com_error& e) {
    throw SchemeFailure("host-error", "the pin check could not use the catalogue: " + comErrorText(e));
  }
  return report;
}

SCM checkPicture(SCM path) {
  return schemeGuard("check-picture", [&]() -> SCM {
    const std::string file = stringArg(path, "the picture's path");
    CFxDocument* doc = GetFxSystemServices()->GetDocumentManager()->ActiveDocument();
    if (!doc) throw SchemeFailure("host-error", "no drawing is open");
    const CheckReport report = pinCheckOf(*doc);
    const std::string why = picture::writePicture(file, picture::formatOf(file), *doc->GetFxDatabase()->database(),
                                                  report.findings, report.drawing);
    if (!why.empty()) throw SchemeFailure("host-error", why);
    return scm_from_size_t(report.findings.size());
  });
}

const SchemeProcedure kProcedures[] = {
    {"check-picture", 1, 0, false, subr(checkPicture),
     "(check-picture PATH): runs zrcheck's pin check on the active drawing and writes its model space with "
     "each finding marked where it is (coloured by rule, named by connector and pin; missing pins beside their "
     "connector) to PATH: an HTML page with the table of findings when PATH ends in .html or .htm, else SVG. "
     "Written whole, then renamed into place. Returns the number of findings."},
};

}  // namespace

void initPictureProcedures() { defineProcedures(kProcedures); }

}  // namespace zrhost
