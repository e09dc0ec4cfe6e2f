#include "scheme_drawings.h"

#include <libguile.h>

#include <string>

#include "zrfx/FxDocumentManager.h"
#include "zrdwg/OdDbHandle.h"
#include "connector_names.h"
#include "drawing_changes.h"
#include "scheme_guard.h"
#include "scheme_module_functions.h"
#include "scheme_registry.h"
#include "scheme_values.h"

namespace zrhost {
namespace {

CFxDocumentManager& manager() { return *GetFxSystemServices()->GetDocumentManager(); }

int indexOf(const CFxDocument* doc) {
  for (int i = 0; i < manager().DocumentCount(); ++i)
    if (manager().GetDocument(i) == doc) return i;
  return -1;
}

// The drawing named by an index or a path; the active one when absent.
CFxDocument* documentArg(SCM which) {
  if (SCM_UNBNDP(which)) {
    CFxDocument* doc = manager().ActiveDocument();
    if (!doc) throw SchemeFailure("host-error", "no drawing is open");
    return doc;
  }
  if (scm_is_exact_integer(which)) {
    const int count = manager().DocumentCount();
    if (!scm_is_signed_integer(which, 0, count - 1))
      throw SchemeFailure("out-of-range", "no drawing has that index (" + std::to_string(count) + " open)");
    return manager().GetDocument(scm_to_int(which));
  }
  const OdString path = OdString::fromUtf8(stringArg(which, "a drawing (index or path)"));
  for (int i = 0; i < manager().DocumentCount(); ++i)
    if (manager().GetDocument(i)->GetPathName() == path) return manager().GetDocument(i);
  throw SchemeFailure("out-of-range", "no open drawing has the path " + path.toUtf8());
}

SCM drawingOpen(SCM path) {
  return schemeGuard("drawing-open", [&]() -> SCM {
    const std::string file = stringArg(path, "the drawing's path");
    CFxDocument* doc = manager().OpenDocument(OdString::fromUtf8(file));
    refreshModuleFunctionProcedures();
    return scm_from_int(indexOf(doc));
  });
}

SCM drawingClose(SCM which) {
  return schemeGuard("drawing-close", [&]() -> SCM {
    CFxDocument* doc = documentArg(which);
    if (moduleFunctionRunning())
      throw SchemeFailure("host-error", "a drawing cannot be closed while a module function runs");
    manager().CloseDocument(doc);
    return SCM_UNSPECIFIED;
  });
}

SCM drawings() {
  return schemeGuard("drawings", [&]() -> SCM {
    SCM paths = SCM_EOL;
    for (int i = manager().DocumentCount() - 1; i >= 0; --i)
      paths = scm_cons(fromUtf8(manager().GetDocument(i)->GetPathName().toUtf8()), paths);
    return paths;
  });
}

SCM drawingActive() {
  return schemeGuard("drawing-active", [&]() -> SCM {
    CFxDocument* doc = manager().ActiveDocument();
    return doc ? scm_from_int(indexOf(doc)) : SCM_BOOL_F;
  });
}

SCM drawingActivate(SCM which) {
  return schemeGuard("drawing-activate", [&]() -> SCM {
    CFxDocument* doc = documentArg(which);
    manager().SetActiveDocument(doc);
    refreshModuleFunctionProcedures();
    return scm_from_int(indexOf(doc));
  });
}

SCM drawingSave(SCM which) {
  return schemeGuard("drawing-save", [&]() -> SCM {
    CFxDocument* doc = documentArg(which);
    doc->GetFxDatabase()->database()->writeDxf(doc->GetPathName());
    if (drawingChanges()) drawingChanges()->markSaved(doc);
    return SCM_UNSPECIFIED;
  });
}

SCM drawingSaveAs(SCM path, SCM which) {
  return schemeGuard("drawing-save-as", [&]() -> SCM {
    const OdString file = OdString::fromUtf8(stringArg(path, "the new path"));
    CFxDocument* doc = documentArg(which);
    doc->GetFxDatabase()->database()->writeDxf(file);
    doc->SetPathName(file);
    if (drawingChanges()) drawingChanges()->markSaved(doc);
    return SCM_UNSPECIFIED;
  });
}

SCM drawingsUnsaved() {
  return schemeGuard("drawings-unsaved", [&]() -> SCM {
    SCM paths = SCM_EOL;
    if (drawingChanges())
      for (const std::string& path : drawingChanges()->unsaved()) paths = scm_cons(fromUtf8(path), paths);
    return scm_reverse_x(paths, SCM_EOL);
  });
}

SCM drawingConnectorNames(SCM which) {
  return schemeGuard("drawing-connector-names", [&]() -> SCM {
    CFxDocument* doc = documentArg(which);
    SCM names = SCM_EOL;
    for (const OdString& name : connectorNames(*doc->GetFxDatabase()->database()))
      names = scm_cons(fromUtf8(name.toUtf8()), names);
    return scm_reverse_x(names, SCM_EOL);
  });
}

SCM entityNameHandle(SCM entity) {
  return schemeGuard("entity-name-handle", [&]() -> SCM {
    ads_name name;
    entityNameOf(entity, name);
    const OdDbObjectId id = CFxAPI::GetObjectId(name);
    if (id.isNull()) return SCM_BOOL_F;
    return fromUtf8(id.getHandle().ascii().toUtf8());
  });
}

SCM handleToEntityName(SCM handle, SCM which) {
  return schemeGuard("handle->entity-name", [&]() -> SCM {
    const OdString text = OdString::fromUtf8(stringArg(handle, "the handle"));
    CFxDocument* doc = documentArg(which);
    const OdDbObjectId id = doc->GetFxDatabase()->database()->getOdDbObjectId(OdDbHandle(text));
    ads_name name;
    if (id.isNull() || CFxAPI::GetADSName(id, name) != RTNORM) return SCM_BOOL_F;
    return makeEntityName(name);
  });
}

SCM systemVariable(SCM variable, SCM which) {
  return schemeGuard("system-variable", [&]() -> SCM {
    const OdString name = OdString::fromUtf8(stringArg(variable, "the variable's name"));
    CFxDocument* doc = documentArg(which);
    OdResBufPtr value = doc->GetFxDatabase()->database()->getSysVar(name);
    if (value.isNull()) return SCM_BOOL_F;
    return fromUtf8(value->valueAsText().toUtf8());
  });
}

const SchemeProcedure kProcedures[] = {
    {"drawing-open", 1, 0, false, subr(drawingOpen),
     "(drawing-open PATH): opens a DXF drawing as a document, makes it active and returns its index. Modules "
     "are told that it is ready."},
    {"drawing-close", 0, 1, false, subr(drawingClose),
     "(drawing-close [DRAWING]): closes a drawing (index or path; the active one by default) without saving. "
     "Modules are told that it closes."},
    {"drawings", 0, 0, false, subr(drawings), "(drawings): the paths of the open drawings, by index."},
    {"drawing-active", 0, 0, false, subr(drawingActive),
     "(drawing-active): the index of the active drawing, or #f when none is open."},
    {"drawing-activate", 1, 0, false, subr(drawingActivate),
     "(drawing-activate DRAWING): makes the drawing (index or path) active; returns its index."},
    {"drawing-save", 0, 1, false, subr(drawingSave),
     "(drawing-save [DRAWING]): writes the drawing to its path (atomically: a failed save leaves the file)."},
    {"drawing-save-as", 1, 1, false, subr(drawingSaveAs),
     "(drawing-save-as PATH [DRAWING]): writes the drawing to PATH, which becomes its path."},
    {"drawings-unsaved", 0, 0, false, subr(drawingsUnsaved),
     "(drawings-unsaved): the paths of the open drawings changed since they were opened or last saved."},
    {"drawing-connector-names", 0, 1, false, subr(drawingConnectorNames),
     "(drawing-connector-names [DRAWING]): the connector names placed in model space (the first \"ZR_PINO\" "
     "extended-data value of each block reference), each once, in drawing order."},
    {"entity-name-handle", 1, 0, false, subr(entityNameHandle),
     "(entity-name-handle ENAME): the handle (hexadecimal text) of the object an entity name stands for, or #f "
     "when its drawing is closed."},
    {"handle->entity-name", 1, 1, false, subr(handleToEntityName),
     "(handle->entity-name HANDLE [DRAWING]): the entity name of the object with that handle, or #f."},
    {"system-variable", 1, 1, false, subr(systemVariable),
     "(system-variable NAME [DRAWING]): a system variable as text (the host's own, such as \"PROGRAM\", or the "
     "drawing's header variable), or #f."},
};

}  // namespace

void initDrawingProcedures() { defineProcedures(kProcedures); }

}  // namespace zrhost
