#include "zrdwg/OdDbBlockReference.h"

#include <algorithm>

#include "model/DatabaseImpl.h"
#include "model/DxfFields.h"
#include "zrdwg/OdDbBlockTableRecord.h"
#include "zrdwg/DxfValues.h"
#include "model/NewObjectTags.h"
#include "zrdwg/OdDbText.h"

ODRX_DEFINE_MEMBERS(OdDbBlockReference, OdDbEntity, "AcDbBlockReference")

namespace reference = fields::reference;

OdDbBlockReferencePtr OdDbBlockReference::createObject() {
  OdDbBlockReferencePtr reference(new OdDbBlockReference(internType("INSERT")));
  reference->tags_ = newtags::insert();
  return reference;
}

OdGePoint3d OdDbBlockReference::position() const {
  // The three values in one walk over the tags (the pin check asks every
  // symbol's position).
  static_assert(reference::kX.subclass == reference::kY.subclass && reference::kX.subclass == reference::kZ.subclass);
  const int codes[] = {reference::kX.code, reference::kY.code, reference::kZ.code};
  std::optional<std::string_view> values[3];
  tags::findEach(tags_, reference::kX.subclass, codes, 3, values);
  double xyz[3];
  for (int i = 0; i < 3; ++i) xyz[i] = values[i] ? dxfv::toDouble(*values[i]).value_or(0.0) : 0.0;
  return OdGePoint3d(xyz[0], xyz[1], xyz[2]);
}

void OdDbBlockReference::setPosition(const OdGePoint3d& p) {
  setField(reference::kX, odFormatDouble(p.x));
  setField(reference::kY, odFormatDouble(p.y));
  setField(reference::kZ, odFormatDouble(p.z));
}

OdDbObjectId OdDbBlockReference::blockTableRecord() const {
  if (block_) return block_->objectId();
  if (!store()) return OdDbObjectId();
  return OdDbObjectId::fromObject(DatabaseImpl::of(store()).blockNamed(textField(reference::kBlockName)));
}

void OdDbBlockReference::onLoaded() {
  if (!store()) return;
  block_ = DatabaseImpl::of(store()).blockNamed(textField(reference::kBlockName));
  if (block_) block_->addReference(this);
}

void OdDbBlockReference::setBlockTableRecord(const OdDbObjectId& blockId) {
  assertWriteEnabled();
  auto* block = OdDbBlockTableRecord::cast(blockId.rawObject());
  if (!block) throw OdError(eInvalidInput, OdString(u"Not a block definition"));
  if (store() && block->database() != database()) throw OdError(eInvalidInput, OdString(u"Block of another drawing"));
  setTextField(reference::kBlockName, block->getName());
  if (!store()) return;  // resolved when the reference joins the drawing
  if (block_) {
    auto& refs = block_->references_;
    refs.erase(std::remove(refs.begin(), refs.end(), this), refs.end());
  }
  block_ = block;
  block_->addReference(this);
}

OdDbObjectIteratorPtr OdDbBlockReference::attributeIterator() const { return childIterator(OdDbAttribute::desc()); }

OdDbObjectId OdDbBlockReference::appendAttribute(OdDbAttribute* attribute) {
  assertWriteEnabled();
  if (!attribute) throw OdError(eInvalidInput);
  if (attribute->database()) throw OdError(eAlreadyInDb);
  attribute->addRef();  // held by this reference until it joins the drawing
  addChild(attribute);
  // References with attributes say so (66 = 1) and end them with a SEQEND.
  setField(reference::kAttributesFollow, "1");
  if (!children()->seqend) {
    auto* seqend = new OdDbEntity(internType("SEQEND"));
    seqend->tags_ = newtags::sequenceEnd();
    seqend->addRef();
    setSequenceEnd(seqend);
  }
  if (store()) adoptChildren();
  return attribute->objectId();
}
