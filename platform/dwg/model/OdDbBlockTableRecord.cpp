#include "zrdwg/OdDbBlockTableRecord.h"

#include <algorithm>

#include "model/DatabaseImpl.h"
#include "model/DxfFields.h"
#include "zrdwg/DxfValues.h"
#include "model/NewObjectTags.h"

ODRX_DEFINE_MEMBERS(OdDbBlockTableRecord, OdDbSymbolTableRecord, "AcDbBlockTableRecord")
ODRX_DEFINE_MEMBERS(OdDbBlockTable, OdDbSymbolTable, "AcDbBlockTable")

OdDbBlockTableRecordPtr OdDbBlockTableRecord::createObject() {
  OdDbBlockTableRecordPtr record(new OdDbBlockTableRecord(internType("BLOCK_RECORD")));
  record->tags_ = newtags::blockRecord();
  return record;
}

void OdDbBlockTableRecord::appendIdsOf(const EntityList& entities, OdDbObjectIdArray& ids) const {
  ids.reserve(ids.size() + entities.size());
  // A block in a drawing holds that drawing's entities and references alone:
  // their identifiers are taken without reading each of them (a large model
  // space would otherwise be read whole before its walk begins).
  if (store()) {
    for (OdDbEntity* e : entities) ids.push_back(OdDbObjectId::fromObject(e));
  } else {
    for (OdDbEntity* e : entities) ids.push_back(e->objectId());
  }
}

OdDbObjectIteratorPtr OdDbBlockTableRecord::newIterator(bool atBeginning, bool skipErased) const {
  // A block in a drawing only adds to its list of entities (an erased
  // entity stays in it, marked): the iterator reads the entities there were
  // when it was made, in place. Only a block outside a drawing is copied.
  OdDbObjectIteratorPtr it;
  if (store()) {
    it = new OdDbObjectIterator(entities_, entities_.size());
  } else {
    std::vector<OdDbObjectId> ids;
    appendIdsOf(entities_, ids);
    it = new OdDbObjectIterator(std::move(ids));
  }
  it->start(atBeginning, skipErased);
  return it;
}

bool OdDbBlockTableRecord::isModelSpace() const { return store() && DatabaseImpl::of(store()).modelSpace == this; }

bool OdDbBlockTableRecord::isPaperSpace() const {
  if (!store()) return false;
  OdString name = getName();
  return ObjectStore::nameKey(name).rfind(u"*PAPER_SPACE", 0) == 0;
}

OdGePoint3d OdDbBlockTableRecord::origin() const {
  if (!blockBegin_) return OdGePoint3d();
  namespace begin = fields::blockBegin;
  return OdGePoint3d(blockBegin_->doubleField(begin::kX), blockBegin_->doubleField(begin::kY),
                     blockBegin_->doubleField(begin::kZ));
}

bool OdDbBlockTableRecord::isLayout() const { return isModelSpace() || isPaperSpace(); }

OdDbObjectId OdDbBlockTableRecord::appendOdDbEntity(OdDbEntity* entity) {
  assertWriteEnabled();
  if (!entity) throw OdError(eInvalidInput);
  if (!store()) throw OdError(eNotInDatabase);
  if (entity->database()) throw OdError(eAlreadyInDb);
  DatabaseImpl& impl = DatabaseImpl::of(store());
  const bool paper = impl.paperSpace == this;
  const DxfField& inPaper = fields::entity::kPaperSpace;
  if (paper) entity->tags_ = tags::withValue(entity->tags_, inPaper.subclass, inPaper.code, "1");
  impl.addObject(entity, this);
  entities_.push_back(entity);
  if (paper || impl.modelSpace == this) {
    entity->flags_ |= OdDbObject::kInEntitiesSection;
    impl.addToSection(entity);
  }
  entity->adoptChildren();
  // A reference finds its block.
  entity->onLoaded();
  return entity->objectId();
}

void OdDbBlockTableRecord::getBlockReferenceIds(OdDbObjectIdArray& ids, bool, bool) const {
  // References join the list as the file is read, which is mostly in handle
  // order, and the list knows whether it still is: then it is taken as it
  // is; only a list out of order is copied and sorted.
  ids.clear();
  if (referencesInOrder_) return appendIdsOf(references_, ids);
  auto byHandle = [](const OdDbEntity* a, const OdDbEntity* b) { return a->handle_ < b->handle_; };
  EntityList refs(references_);
  std::sort(refs.begin(), refs.end(), byHandle);
  appendIdsOf(refs, ids);
}

void OdDbBlockTable::onRecordAdded(OdDbSymbolTableRecord* record) {
  auto* block = OdDbBlockTableRecord::cast(record);
  if (!block) return;
  DatabaseImpl& impl = DatabaseImpl::of(store());
  // Every block definition is written in the BLOCKS section between a BLOCK and
  // an ENDBLK entity that carry its name.
  const std::string name = encode(block->getName());
  OdDbEntity* begin = new OdDbEntity(internType("BLOCK"));
  begin->tags_ = newtags::blockBegin();
  for (const DxfField& field : {fields::blockBegin::kName, fields::blockBegin::kNameAgain})
    begin->tags_ = tags::withValue(begin->tags_, field.subclass, field.code, name);
  OdDbEntity* end = new OdDbEntity(internType("ENDBLK"));
  end->tags_ = newtags::blockEnd();
  impl.addObject(begin, block);
  impl.addObject(end, block);
  begin->openMode_ = end->openMode_ = OdDb::kNotOpen;
  block->blockBegin_ = begin;
  block->blockEnd_ = end;
  impl.blocksSection.push_back(block);
  impl.indexBlockName(block->getName(), block);
}
