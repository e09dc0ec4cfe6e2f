#pragma once
// ObjectStore: the ground floor of a drawing, below every object class. It holds
// the drawing's objects by handle (each with one reference of the store's own),
// hands out new handles, numbers the kinds of objects the drawing holds, keeps
// the arena of the tags read from the file and the drawing's text codec, and
// makes name keys. It knows objects only as StoredObject.
//
// What only the object model knows (which objects a drawing cannot do without,
// the APPID table, the dictionaries of the OBJECTS section) the objects reach through the hooks
// declared here, which the model's DatabaseImpl implements.

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "store/TagArena.h"
#include "zrdwg/LargeArray.h"
#include "zrdwg/StoredObject.h"
#include "zrdwg/TextCodec.h"

class OdDbDatabase;
class OdString;

class ObjectStore {
 public:
  // `database` is the drawing that owns the store and outlives it.
  explicit ObjectStore(OdDbDatabase* database) : database_(database) { arena.setOwner(this); }
  ObjectStore(const ObjectStore&) = delete;
  ObjectStore& operator=(const ObjectStore&) = delete;
  // Drops the store's reference to every object. An object someone still
  // holds keeps its kind's name and a copy of its tags, and leaves the drawing.
  virtual ~ObjectStore();

  OdDbDatabase* database() const { return database_; }
  // The drawing's text codec; set by the reader before any object is added.
  const TextCodec& codec() const { return *codec_; }
  void setCodec(std::unique_ptr<TextCodec> codec) { codec_ = std::move(codec); }

  // Makes a new object part of the drawing: gives it the next handle (or
  // `handle`, which must be free), sets its owner (null for a root), writes
  // both into its tags (with the owner among its reactors when the owner is a
  // dictionary) and re-encodes its text for the drawing's code page. The
  // store takes a reference; the object is left open for write. Throws
  // OdError(eAlreadyInDb) for an object of a drawing, eNotApplicable for one
  // read from a drawing that has ended (held past it), and eHandleInUse when
  // no handle is left (the object then stays outside).
  void addObject(StoredObject* object, StoredObject* owner, uint64_t handle = 0);
  // An object read from the file, with the handle it had: the store takes a
  // reference. The reader adds objects in handle order or sorts afterwards.
  void registerLoaded(StoredObject* object);
  // The object of that handle, or null (also for 0). Handles are mostly
  // dense, so the search starts where the handle's value says it should be:
  // a lookup takes a step or two, not a search of the whole index.
  StoredObject* lookup(uint64_t handle) const;
  // Puts `handles` in handle order after a read added objects in file order
  // (mostly that order already, with a few runs out of place: tables,
  // blocks, the objects after the entities). Close to linear for such files.
  // `runStarts`, when given, are the positions in `handles` where a handle
  // is not above the one before, in rising order (the reader notes them as it
  // reads, while each object is still in the caches): the runs are then
  // merged without a pass over every object to find them. Returns whether
  // every object has a handle of its own; objects that share one end up next
  // to each other.
  bool sortHandles(const std::vector<std::size_t>* runStarts = nullptr);
  static uint64_t handleOf(const StoredObject* object) { return object->handle_; }
  // The next free handle. Throws OdError(eHandleInUse) when none is left: the
  // largest value is never handed out, so that $HANDSEED stays above every handle.
  uint64_t takeHandle();

  // The index of a kind of object in this drawing: a fixed kind's
  // (objectkinds::fixed), or one numbered by this drawing from
  // StoredObject::kFirstDrawingKind. Throws OdError(eInvalidInput) past 32,767
  // kinds of its own.
  uint16_t kindOf(std::string_view name);
  // How many kinds the drawing numbers of its own, and whether it numbers this one.
  std::size_t ownKindCount() const { return kinds_.size(); }
  bool numbersKind(std::string_view name) const { return kindIndex_.count(name) != 0; }
  // The name of a kind numbered by this drawing (type >= kFirstDrawingKind).
  const std::string& kindName(uint16_t type) const { return kinds_[type - StoredObject::kFirstDrawingKind]; }

  // The key under which names are compared, ignoring case (upper case).
  static std::u16string nameKey(const OdString& name);

  // Hooks of the object model. Throws OdError when erasing the object would
  // leave a drawing that other programs fault.
  virtual void assertErasable(const StoredObject& object) const = 0;
  // Makes sure the APPID table holds an application of that name.
  virtual void registerApplication(const OdString& name) = 0;
  // Adds a new extension dictionary owned by `object` (hard ownership) at the
  // end of the OBJECTS section; returns its handle. The caller names it in
  // the object's tags.
  virtual uint64_t addExtensionDictionary(StoredObject* object) = 0;

  // The tags of everything read from the file. Declared first, so that it
  // goes last: the header, the raw sections and the objects point into it.
  TagArena arena;
  // Every object of the drawing, kept sorted by handle (new handles are
  // always the largest); each entry holds the store's reference. The handle
  // is the object's own (handleOf): one word an object, the index of a
  // large drawing being as large as a tenth of its tags. A large array: a
  // read reserves it from the file's size, and fills it in huge pages.
  LargeArray<StoredObject*> handles;
  uint64_t nextHandle = 1;
  uint64_t handseedRead = 0;  // $HANDSEED as read; written back unchanged unless new handles were taken

 private:
  OdDbDatabase* database_;
  std::unique_ptr<TextCodec> codec_;
  // Kinds numbered by this drawing (see kindOf); a deque: names never move.
  std::deque<std::string> kinds_;
  std::unordered_map<std::string_view, uint16_t> kindIndex_;
};
