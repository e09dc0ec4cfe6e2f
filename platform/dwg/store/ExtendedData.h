#pragma once
// Extended data in an object's tags: from the first 1001 (application name) on,
// each application's values up to the next 1001. A tag with a code below 1000
// after the extended data (an embedded object) is kept after it.

#include <string>
#include <vector>

#include "OdResBuf.h"
#include "TagList.h"

class TextCodec;

namespace xdata {

struct Layout {
  std::vector<DxfTag> tags;  // all tags of the object
  std::size_t begin = 0;     // first 1001
  std::size_t end = 0;       // first tag after the extended data
  // [first, last) ranges of each application's group, in order.
  std::vector<std::pair<std::size_t, std::size_t>> groups;
};

Layout layoutOf(const TagList& list);

// The chain of one group (1001 name first), decoding text with the codec.
OdResBufPtr groupToChain(const std::vector<DxfTag>& tags, std::size_t first, std::size_t last, const TextCodec& codec);

// Tags for a chain (which starts with its 1001). Where a value equals the one at
// the same place in oldTags, the old text is kept, so unchanged values are
// written back exactly as read. Returned strings own the text.
std::vector<std::pair<int, std::string>> chainToTags(const OdResBuf* chain, const std::vector<DxfTag>& oldTags,
                                                     const TextCodec& codec);

}  // namespace xdata
