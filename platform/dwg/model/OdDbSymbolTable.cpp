#include "zrdwg/OdDbSymbolTable.h"

#include "model/DatabaseImpl.h"
#include "model/DxfFields.h"
#include "model/NewObjectTags.h"

ODRX_DEFINE_MEMBERS(OdDbSymbolTableRecord, OdDbObject, "AcDbSymbolTableRecord")
ODRX_DEFINE_MEMBERS(OdDbSymbolTable, OdDbObject, "AcDbSymbolTable")
ODRX_DEFINE_MEMBERS(OdDbSymbolTableIterator, OdRxObject, "OdDbSymbolTableIterator")
ODRX_DEFINE_MEMBERS(OdDbLayerTableRecord, OdDbSymbolTableRecord, "AcDbLayerTableRecord")
ODRX_DEFINE_MEMBERS(OdDbRegAppTableRecord, OdDbSymbolTableRecord, "AcDbRegAppTableRecord")

OdString OdDbSymbolTableRecord::getName() const { return textField(fields::symbolRecord::kName); }

void OdDbSymbolTableRecord::setName(const OdString& name) {
  // The name follows the record's own subclass marker.
  std::string_view subclass = tags::lastSubclass(tags_);
  setTextField(subclass, fields::symbolRecord::kName.code, name);
}

OdSmartPtr<OdDbRegAppTableRecord> OdDbRegAppTableRecord::createObject() {
  OdSmartPtr<OdDbRegAppTableRecord> record(new OdDbRegAppTableRecord(internType("APPID")));
  record->tags_ = newtags::regApp();
  return record;
}

std::string OdDbSymbolTable::tableName() const {
  auto v = field(fields::symbolTable::kName);
  return v ? std::string(*v) : std::string();
}

OdDbObjectId OdDbSymbolTable::getAt(const OdString& name) const {
  const std::u16string key = ObjectStore::nameKey(name);
  for (OdDbSymbolTableRecord* r : records_)
    if (!r->isErased() && ObjectStore::nameKey(r->getName()) == key) return r->objectId();
  return OdDbObjectId();
}

OdDbSymbolTableRecordPtr OdDbSymbolTable::getAt(const OdString& name, OdDb::OpenMode mode) const {
  return OdDbSymbolTableRecordPtr(getAt(name).openObject(mode));
}

OdDbObjectId OdDbSymbolTable::add(OdDbSymbolTableRecord* record) {
  assertWriteEnabled();
  if (!record) throw OdError(eInvalidInput);
  if (!store()) throw OdError(eNotInDatabase);
  const OdString name = record->getName();
  if (name.isEmpty()) throw OdError(eInvalidKey, OdString(u"A table record needs a name"));
  if (has(name)) throw OdError(eAlreadyInDb, OdString(u"A record named \"") + name + OdString(u"\" already exists"));
  DatabaseImpl::of(store()).addObject(record, this);
  records_.push_back(record);
  onRecordAdded(record);
  return record->objectId();
}

OdDbSymbolTableIteratorPtr OdDbSymbolTable::newIterator(bool atBeginning, bool skipErased) const {
  std::vector<OdDbObjectId> ids;
  ids.reserve(records_.size());
  for (OdDbSymbolTableRecord* r : records_) ids.push_back(r->objectId());
  OdDbSymbolTableIteratorPtr it(new OdDbSymbolTableIterator(std::move(ids)));
  it->start(atBeginning, skipErased);
  return it;
}

OdDbSymbolTableRecordPtr OdDbSymbolTableIterator::getRecord(OdDb::OpenMode mode, bool openErased) const {
  return OdDbSymbolTableRecordPtr(getRecordId().openObject(mode, openErased));
}
