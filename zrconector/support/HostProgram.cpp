#include "support/HostProgram.h"

#include "zrfx/FxDocumentManager.h"

OdDbDatabasePtr ActiveDrawing() {
  CFxDocument* doc = ACTIVE_DOCUMENT();
  if (!doc) return OdDbDatabasePtr();
  CFxDatabase* fx = doc->GetFxDatabase();
  if (!fx) return OdDbDatabasePtr();
  return OdDbDatabasePtr(fx->database());
}

OdString HostProgram() {
  OdDbDatabasePtr db = ActiveDrawing();
  if (db.isNull()) return OdString();
  OdResBufPtr value = db->getSysVar(OdString(u"PROGRAM"));
  return value.isNull() ? OdString() : value->getString();
}
