#pragma once
// Links a drawing the reader has read: gives handles to objects that had none,
// refuses duplicate handles, finds the owners the reader could not find as it
// read, gives each block definition its BLOCK, entities and ENDBLK, puts every
// entity in its block and every reference on its block, and resolves
// dictionaries. A lenient read records instead of refusing (LenientRead).
// Faults throw OdError naming the file and line, as the reader's do.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "zrdwg/EntityList.h"

class DxfTagReader;
class OdDbBlockReference;
class OdDbBlockTableRecord;
class OdDbEntity;
class OdDbObject;
class StoredObject;
struct DatabaseImpl;
struct LenientRead;

class DxfLinker {
 public:
  // An object whose owner tag named an object not yet known when it was
  // read: found by handle once every object is read.
  struct PendingOwner {
    OdDbObject* object;
    uint64_t handle;
    uint32_t line;   // of the object's "0 TYPE" tag (0 when lines are not kept)
    uint32_t index;  // of the owner tag among the object's tags
  };
  // A block definition as read: its BLOCK, entities and ENDBLK.
  struct PendingBlock {
    OdDbEntity* begin = nullptr;
    EntityList entities;
    OdDbEntity* end = nullptr;
    std::size_t line = 0;
  };
  // A block reference (INSERT) as read, with the index of its block name
  // among the names read.
  struct NotedReference {
    OdDbBlockReference* reference;
    std::size_t name;
  };
  // A block name as references give it (raw bytes, a view of their tags,
  // which stay), with the first reference that gave it, how many did, and
  // the block it names: found by the reader among the block records read
  // before it, else by the linker (foundLate: the references are then
  // given it there).
  struct ReferenceName {
    std::string_view raw;
    OdDbBlockReference* first;
    std::size_t references;
    OdDbBlockTableRecord* block;
    bool foundLate;
  };
  // What the reader hands over: the largest handle read, the order of the
  // handles, the blocks in file order, the owners left to find and the
  // references by block name. The linker empties the lists.
  struct Read {
    uint64_t maxHandle = 0;
    // Notes the handle of the object read after the `noted` before it (0
    // when it came without one).
    void noteHandle(uint64_t handle) {
      const std::size_t position = noted++;
      if (handle == 0) {
        unnumbered = true;
        return;
      }
      if (handle <= lastHandle) handleRunStarts.push_back(position);
      lastHandle = handle;
    }
    // Where the handles stop rising, by the objects' positions in the order
    // read (see ObjectStore::sortHandles). The positions are those in the
    // store's handles when the store holds the objects read alone: when
    // `noted` is their number, and none came without a handle.
    std::vector<std::size_t> handleRunStarts;
    std::size_t noted = 0;
    uint64_t lastHandle = 0;
    bool unnumbered = false;
    std::vector<PendingBlock> blocks;
    std::vector<PendingOwner> pendingOwners;
    // The owner every entity of the ENTITIES section had as it was read,
    // when they all had the same one and kept it (entitiesShareOwner).
    StoredObject* entitiesOwner = nullptr;
    bool entitiesShareOwner = true;
    // Notes a reference just read with its block name and handle (0 for
    // none); returns the name's
    // entry, which is new (one reference, no block) the first time the name
    // is read. A drawing holds many references of few blocks; a name kept
    // once for the process (see TagList::internedPlaceOf) is known by its
    // place, without hashing its bytes.
    ReferenceName& noteReference(OdDbBlockReference* reference, std::string_view rawName, uint64_t handle);
    LargeArray<NotedReference> references;  // in the order read
    // Whether each reference was read with a handle above the one before.
    bool referencesInHandleOrder = true;
    uint64_t lastReferenceHandle = 0;
    std::vector<ReferenceName> referenceNames;
    std::unordered_map<std::string_view, std::size_t> referenceNameIndex;  // raw bytes: index in referenceNames
    uint32_t referenceNameAtPlace[256] = {};  // an interned place: index in referenceNames + 1; 0 when none yet
    // The block table's records the reader indexed by name (the linker goes
    // on from there).
    std::size_t blockRecordsIndexed = 0;
  };

  // Everything given must outlive the linker. reader names the file in
  // messages; lineOf gives an object's "0 TYPE" line (it may read the input
  // again to find it, and throw); lenient is null for a normal read.
  DxfLinker(DatabaseImpl& impl, const std::string& path, Read& read, const DxfTagReader& reader,
            std::function<std::size_t(const OdDbObject*)> lineOf, LenientRead* lenient)
      : impl_(impl),
        path_(path),
        maxHandle_(read.maxHandle),
        read_(read),
        blocks_(read.blocks),
        pendingOwners_(read.pendingOwners),
        reader_(reader),
        lineOf_(std::move(lineOf)),
        lenient_(lenient) {}

  // Links the drawing; throws OdError(eBadDxfFile) when it cannot be linked.
  void link();

 private:
  // Numbers the objects, sorts the handle index, refuses (or, in a lenient
  // read, notes) a handle used twice, and finds the owners left to find.
  void linkHandles();
  void numberObjectsWithoutHandle();
  void checkDuplicateHandles();
  void linkOwners();
  void linkBlocks();
  void linkEntities();
  // Lists each reference read on the block its name names (none when no
  // block has that name), each block's references in handle order.
  void linkReferences();
  void linkObjects();
  std::size_t lineOf(const OdDbObject* object) const { return lineOf_(object); }
  [[noreturn]] void failAt(std::size_t line, const std::string& message) const;

  DatabaseImpl& impl_;
  const std::string& path_;
  const uint64_t maxHandle_;
  Read& read_;
  std::vector<PendingBlock>& blocks_;
  std::vector<PendingOwner>& pendingOwners_;
  const DxfTagReader& reader_;
  std::function<std::size_t(const OdDbObject*)> lineOf_;
  LenientRead* lenient_;
};
