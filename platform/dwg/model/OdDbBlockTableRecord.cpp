#include "OdDbBlockTableRecord.h"

#include <algorithm>

#include "DatabaseImpl.h"
#include "DxfValues.h"
#include "NewObjectTags.h"
#include "OdDbBlockReference.h"

ODRX_DEFINE_MEMBERS(OdDbBlockTableRecord, OdDbSymbolTableRecord, "AcDbBlockTableRecord")
ODRX_DEFINE_MEMBERS(OdDbBlockTable, OdDbSymbolTable, "AcDbBlockTable")

OdDbBlockTableRecordPtr OdDbBlockTableRecord::createObject() {
  OdDbBlockTableRecordPtr record(new OdDbBlockTableRecord(internType("BLOCK_RECORD")));
  record->tags_ = newtags::blockRecord();
  return record;
}

OdDbObjectIteratorPtr OdDbBlockTableRecord::newIterator(bool atBeginning, bool skipErased) const {
  std::vector<OdDbObjectId> ids;
  ids.reserve(entities_.size());
  for (OdDbEntity* e : entities_) ids.push_back(e->objectId());
  OdDbObjectIteratorPtr it(new OdDbObjectIterator(std::move(ids)));
  it->start(atBeginning, skipErased);
  return it;
}

bool OdDbBlockTableRecord::isModelSpace() const { return db_ && db_->impl().modelSpace == this; }

bool OdDbBlockTableRecord::isPaperSpace() const {
  if (!db_) return false;
  OdString name = getName();
  return DatabaseImpl::nameKey(name).rfind(u"*PAPER_SPACE", 0) == 0;
}

OdGePoint3d OdDbBlockTableRecord::origin() const {
  if (!blockBegin_) return OdGePoint3d();
  auto coordinate = [&](int code) {
    const std::optional<std::string_view> raw = tags::find(blockBegin_->dxfTags(), "AcDbBlockBegin", code);
    return raw ? dxfv::toDouble(*raw).value_or(0.0) : 0.0;
  };
  return OdGePoint3d(coordinate(10), coordinate(20), coordinate(30));
}

bool OdDbBlockTableRecord::isLayout() const { return isModelSpace() || isPaperSpace(); }

OdDbObjectId OdDbBlockTableRecord::appendOdDbEntity(OdDbEntity* entity) {
  assertWriteEnabled();
  if (!entity) throw OdError(eInvalidInput);
  if (!db_) throw OdError(eNotInDatabase);
  if (entity->database()) throw OdError(eAlreadyInDb);
  DatabaseImpl& impl = db_->impl();
  const bool paper = impl.paperSpace == this;
  if (paper) entity->tags_ = tags::withValue(entity->tags_, "AcDbEntity", 67, "1");
  impl.addObject(entity, this);
  entities_.push_back(entity);
  if (paper || impl.modelSpace == this) {
    entity->flags_ |= OdDbObject::kInEntitiesSection;
    impl.entitiesSection.push_back(entity);
  }
  impl.adoptChildren(entity);
  if (auto* reference = OdDbBlockReference::cast(entity)) reference->onLoaded();
  return entity->objectId();
}

void OdDbBlockTableRecord::getBlockReferenceIds(OdDbObjectIdArray& ids, bool, bool) const {
  // References join the list as the file is read, which is mostly in handle
  // order: the copy is sorted only when it is not sorted already.
  auto byHandle = [](const OdDbBlockReference* a, const OdDbBlockReference* b) { return a->handle_ < b->handle_; };
  std::vector<OdDbBlockReference*> refs(references_);
  if (!std::is_sorted(refs.begin(), refs.end(), byHandle)) std::sort(refs.begin(), refs.end(), byHandle);
  ids.clear();
  ids.reserve(refs.size());
  for (OdDbBlockReference* r : refs) ids.push_back(r->objectId());
}

void OdDbBlockTable::onRecordAdded(OdDbSymbolTableRecord* record) {
  auto* block = OdDbBlockTableRecord::cast(record);
  if (!block) return;
  DatabaseImpl& impl = db_->impl();
  // Every block definition is written in the BLOCKS section between a BLOCK and
  // an ENDBLK entity that carry its name.
  const std::string name = encode(block->getName());
  OdDbEntity* begin = new OdDbEntity(internType("BLOCK"));
  begin->tags_ = newtags::blockBegin();
  begin->tags_ = tags::withValue(begin->tags_, "AcDbBlockBegin", 2, name);
  begin->tags_ = tags::withValue(begin->tags_, "AcDbBlockBegin", 3, name);
  OdDbEntity* end = new OdDbEntity(internType("ENDBLK"));
  end->tags_ = newtags::blockEnd();
  impl.addObject(begin, block);
  impl.addObject(end, block);
  begin->openMode_ = end->openMode_ = OdDb::kNotOpen;
  block->blockBegin_ = begin;
  block->blockEnd_ = end;
  impl.blocksSection.push_back(block);
  impl.indexBlockName(block);
}
