#include "OdDbObjectIterator.h"

#include "OdDbEntity.h"

ODRX_DEFINE_MEMBERS(OdDbObjectIterator, OdRxObject, "OdDbObjectIterator")

void OdDbObjectIterator::start(bool atBeginning, bool skipErased) {
  pos_ = atBeginning ? 0 : static_cast<long>(ids_.size()) - 1;
  skip(atBeginning, skipErased);
}

void OdDbObjectIterator::step(bool forward, bool skipErased) {
  if (done()) return;
  pos_ += forward ? 1 : -1;
  skip(forward, skipErased);
}

void OdDbObjectIterator::skip(bool forward, bool skipErased) {
  if (!skipErased) return;
  while (!done() && ids_[static_cast<std::size_t>(pos_)].isErased()) pos_ += forward ? 1 : -1;
}

OdDbEntityPtr OdDbObjectIterator::entity(OdDb::OpenMode mode, bool openErased) const {
  return OdDbEntityPtr(objectId().openObject(mode, openErased));
}
