#include "store/KeptMemory.h"

#include <sys/mman.h>

#include <cstdlib>
#include <map>
#include <mutex>
#include <vector>

#include "zrdwg/KeptMemory.h"
#include "zrdwg/StoredObject.h"

namespace {

constexpr std::size_t kBlockBytes = StoredObject::kArenaBlock;

struct Kept {
  std::mutex mutex;
  std::size_t limit = 0;  // KeepFreedMemory
  std::size_t bytes = 0;  // kept now
  std::multimap<std::size_t, char*> mappings;  // by size
  std::vector<char*> blocks;

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
    const auto it = k.mappings.lower_bound(bytes);
    if (it == k.mappings.end()) return nullptr;
    size = it->first;
    at = it->second;
    k.mappings.erase(it);
    k.bytes -= size;
    // The tail beyond what was asked (whole huge pages both) stays kept, for
    // a later taker of its size: given back, that taker would fault in
    // fresh pages.
    if (size > bytes) {
      try {
        k.mappings.emplace(size - bytes, at + bytes);
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
    k.mappings.emplace(bytes, static_cast<char*>(at));
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
  char* block = k.blocks.back();
  k.blocks.pop_back();
  k.bytes -= kBlockBytes;
  return block;
}

bool KeepBlock(char* block) noexcept {
  Kept& k = keptMemory();
  std::lock_guard<std::mutex> lock(k.mutex);
  if (!k.room(kBlockBytes)) return false;
  try {
    k.blocks.push_back(block);
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
  std::multimap<std::size_t, char*> mappings;
  std::vector<char*> blocks;
  {
    std::lock_guard<std::mutex> lock(k.mutex);
    mappings.swap(k.mappings);
    blocks.swap(k.blocks);
    k.bytes = 0;
  }
  for (const auto& [size, at] : mappings) munmap(at, size);
  for (char* block : blocks) std::free(block);
}

std::size_t KeptMemoryBytes() noexcept {
  Kept& k = keptMemory();
  std::lock_guard<std::mutex> lock(k.mutex);
  return k.bytes;
}
