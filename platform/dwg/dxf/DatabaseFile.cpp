// OdDbDatabase's entry points to the file format: reading, making from the
// template and writing. They stand here, above the object model, so that the
// model compiles without the format.
#include "dxf/DxfLoader.h"
#include "dxf/DxfWriter.h"
#include "model/DatabaseImpl.h"
#include "zrdwg/OdDbDatabase.h"

OdDbDatabasePtr OdDbDatabase::readDxf(const OdString& path, OdDbReadPurpose purpose) {
  OdDbDatabasePtr db(new OdDbDatabase);
  DxfLoader(*db, path, purpose).loadFile();
  return db;
}

OdDbDatabasePtr OdDbDatabase::readDxfText(const std::string& text, const OdString& name, OdDbReadPurpose purpose) {
  OdDbDatabasePtr db(new OdDbDatabase);
  DxfLoader(*db, name, purpose).loadText(text);
  return db;
}

OdDbDatabasePtr OdDbDatabase::createNew(const OdString& version) {
  OdDbDatabasePtr db(new OdDbDatabase);
  DxfLoader(*db, OdString(u"(new drawing)")).loadNew(version.toUtf8());
  return db;
}

void OdDbDatabase::writeDxf(const OdString& path) const { DxfWriter(*this).writeFile(path); }

std::string OdDbDatabase::dxfText() const { return DxfWriter(*this).text(); }

OdDbReadPurpose OdDbDatabase::readPurpose() const { return DatabaseImpl::of(*this).readPurpose; }
