#pragma once
// TagArena: one store for what a drawing reads from a file: the tag lists of
// its objects and the objects of the kinds it holds by the million (entities,
// their attribute lists). Packed one after another in large blocks they cost
// no allocation header or rounding each, are made without a call to the
// allocator each, and go away at once with the drawing. Each block starts
// with a header naming the arena's owner, the drawing's store, which every
// object placed in the block finds there.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "zrdwg/StoredObject.h"

class TagArena {
 public:
  TagArena() = default;
  TagArena(const TagArena&) = delete;
  TagArena& operator=(const TagArena&) = delete;
  // Takes other's blocks; other is left empty, for no further use.
  TagArena(TagArena&& other) noexcept = default;

  // n bytes at an even address (TagList marks arena blocks in the lowest
  // bit), valid as long as the arena.
  char* allocate(std::size_t n);
  // n bytes aligned for any object of the model (8 bytes), valid as long as
  // the arena. What is placed there is never freed alone: the arena's owner
  // ends it (or leaves it, when it owns nothing outside the arena). Objects
  // lie among the lists, each beside its own tags, as the file has them: a
  // walk over a drawing's objects then reads memory in order. (Blocks of
  // their own spared the padding but made the pin check 10 % slower.)
  void* allocateAligned(std::size_t n) {
    n = (n + 7) & ~std::size_t(7);  // the next object is aligned too
    if (n > kLarge) return ownBlock(n);
    const std::size_t pad = static_cast<std::size_t>(-reinterpret_cast<uintptr_t>(at_)) & 7;
    if (static_cast<std::size_t>(end_ - at_) >= pad + n) {
      at_ += pad;
      used_ += pad;
    }
    used_ += n;
    return take(n);  // a fresh block starts aligned
  }
  // Names the arena's owner (the store of its drawing) at the start of each
  // of its blocks, so that an object placed by allocateAligned (of less than
  // kLarge bytes) finds it without a word of its own (StoredObject::store);
  // null once the drawing has ended.
  void setOwner(void* owner);
  // The arena is full: the block made ready for the next request is given
  // back (see take).
  void releaseSpare();
  // Bytes handed out, for figures.
  std::size_t used() const { return used_; }

 private:
  struct Free {
    void operator()(char* p) const { std::free(p); }
  };
  // A block whose pages may be faulted in in the background.
  struct FreeBlock {
    void operator()(char* p) const;
  };
  static char* newBlock();
  // The next block, faulted in on another thread (FaultInBackground): made
  // no sooner than halfway through the current one, so that a read that
  // ends early in a block leaves none made for nothing.
  void takeSpare();
  // Blocks of one huge page, aligned to it: the kernel may back each with a
  // single page, which costs one fault where small pages cost 512. Objects
  // find their block's header by this size (StoredObject::kArenaBlock).
  static constexpr std::size_t kBlock = StoredObject::kArenaBlock;
  // What starts each block: the arena's owner, first.
  struct alignas(16) Header {
    void* owner;
  };
  void* owner_ = nullptr;
  std::vector<Header*> headers_;  // of every block but those of large requests
  // Larger requests get a block of their own; the current block goes on.
  static constexpr std::size_t kLarge = kBlock / 8;
  char* ownBlock(std::size_t n);
  // n bytes of the current block, or of a fresh block when the rest of it is
  // too short (the rest is left unused). Once the current block is half
  // full, the arena makes the next one ready (takeSpare), so that filling a
  // block does not wait for its pages' zeroing.
  char* take(std::size_t n);
  std::vector<std::unique_ptr<char[], FreeBlock>> blocks_;
  std::vector<std::unique_ptr<char[], Free>> own_;  // of large requests
  // The block that the next fresh block will be, faulted in on another
  // thread while the current one fills.
  std::unique_ptr<char[], FreeBlock> spare_;
  char* at_ = nullptr;  // where the next bytes go in the current block
  char* end_ = nullptr;
  char* spareFrom_ = nullptr;  // takeSpare once at_ reaches it
  std::size_t used_ = 0;
};
