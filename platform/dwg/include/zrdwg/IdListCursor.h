#pragma once
// A position in a list of object identifiers taken when an iterator was made,
// stepping forward or backward and skipping erased objects on request.

#include <array>
#include <cstddef>
#include <vector>

#include "zrdwg/EntityList.h"
#include "zrdwg/OdDbObjectId.h"

class IdListCursor {
 public:
  // A list this short is kept in the cursor itself: the attributes of a
  // reference, walked for each of the many references of a drawing, are
  // then listed without an allocation.
  static constexpr std::size_t kInline = 2;

  // Takes the list; the cursor stands on its first identifier.
  explicit IdListCursor(std::vector<OdDbObjectId> ids) : ids_(std::move(ids)), size_(ids_.size()) {}
  // The first n (at most kInline) of `few`, kept in the cursor itself.
  using Few = std::array<OdDbObjectId, kInline>;
  IdListCursor(const Few& few, std::size_t n) : few_(few), size_(n < kInline ? n : kInline) {}
  // The first n entities of `entities`, read where they are: a block's list
  // of its entities, which only grows while the block lives, so that its
  // first n stay as they were when the cursor was made. Model space lists a
  // large drawing's entities by the hundred thousand: a copy of them would
  // take megabytes for each walk.
  // REQUIRES: `entities` only grows (never shrinks or changes its first n)
  // for as long as the cursor is used, and holds entities of a drawing.
  IdListCursor(const EntityList& entities, std::size_t n) : entities_(&entities), size_(n) {}

  // Goes to the first (or last) identifier, past erased objects on request.
  void start(bool atBeginning, bool skipErased) {
    pos_ = atBeginning ? 0 : static_cast<long>(size_) - 1;
    skip(atBeginning, skipErased);
  }
  // True once the cursor has left either end of the list.
  bool done() const { return pos_ < 0 || pos_ >= static_cast<long>(size_); }
  // Moves one identifier on (or back), past erased objects on request; nothing once done.
  void step(bool forward, bool skipErased) {
    if (done()) return;
    pos_ += forward ? 1 : -1;
    // A forward walk over a block's entities in place (a large model space
    // is walked by the hundred thousand) fetches ahead into the processor's
    // caches: an entity two strides on, and the tags of the one a stride on,
    // whose object was fetched a stride before. The caller then finds both
    // cached when it comes to them, rather than wait for memory each time.
    if (entities_ && forward) {
      const std::size_t next = static_cast<std::size_t>(pos_);
      if (next + 2 * kFetchAhead < size_) fetch((*entities_)[next + 2 * kFetchAhead]);
      if (next + kFetchAhead < size_) fetchTags((*entities_)[next + kFetchAhead]);
    }
    skip(forward, skipErased);
  }
  // The identifier the cursor stands on; the null identifier once done.
  OdDbObjectId id() const { return done() ? OdDbObjectId() : at(static_cast<std::size_t>(pos_)); }

 private:
  void skip(bool forward, bool skipErased) {
    if (!skipErased) return;
    while (!done() && at(static_cast<std::size_t>(pos_)).isErased()) pos_ += forward ? 1 : -1;
  }
  OdDbObjectId at(std::size_t i) const {
    if (entities_) return idOf((*entities_)[i]);
    return ids_.empty() ? few_[i] : ids_[i];
  }
  // How many entities ahead a forward walk fetches an entity's tags (its
  // object: twice as many), and what of the object it fetches: its first
  // four cache lines, which hold a reference's fields.
  static constexpr std::size_t kFetchAhead = 8;
  static void fetch(const OdDbEntity* entity) {
    const char* at = reinterpret_cast<const char*>(entity);
    for (int line = 0; line < 4; ++line) __builtin_prefetch(at + 64 * line);
  }
  // Fetches the entity's tags (out of line, as idOf).
  static void fetchTags(const OdDbEntity* entity);
  // An entity's identifier (out of line: OdDbEntity is not complete here).
  static OdDbObjectId idOf(const OdDbEntity* entity);
  std::vector<OdDbObjectId> ids_;  // the list, unless it is kept in few_ or viewed in entities_
  Few few_;
  const EntityList* entities_ = nullptr;
  std::size_t size_;
  long pos_ = 0;
};
