#include "support/HostProgram.h"

#include "zrfx/FxDocumentManager.h"
#include "zrdwg/OdDbDatabase.h"

OdString HostProgram() {
  CFxDocument* doc = ACTIVE_DOCUMENT();
  if (!doc) return OdString();
  CFxDatabase* fx = doc->GetFxDatabase();
  if (!fx) return OdString();
  OdDbDatabasePtr db(fx->database());
  if (db.isNull()) return OdString();
  OdResBufPtr value = db->getSysVar(OdString(u"PROGRAM"));
  return value.isNull() ? OdString() : value->getString();
}
