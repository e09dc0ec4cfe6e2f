#pragma once
// Extended data in an object's tags: from the first 1001 (application name) on,
// each application's values up to the next 1001. A tag with a code below 1000
// after the extended data (an embedded object) is kept after it.

#include <string>
#include <vector>

#include "zrdwg/OdResBuf.h"
#include "zrdwg/TagList.h"

class TextCodec;

namespace xdata {

struct Layout {
  std::vector<DxfTag> tags;  // all tags of the object
  std::size_t begin = 0;     // first 1001
  std::size_t end = 0;       // first tag after the extended data
  // [first, last) ranges of each application's group, in order.
  std::vector<std::pair<std::size_t, std::size_t>> groups;
};

// Walks an object's extended data in one pass, without copying: calls
// visit(tag) for each tag from the first 1001 (application name) up to the end
// of the extended data (a code below 1000, or the end of the list). A tag of
// code 1001 starts an application's group. visit returns false to stop early.
// Every reader of the grouping goes through here or through layoutOf.
template <class Visit>
void walk(const TagList& list, Visit&& visit) {
  if (!list.hasExtendedData()) return;
  bool inXdata = false;
  for (const DxfTag& t : list) {
    if (t.code == OdResBuf::kDxfRegAppName) {
      inXdata = true;
    } else if (!inXdata) {
      continue;
    } else if (t.code < OdResBuf::kDxfXdAsciiString) {
      return;
    }
    if (!visit(t)) return;
  }
}

// The layout of all of an object's tags (the views point into list).
Layout layoutOf(const TagList& list);
// The same for the extended data only: tags holds the tags from the first
// 1001 on (begin is 0), so that a reader of extended data copies none of the
// object's own tags. The views point into list.
Layout extendedDataOf(const TagList& list);

// The chain of one group (1001 name first), decoding text with the codec.
OdResBufPtr groupToChain(const std::vector<DxfTag>& tags, std::size_t first, std::size_t last, const TextCodec& codec);

// Tags for a chain (which starts with its 1001). Where a value equals the one at
// the same place in oldTags, the old text is kept, so unchanged values are
// written back exactly as read. Returned strings own the text.
std::vector<std::pair<int, std::string>> chainToTags(const OdResBuf* chain, const std::vector<DxfTag>& oldTags,
                                                     const TextCodec& codec);

}  // namespace xdata
