#pragma once
// TagArena: one store for what a drawing reads from a file: the tag lists of
// its objects and the objects of the kinds it holds by the million (entities,
// their attribute lists). Packed one after another in large blocks they cost
// no allocation header or rounding each, are made without a call to the
// allocator each, and go away at once with the drawing. Lists and objects
// fill blocks of their own (two streams); each block starts with a header
// naming the arena's owner, the drawing's store, which every object placed
// in the block finds there.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

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
  // fill blocks of their own, so that they need no padding between the lists
  // (of any even length) that come between them in a file.
  void* allocateAligned(std::size_t n) {
    n = (n + 7) & ~std::size_t(7);  // the next object is aligned too
    if (n > kLarge) return ownBlock(n);
    used_ += n;
    return take(objects_, n);
  }
  // Names the arena's owner (the store of its drawing) at the start of each
  // of its blocks, so that an object placed by allocateAligned finds it
  // (ownerOf) without a word of its own; null once the drawing has ended.
  void setOwner(void* owner);
  // The owner named in the block of an object placed by allocateAligned
  // (an object, of less than kLarge bytes).
  static void* ownerOf(const void* object) {
    return reinterpret_cast<const Header*>(reinterpret_cast<uintptr_t>(object) & ~(kBlock - 1))->owner;
  }
  // Bytes handed out, for figures.
  std::size_t used() const { return used_; }

 private:
  struct Free {
    void operator()(char* p) const { std::free(p); }
  };
  // Blocks of one huge page, aligned to it: the kernel may back each with a
  // single page, which costs one fault where small pages cost 512.
  static constexpr std::size_t kBlock = std::size_t(2) << 20;
  // What starts each block of the streams: the arena's owner.
  struct alignas(16) Header {
    void* owner;
  };
  void* owner_ = nullptr;
  std::vector<Header*> headers_;  // of every block of the streams
  // Where the next bytes go in the current block of one stream.
  struct Stream {
    char* at = nullptr;
    char* end = nullptr;
  };
  // Larger requests get a block of their own; the current blocks go on.
  static constexpr std::size_t kLarge = kBlock / 8;
  char* ownBlock(std::size_t n);
  // n bytes of the stream's current block, or of a fresh block when the rest
  // of it is too short (the rest is left unused).
  char* take(Stream& stream, std::size_t n);
  std::vector<std::unique_ptr<char[], Free>> blocks_;
  Stream lists_;    // tag lists
  Stream objects_;  // objects and other aligned memory
  std::size_t used_ = 0;
};
