#include "drawing/BlockStore.h"

#include <cstdlib>

#include "zrdwg/BackgroundFaults.h"
#include "zrdwg/LargeArray.h"

namespace zr {

StoreBlock TakeStoreBlock(std::size_t bytes) {
  StoreBlock block;
  // A block this large or larger is mapped on its own, in huge pages: a
  // large drawing's pins then take a few page faults, not thousands.
  if (bytes >= kHugePageBytes) {
    block.bytes = HugePagesFor(bytes);
    block.at = MapHugePages(block.bytes);
    block.mapped = true;
  } else {
    block.bytes = bytes;
    block.at = std::malloc(bytes);  // aligned for any object
    if (!block.at) throw std::bad_alloc();
  }
  return block;
}

void ReleaseStoreBlock(const StoreBlock& block) {
  StopFaulting(block.at, block.bytes);
  if (block.mapped) UnmapHugePages(block.at, block.bytes);
  else std::free(block.at);
}

}  // namespace zr
