#pragma once
// A position in a list of object identifiers taken when an iterator was made,
// stepping forward or backward and skipping erased objects on request.

#include <vector>

#include "zrdwg/OdDbObjectId.h"

class IdListCursor {
 public:
  // Takes the list; the cursor stands on its first identifier.
  explicit IdListCursor(std::vector<OdDbObjectId> ids) : ids_(std::move(ids)) {}

  // Goes to the first (or last) identifier, past erased objects on request.
  void start(bool atBeginning, bool skipErased) {
    pos_ = atBeginning ? 0 : static_cast<long>(ids_.size()) - 1;
    skip(atBeginning, skipErased);
  }
  // True once the cursor has left either end of the list.
  bool done() const { return pos_ < 0 || pos_ >= static_cast<long>(ids_.size()); }
  // Moves one identifier on (or back), past erased objects on request; nothing once done.
  void step(bool forward, bool skipErased) {
    if (done()) return;
    pos_ += forward ? 1 : -1;
    skip(forward, skipErased);
  }
  // The identifier the cursor stands on; the null identifier once done.
  OdDbObjectId id() const { return done() ? OdDbObjectId() : ids_[static_cast<std::size_t>(pos_)]; }

 private:
  void skip(bool forward, bool skipErased) {
    if (!skipErased) return;
    while (!done() && ids_[static_cast<std::size_t>(pos_)].isErased()) pos_ += forward ? 1 : -1;
  }
  std::vector<OdDbObjectId> ids_;
  long pos_ = 0;
};
