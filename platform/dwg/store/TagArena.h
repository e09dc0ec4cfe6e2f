#pragma once
// TagArena: one store for the tag lists of the objects read from a file. A
// drawing holds millions of small lists; packed one after another in large
// blocks they cost no allocation header or rounding each, are made without a
// call to the allocator each, and go away at once with the drawing.

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <vector>

class TagArena {
 public:
  TagArena() = default;
  TagArena(const TagArena&) = delete;
  TagArena& operator=(const TagArena&) = delete;

  // n bytes at an even address (TagList marks arena blocks in the lowest
  // bit), valid as long as the arena.
  char* allocate(std::size_t n);
  // Bytes handed out, for figures.
  std::size_t used() const { return used_; }

 private:
  struct Free {
    void operator()(char* p) const { std::free(p); }
  };
  // Blocks of one huge page, aligned to it: the kernel may back each with a
  // single page, which costs one fault where small pages cost 512.
  static constexpr std::size_t kBlock = std::size_t(2) << 20;
  std::vector<std::unique_ptr<char[], Free>> blocks_;
  char* at_ = nullptr;
  char* end_ = nullptr;
  std::size_t used_ = 0;
};
