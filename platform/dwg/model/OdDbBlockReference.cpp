#include "OdDbBlockReference.h"

#include <algorithm>

#include "DatabaseImpl.h"
#include "DxfValues.h"
#include "NewObjectTags.h"
#include "OdDbText.h"

ODRX_DEFINE_MEMBERS(OdDbBlockReference, OdDbEntity, "AcDbBlockReference")

namespace {
constexpr std::string_view kReference = "AcDbBlockReference";
}

OdDbBlockReferencePtr OdDbBlockReference::createObject() {
  OdDbBlockReferencePtr reference(new OdDbBlockReference(internType("INSERT")));
  reference->tags_ = newtags::insert();
  return reference;
}

OdGePoint3d OdDbBlockReference::position() const {
  return OdGePoint3d(doubleField(kReference, 10), doubleField(kReference, 20), doubleField(kReference, 30));
}

void OdDbBlockReference::setPosition(const OdGePoint3d& p) {
  setField(kReference, 10, odFormatDouble(p.x));
  setField(kReference, 20, odFormatDouble(p.y));
  setField(kReference, 30, odFormatDouble(p.z));
}

OdDbObjectId OdDbBlockReference::blockTableRecord() const {
  if (block_) return block_->objectId();
  if (!db_) return OdDbObjectId();
  return OdDbObjectId::fromObject(db_->impl().blockNamed(textField(kReference, 2)));
}

void OdDbBlockReference::onLoaded() {
  if (!db_) return;
  block_ = db_->impl().blockNamed(textField(kReference, 2));
  if (block_) block_->references_.push_back(this);
}

void OdDbBlockReference::setBlockTableRecord(const OdDbObjectId& blockId) {
  assertWriteEnabled();
  auto* block = OdDbBlockTableRecord::cast(blockId.rawObject());
  if (!block) throw OdError(eInvalidInput, OdString(u"Not a block definition"));
  if (db_ && block->database() != db_) throw OdError(eInvalidInput, OdString(u"Block of another drawing"));
  setTextField(kReference, 2, block->getName());
  if (!db_) return;  // resolved when the reference joins the drawing
  if (block_) {
    auto& refs = block_->references_;
    refs.erase(std::remove(refs.begin(), refs.end(), this), refs.end());
  }
  block_ = block;
  block_->references_.push_back(this);
}

OdDbObjectIteratorPtr OdDbBlockReference::attributeIterator() const {
  std::vector<OdDbObjectId> ids;
  if (children_) {
    for (OdDbEntity* e : *children_)
      if (OdDbAttribute::cast(e)) ids.push_back(OdDbObjectId::fromObject(e->database() ? e : nullptr));
  }
  OdDbObjectIteratorPtr it(new OdDbObjectIterator(std::move(ids)));
  it->start();
  return it;
}

OdDbObjectId OdDbBlockReference::appendAttribute(OdDbAttribute* attribute) {
  assertWriteEnabled();
  if (!attribute) throw OdError(eInvalidInput);
  if (attribute->database()) throw OdError(eAlreadyInDb);
  attribute->addRef();  // held by this reference until it joins the drawing
  addChild(attribute);
  // References with attributes say so (66 = 1) and end them with a SEQEND.
  setField(kReference, 66, "1");
  if (!children_->seqend) {
    auto* seqend = new OdDbEntity(internType("SEQEND"));
    seqend->tags_ = newtags::sequenceEnd();
    seqend->addRef();
    setSequenceEnd(seqend);
  }
  if (db_) db_->impl().adoptChildren(this);
  return attribute->objectId();
}
