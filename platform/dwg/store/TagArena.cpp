#include "store/TagArena.h"

#include <sys/mman.h>

#include <new>

#include "store/KeptMemory.h"
#include "zrdwg/BackgroundFaults.h"

char* TagArena::allocate(std::size_t n) {
  n += n & 1;  // the next list starts at an even address too
  if (n > kLarge) return ownBlock(n);
  used_ += n;
  return take(n);
}

char* TagArena::ownBlock(std::size_t n) {
  used_ += n;
  auto* own = static_cast<char*>(std::malloc(n));  // aligned for any object
  if (!own) throw std::bad_alloc();
  own_.emplace_back(own);
  return own;
}

char* TagArena::take(std::size_t n) {
  if (static_cast<std::size_t>(end_ - at_) < n) {
    // (n is at most kLarge: a fresh block holds it after its header.)
    if (!spare_) spare_.reset(newBlock());
    blocks_.push_back(std::move(spare_));
    char* block = blocks_.back().get();
    auto* header = new (block) Header{owner_};
    headers_.push_back(header);
    at_ = block + sizeof(Header);
    end_ = block + kBlock;
    spareFrom_ = block + kBlock / 2;
  }
  char* p = at_;
  at_ += n;
  if (at_ >= spareFrom_ && !spare_) takeSpare();
  return p;
}

void TagArena::takeSpare() {
  spare_.reset(newBlock());
  FaultInBackground(spare_.get(), kBlock);
}

char* TagArena::newBlock() {
  if (char* kept = kept::TakeBlock()) return kept;
  auto* block = static_cast<char*>(std::aligned_alloc(kBlock, kBlock));
  if (!block) throw std::bad_alloc();
  // Only advice: where huge pages are off, small ones serve.
  madvise(block, kBlock, MADV_HUGEPAGE);
  return block;
}

void TagArena::FreeBlock::operator()(char* p) const {
  StopFaulting(p, kBlock);
  if (!kept::KeepBlock(p)) std::free(p);
}

void TagArena::releaseSpare() { spare_.reset(); }

void TagArena::setOwner(void* owner) {
  owner_ = owner;
  for (Header* header : headers_) header->owner = owner;
}
