#pragma once
// Iterators over entities (of a block, or the attributes of a reference) and the
// generic iterator type they share. An iterator works on the list as it was when
// it was made.

#include <vector>

#include "IdListCursor.h"
#include "OdDbObjectId.h"
#include "OdRxObject.h"

class OdDbEntity;
typedef OdSmartPtr<OdDbEntity> OdDbEntityPtr;

class OdDbObjectIterator : public OdRxObject {
  ODRX_DECLARE_MEMBERS(OdDbObjectIterator)
 public:
  explicit OdDbObjectIterator(std::vector<OdDbObjectId> ids) : cursor_(std::move(ids)) {}

  void start(bool atBeginning = true, bool skipErased = true) { cursor_.start(atBeginning, skipErased); }
  bool done() const { return cursor_.done(); }
  void step(bool forward = true, bool skipErased = true) { cursor_.step(forward, skipErased); }
  OdDbObjectId objectId() const { return cursor_.id(); }
  OdDbEntityPtr entity(OdDb::OpenMode mode = OdDb::kForRead, bool openErased = false) const;

 private:
  IdListCursor cursor_;
};

typedef OdSmartPtr<OdDbObjectIterator> OdDbObjectIteratorPtr;
