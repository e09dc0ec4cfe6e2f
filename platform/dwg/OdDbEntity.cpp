#include "OdDbEntity.h"

ODRX_DEFINE_MEMBERS(OdDbEntity, OdDbObject, "AcDbEntity")

OdString OdDbEntity::layer() const { return textField("AcDbEntity", 8); }

void OdDbEntity::setLayer(const OdString& name) { setTextField("AcDbEntity", 8, name); }

bool OdDbEntity::isInPaperSpace() const { return intField("AcDbEntity", 67, 0) == 1; }

OdDbEntity::~OdDbEntity() {
  // Sub-entities not yet added to a drawing are held by this entity.
  if (!children_) return;
  for (OdDbEntity* child : children_->items)
    if (!child->database()) child->release();
  if (children_->seqend && !children_->seqend->database()) children_->seqend->release();
}
