#include "OdDbObjectIterator.h"

#include "OdDbEntity.h"

ODRX_DEFINE_MEMBERS(OdDbObjectIterator, OdRxObject, "OdDbObjectIterator")

OdDbEntityPtr OdDbObjectIterator::entity(OdDb::OpenMode mode, bool openErased) const {
  return OdDbEntityPtr(objectId().openObject(mode, openErased));
}
