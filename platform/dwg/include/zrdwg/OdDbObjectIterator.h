#pragma once
// Iterators over entities (of a block, or the attributes of a reference) and the
// generic iterator type they share. An iterator works on the list as it was when
// it was made.

#include <vector>

#include "zrdwg/IdListCursor.h"
#include "zrdwg/OdDbObjectId.h"
#include "zrdwg/OdRxObject.h"

class OdDbEntity;
typedef OdSmartPtr<OdDbEntity> OdDbEntityPtr;

class OdDbObjectIterator : public OdRxObject {
  ODRX_DECLARE_MEMBERS(OdDbObjectIterator)
 public:
  // An iterator over a copy of the list; callers then call start.
  explicit OdDbObjectIterator(std::vector<OdDbObjectId> ids) : cursor_(std::move(ids)) {}
  // An iterator over the first n (at most IdListCursor::kInline) of `few`,
  // without an allocation; callers then call start.
  OdDbObjectIterator(const IdListCursor::Few& few, std::size_t n) : cursor_(few, n) {}
  // An iterator over the first n of a block's entities, read in place (see
  // IdListCursor); callers then call start.
  OdDbObjectIterator(const EntityList& entities, std::size_t n) : cursor_(entities, n) {}

  // Goes to the first (or last) entity, skipping erased ones by default.
  void start(bool atBeginning = true, bool skipErased = true) { cursor_.start(atBeginning, skipErased); }
  // True once the iterator has left either end.
  bool done() const { return cursor_.done(); }
  // Moves to the next (or previous) entity; nothing once done.
  void step(bool forward = true, bool skipErased = true) { cursor_.step(forward, skipErased); }
  // The current entity's identifier; the null identifier once done.
  OdDbObjectId objectId() const { return cursor_.id(); }
  // The current entity opened in that mode (see OdDbObjectId::openObject), or
  // null once done or for an erased entity unless openErased.
  OdDbEntityPtr entity(OdDb::OpenMode mode = OdDb::kForRead, bool openErased = false) const;

  // A walk over a drawing's references makes and drops an iterator for
  // each (its attributes): the one a thread let go last is kept for the
  // next, instead of going back to the allocator.
  static void* operator new(std::size_t size);
  static void operator delete(void* p, std::size_t size) noexcept;

 private:
  IdListCursor cursor_;
};

typedef OdSmartPtr<OdDbObjectIterator> OdDbObjectIteratorPtr;
