#include "store/TagArena.h"

#include <sys/mman.h>

#include <new>

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
  blocks_.emplace_back(own);
  return own;
}

char* TagArena::take(std::size_t n) {
  if (static_cast<std::size_t>(end_ - at_) < n) {
    // (n is at most kLarge: a fresh block holds it after its header.)
    blocks_.reserve(blocks_.size() + 1);
    headers_.reserve(headers_.size() + 1);
    char* block = newBlock();
    blocks_.emplace_back(block);
    auto* header = new (block) Header{owner_};
    headers_.push_back(header);
    at_ = block + sizeof(Header);
    end_ = block + kBlock;
  }
  char* p = at_;
  at_ += n;
  return p;
}

void TagArena::setOwner(void* owner) {
  owner_ = owner;
  for (Header* header : headers_) header->owner = owner;
}

char* TagArena::allocateBlock() {
  auto* block = static_cast<char*>(std::aligned_alloc(kBlock, kBlock));
  if (!block) throw std::bad_alloc();
  // Only advice: where huge pages are off, small ones serve.
  madvise(block, kBlock, MADV_HUGEPAGE);
  return block;
}

char* TagArena::newBlock() {
  if (preparer_) {
    std::lock_guard<std::mutex> lock(preparer_->mutex);
    if (!preparer_->ready.empty()) {
      char* block = preparer_->ready.front();
      preparer_->ready.pop_front();
      preparer_->changed.notify_one();
      return block;
    }
  }
  return allocateBlock();
}

void TagArena::prepareAhead(std::size_t bytes) {
  stopPreparing();
  const std::size_t blocks = bytes / kBlock;
  if (blocks == 0) return;
  preparer_ = std::make_unique<Preparer>();
  Preparer& p = *preparer_;
  // A few blocks ahead at most: the read takes a block in less time than
  // the kernel zeroes one, so more would only hold memory early.
  constexpr std::size_t kAhead = 4;
  p.thread = std::thread([&p, blocks] {
    for (std::size_t made = 0; made < blocks; ++made) {
      {
        std::unique_lock<std::mutex> lock(p.mutex);
        p.changed.wait(lock, [&p] { return p.stop || p.ready.size() < kAhead; });
        if (p.stop) return;
      }
      char* block;
      try {
        block = allocateBlock();
      } catch (const std::bad_alloc&) {
        return;  // the read makes its own, and reports what fails there
      }
      // A write to each small page makes the kernel provide (and zero) it.
      for (std::size_t at = 0; at < kBlock; at += 4096) block[at] = 0;
      std::lock_guard<std::mutex> lock(p.mutex);
      if (p.stop) {
        std::free(block);
        return;
      }
      p.ready.push_back(block);
    }
  });
}

void TagArena::stopPreparing() {
  if (!preparer_) return;
  {
    std::lock_guard<std::mutex> lock(preparer_->mutex);
    preparer_->stop = true;
  }
  preparer_->changed.notify_all();
  preparer_->thread.join();
  for (char* block : preparer_->ready) std::free(block);
  preparer_.reset();
}
