#include "store/TagArena.h"

#include <sys/mman.h>

#include <new>

char* TagArena::allocate(std::size_t n) {
  n += n & 1;  // the next list starts at an even address too
  used_ += n;
  if (n > kBlock / 8) {
    // A large list gets a block of its own; the current block goes on.
    auto* own = static_cast<char*>(std::malloc(n));
    if (!own) throw std::bad_alloc();
    blocks_.emplace_back(own);
    return own;
  }
  if (static_cast<std::size_t>(end_ - at_) < n) {
    // The rest of the current block (less than a large list) is left unused.
    auto* block = static_cast<char*>(std::aligned_alloc(kBlock, kBlock));
    if (!block) throw std::bad_alloc();
    blocks_.emplace_back(block);
    // Only advice: where huge pages are off, small ones serve.
    madvise(block, kBlock, MADV_HUGEPAGE);
    at_ = block;
    end_ = at_ + kBlock;
  }
  char* p = at_;
  at_ += n;
  return p;
}
