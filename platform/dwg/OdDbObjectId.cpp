#include "OdDbObjectId.h"

#include "OdDbObject.h"

const OdDbObjectId OdDbObjectId::kNull;

bool OdDbObjectId::isErased() const { return object_ && object_->isErased(); }

OdDbHandle OdDbObjectId::getHandle() const { return object_ ? object_->getDbHandle() : OdDbHandle(); }

OdDbDatabase* OdDbObjectId::database() const { return object_ ? object_->database() : nullptr; }

bool operator<(const OdDbObjectId& a, const OdDbObjectId& b) {
  return a.getHandle().value() < b.getHandle().value();
}

OdDbObjectPtr OdDbObjectId::openObject(OdDb::OpenMode mode, bool openErased) const {
  if (!object_) return OdDbObjectPtr();
  if (object_->isErased() && !openErased) return OdDbObjectPtr();
  if (mode == OdDb::kForWrite) {
    object_->upgradeOpen();
  } else if (object_->numRefs() <= 1) {
    // Nobody has it open: it opens in the mode asked for.
    object_->downgradeOpen();
  }
  return OdDbObjectPtr(object_);
}

OdDbObjectPtr OdDbObjectId::safeOpenObject(OdDb::OpenMode mode, bool openErased) const {
  if (!object_) throw OdError(eNullObjectId);
  if (object_->isErased() && !openErased) throw OdError(eWasErased);
  return openObject(mode, openErased);
}
