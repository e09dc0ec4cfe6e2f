#include "store/KeptMemory.h"

#include <sys/mman.h>

#include <atomic>
#include <cstdlib>
#include <map>
#include <mutex>
#include <vector>

#include "zrdwg/KeptMemory.h"
#include "zrdwg/StoredObject.h"

namespace {

constexpr std::size_t kBlockBytes = StoredObject::kArenaBlock;

// The calling thread, as a number of its own (never 0).
int thisThread() noexcept {
  static std::atomic<int> threads{0};
  thread_local const int self = ++threads;
  return self;
}

// A piece of kept memory, and the thread that gave it back. A thread takes
// back its own pieces first: what it last wrote there may still be in its
// processor's caches, where another processor would have to fetch it from.
struct Piece {
  char* at;
  int keeper;
};

struct Kept {
  std::mutex mutex;
  std::size_t limit = 0;  // KeepFreedMemory
  std::size_t bytes = 0;  // kept now
  std::multimap<std::size_t, Piece> mappings;  // by size
  std::vector<Piece> blocks;

  bool room(std::size_t more) const { return bytes + more <= limit; }
};

Kept& keptMemory() {
  static Kept* const instance = new Kept;  // never destroyed: used until the process ends
  return *instance;
}

}  // namespace

namespace kept {

void* TakeMapping(std::size_t bytes) noexcept {
  Kept& k = keptMemory();
  char* at = nullptr;
  std::size_t size = 0;
  {
    std::lock_guard<std::mutex> lock(k.mutex);
    // The smallest large enough that this thread gave back, else the
    // smallest large enough.
    auto it = k.mappings.lower_bound(bytes);
    if (it == k.mappings.end()) return nullptr;
    const int self = thisThread();
    for (auto own = it; own != k.mappings.end(); ++own) {
      if (own->second.keeper == self) {
        it = own;
        break;
      }
    }
    size = it->first;
    at = it->second.at;
    const int keeper = it->second.keeper;
    k.mappings.erase(it);
    k.bytes -= size;
    // The tail beyond what was asked (whole huge pages both) stays kept, for
    // a later taker of its size: given back, that taker would fault in
    // fresh pages.
    if (size > bytes) {
      try {
        k.mappings.emplace(size - bytes, Piece{at + bytes, keeper});
        k.bytes += size - bytes;
        size = bytes;
      } catch (...) {
      }
    }
  }
  if (size > bytes) munmap(at + bytes, size - bytes);
  return at;
}

bool KeepMapping(void* at, std::size_t bytes) noexcept {
  Kept& k = keptMemory();
  std::lock_guard<std::mutex> lock(k.mutex);
  if (!k.room(bytes)) return false;
  try {
    k.mappings.emplace(bytes, Piece{static_cast<char*>(at), thisThread()});
  } catch (...) {
    return false;
  }
  k.bytes += bytes;
  return true;
}

char* TakeBlock() noexcept {
  Kept& k = keptMemory();
  std::lock_guard<std::mutex> lock(k.mutex);
  if (k.blocks.empty()) return nullptr;
  // The last this thread gave back, else the last given back.
  auto it = k.blocks.end() - 1;
  const int self = thisThread();
  for (auto own = k.blocks.rbegin(); own != k.blocks.rend(); ++own) {
    if (own->keeper == self) {
      it = own.base() - 1;
      break;
    }
  }
  char* block = it->at;
  k.blocks.erase(it);
  k.bytes -= kBlockBytes;
  return block;
}

bool KeepBlock(char* block) noexcept {
  Kept& k = keptMemory();
  std::lock_guard<std::mutex> lock(k.mutex);
  if (!k.room(kBlockBytes)) return false;
  try {
    k.blocks.push_back(Piece{block, thisThread()});
  } catch (...) {
    return false;
  }
  k.bytes += kBlockBytes;
  return true;
}

}  // namespace kept

void KeepFreedMemory(std::size_t bytes) noexcept {
  Kept& k = keptMemory();
  std::lock_guard<std::mutex> lock(k.mutex);
  k.limit = bytes;
}

void GiveBackKeptMemory() noexcept {
  Kept& k = keptMemory();
  std::multimap<std::size_t, Piece> mappings;
  std::vector<Piece> blocks;
  {
    std::lock_guard<std::mutex> lock(k.mutex);
    mappings.swap(k.mappings);
    blocks.swap(k.blocks);
    k.bytes = 0;
  }
  for (const auto& [size, piece] : mappings) munmap(piece.at, size);
  for (const Piece& block : blocks) std::free(block.at);
}

std::size_t KeptMemoryBytes() noexcept {
  Kept& k = keptMemory();
  std::lock_guard<std::mutex> lock(k.mutex);
  return k.bytes;
}
