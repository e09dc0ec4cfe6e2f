#include "TagArena.h"

#include <cstdint>

char* TagArena::allocate(std::size_t n) {
  n += n & 1;  // the next list starts at an even address too
  used_ += n;
  if (n > kBlock / 8) {
    // A large list gets a block of its own; the current block goes on.
    blocks_.emplace_back(new char[n]);
    return blocks_.back().get();
  }
  if (static_cast<std::size_t>(end_ - at_) < n) {
    // The rest of the current block (less than a large list) is left unused.
    blocks_.emplace_back(new char[kBlock]);
    at_ = blocks_.back().get();
    end_ = at_ + kBlock;
  }
  char* p = at_;
  at_ += n;
  return p;
}
