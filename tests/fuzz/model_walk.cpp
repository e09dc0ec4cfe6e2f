#include "model_walk.h"

#include <unordered_set>

#include "zrdwg/OdDbBlockReference.h"
#include "zrdwg/OdDbBlockTableRecord.h"
#include "zrdwg/OdDbDatabase.h"
#include "zrdwg/OdDbDictionary.h"
#include "zrdwg/OdDbSymbolTable.h"
#include "zrdwg/OdDbText.h"
#include "zrdwg/OdError.h"

namespace {

// Touches every value of a result buffer chain, as callers reading it would.
std::size_t readChain(OdResBufPtr rb) {
  std::size_t n = 0;
  for (; !rb.isNull(); rb = rb->next()) n += rb->valueAsText().getLength();
  return n;
}

std::size_t readCommon(const OdDbObject& object) {
  std::size_t n = readChain(object.xData());
  for (const OdString& app : object.xDataApplications()) n += readChain(object.xData(app));
  n += object.extensionDictionary().isNull() ? 0 : 1;
  return n;
}

std::size_t readEntity(const OdDbEntity& entity) {
  std::size_t n = readCommon(entity) + entity.layer().getLength();
  if (const OdDbText* text = OdDbText::cast(&entity)) {
    n += text->textString().getLength() + static_cast<std::size_t>(text->height() != 0.0);
  }
  if (const OdDbAttribute* attribute = OdDbAttribute::cast(&entity)) n += attribute->tag().getLength();
  if (const OdDbAttributeDefinition* definition = OdDbAttributeDefinition::cast(&entity)) {
    n += definition->tag().getLength() + definition->prompt().getLength();
  }
  if (const OdDbBlockReference* reference = OdDbBlockReference::cast(&entity)) {
    n += reference->blockTableRecord().isNull() ? 0 : 1;
    for (OdDbObjectIteratorPtr it = reference->attributeIterator(); !it->done(); it->step()) {
      n += readEntity(*it->entity());
    }
  }
  return n;
}

std::size_t readTable(OdDbObjectId tableId) {
  if (tableId.isNull()) return 0;
  OdDbSymbolTablePtr table = OdDbSymbolTable::cast(tableId.openObject().get());
  if (table.isNull()) return 0;
  std::size_t n = 0;
  for (OdDbSymbolTableIteratorPtr it = table->newIterator(); !it->done(); it->step()) {
    OdDbSymbolTableRecordPtr record = it->getRecord();
    n += record->getName().getLength() + readCommon(*record);
    if (const OdDbBlockTableRecord* block = OdDbBlockTableRecord::cast(record.get())) {
      for (OdDbObjectIteratorPtr e = block->newIterator(); !e->done(); e->step()) n += readEntity(*e->entity());
    }
  }
  return n;
}

// Dictionaries may name each other in a cycle: each is visited once.
std::size_t readDictionary(OdDbObjectId id, std::unordered_set<const void*>& seen) {
  if (id.isNull() || !seen.insert(id.rawObject()).second) return 0;
  OdDbObjectPtr object = id.openObject();
  std::size_t n = readCommon(*object);
  if (const OdDbXrecord* xrecord = OdDbXrecord::cast(object.get())) n += readChain(xrecord->rbChain());
  if (const OdDbDictionary* dictionary = OdDbDictionary::cast(object.get())) {
    for (OdDbDictionaryIteratorPtr it = dictionary->newIterator(); !it->done(); it->next()) {
      n += it->name().getLength() + readDictionary(it->objectId(), seen);
    }
  }
  return n;
}

}  // namespace

void walkModel(const OdDbDatabase& db) {
  for (OdDbObjectId table : {db.getBlockTableId(), db.getLayerTableId(), db.getRegAppTableId()}) {
    try {
      readTable(table);
    } catch (const OdError&) {
    }
  }
  try {
    std::unordered_set<const void*> seen;
    readDictionary(db.getNamedObjectsDictionaryId(), seen);
  } catch (const OdError&) {
  }
  try {
    db.version();
    db.codePage();
    db.getSysVar(OdString(u"DWGCODEPAGE"));
    db.getSysVar(OdString(u"HANDSEED"));
  } catch (const OdError&) {
  }
}
