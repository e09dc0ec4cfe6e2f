#pragma once
// A position in a list of object identifiers taken when an iterator was made,
// stepping forward or backward and skipping erased objects on request.

#include <vector>

#include "OdDbObjectId.h"

class IdListCursor {
 public:
  explicit IdListCursor(std::vector<OdDbObjectId> ids) : ids_(std::move(ids)) {}

  void start(bool atBeginning, bool skipErased) {
    pos_ = atBeginning ? 0 : static_cast<long>(ids_.size()) - 1;
    skip(atBeginning, skipErased);
  }
  bool done() const { return pos_ < 0 || pos_ >= static_cast<long>(ids_.size()); }
  void step(bool forward, bool skipErased) {
    if (done()) return;
    pos_ += forward ? 1 : -1;
    skip(forward, skipErased);
  }
  OdDbObjectId id() const { return done() ? OdDbObjectId() : ids_[static_cast<std::size_t>(pos_)]; }

 private:
  void skip(bool forward, bool skipErased) {
    if (!skipErased) return;
    while (!done() && ids_[static_cast<std::size_t>(pos_)].isErased()) pos_ += forward ? 1 : -1;
  }
  std::vector<OdDbObjectId> ids_;
  long pos_ = 0;
};
