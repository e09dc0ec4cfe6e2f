#pragma once
// Iterators over entities (of a block, or the attributes of a reference) and the
// generic iterator type they share. An iterator works on the list as it was when
// it was made.

#include <vector>

#include "OdDbObjectId.h"
#include "OdRxObject.h"

class OdDbEntity;
typedef OdSmartPtr<OdDbEntity> OdDbEntityPtr;

class OdDbObjectIterator : public OdRxObject {
  ODRX_DECLARE_MEMBERS(OdDbObjectIterator)
 public:
  explicit OdDbObjectIterator(std::vector<OdDbObjectId> ids) : ids_(std::move(ids)) {}

  void start(bool atBeginning = true, bool skipErased = true);
  bool done() const { return pos_ < 0 || pos_ >= static_cast<long>(ids_.size()); }
  void step(bool forward = true, bool skipErased = true);
  OdDbObjectId objectId() const { return done() ? OdDbObjectId() : ids_[static_cast<std::size_t>(pos_)]; }
  OdDbEntityPtr entity(OdDb::OpenMode mode = OdDb::kForRead, bool openErased = false) const;

 private:
  void skip(bool forward, bool skipErased);
  std::vector<OdDbObjectId> ids_;
  long pos_ = 0;
};

typedef OdSmartPtr<OdDbObjectIterator> OdDbObjectIteratorPtr;
