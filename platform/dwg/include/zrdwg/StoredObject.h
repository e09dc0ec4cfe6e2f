#pragma once
// StoredObject: what the object store keeps of every object of a drawing, below
// every object class: its kind, its open state and flags, its DXF tags, the
// store that holds it, its owner and its handle. OdDbObject derives from it and
// gives these fields their meaning; code outside the library uses OdDbObject.
//
// The three small fields come first so that they share a word with the
// reference count of OdRxObject: a drawing holds millions of objects.

#include <cstddef>
#include <cstdint>

#include "zrdwg/OdDb.h"
#include "zrdwg/OdRxObject.h"
#include "zrdwg/TagList.h"

class ObjectStore;

class StoredObject : public OdRxObject {
 public:
  // Kinds of objects numbered by a drawing start here; the kinds below it are
  // numbered alike in every process (see OdDbObject::dxfName).
  static constexpr uint16_t kFirstDrawingKind = 0x8000;

  // An object allocated alone has a word before it (kStoreSlot bytes before
  // its start) that names the store of its drawing (see store()); one placed
  // in a drawing's arena by the reader (placement new) finds its store in its
  // arena block instead: arena blocks are kArenaBlock bytes, aligned to their
  // size, and each starts with a pointer to the store (TagArena keeps to it).
  static constexpr std::size_t kStoreSlot = 16;
  static constexpr std::size_t kArenaBlock = std::size_t(2) << 20;
  static void* operator new(std::size_t size);
  static void* operator new(std::size_t, void* place) noexcept { return place; }
  static void operator delete(void* object) noexcept;

 protected:
  explicit StoredObject(uint16_t type) : type_(type) {}

  // True for a dictionary: an object added with a dictionary as its owner
  // names it among its reactors too, as other programs expect.
  virtual bool isDictionary() const;

  friend class ObjectStore;

  enum Flags : uint8_t {
    kErased = 1,
    kInEntitiesSection = 2,  // written in the ENTITIES section (model space, active paper space)
    // Placed in its drawing's arena by the reader: never deleted alone. Its
    // last release runs its destructor; the memory goes with the arena.
    kInArena = 4,
  };

  // True when the object holds no memory outside its drawing's arena (its
  // tags read, not edited), so that a drawing ending may drop it without
  // running its destructor. A class with members that allocate says so.
  virtual bool holdsOnlyArenaMemory() const { return tags_.empty() || tags_.inArena(); }
  // True when the drawing's end may leave the object to its arena: placed
  // there, held by nobody but the drawing, holding nothing elsewhere.
  bool leavesWithArena() const { return (flags_ & kInArena) && refs_ == 1 && holdsOnlyArenaMemory(); }
  // Ends an object whose last reference went: deletes it, or for one in an
  // arena runs its destructor (and lets go of the arena an object held past
  // its drawing keeps alive).
  void destroy();

  // The store of the drawing that holds the object; null outside a drawing
  // (not yet added, or held past the drawing's end). Inline: every opening
  // and identifier asks for it.
  ObjectStore* store() const {
    const void* const* word =
        (flags_ & kInArena)
            ? reinterpret_cast<const void* const*>(reinterpret_cast<uintptr_t>(this) & ~(kArenaBlock - 1))
            : reinterpret_cast<const void* const*>(reinterpret_cast<const char*>(this) - kStoreSlot);
    return static_cast<ObjectStore*>(const_cast<void*>(*word));
  }
  // Names the store of an object allocated alone (not in an arena).
  void setStore(ObjectStore* store);

  int8_t openMode_ = OdDb::kNotOpen;
  uint8_t flags_ = 0;
  // The index of the object's kind (its DXF type name): see ObjectStore::kindOf.
  uint16_t type_;
  TagList tags_;
  // The owner as linked by the model (not necessarily the owner tag's handle).
  StoredObject* owner_ = nullptr;
  uint64_t handle_ = 0;
};
