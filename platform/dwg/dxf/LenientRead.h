#pragma once
// What a lenient read of a drawing records for the audit (DrawingAudit): filled
// by the reader (DxfLoader) and the linker (DxfLinker).

#include <cstddef>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

class OdDbObject;

// What a lenient read records: duplicate handles, which the normal read
// refuses, and owners and dictionary entries that name missing handles, which
// the normal read keeps silently. A drawing with duplicate handles is for
// reporting only (DrawingAudit); it is never saved.
struct LenientRead {
  struct Issue {
    std::size_t line;
    const OdDbObject* object;
    std::string message;
  };
  std::vector<Issue> issues;
  // Every object read, with the line of its "0 TYPE" tag, in file order.
  std::vector<std::pair<const OdDbObject*, std::size_t>> objects;
  // Objects the file gave no handle (or handle 0), numbered by the reader.
  std::unordered_set<const OdDbObject*> numbered;
  std::size_t duplicateHandles = 0;

  // The line of the tag at `index` among the tags `object` holds now, the
  // object's "0 TYPE" being at `line`: two lines per tag. A dictionary's
  // entries were taken out of its tags (all of them before its extended
  // data); an object the reader numbered has a handle tag the file did not,
  // so its own line is given.
  std::size_t tagLine(const OdDbObject* object, std::size_t line, std::size_t index) const;
};
