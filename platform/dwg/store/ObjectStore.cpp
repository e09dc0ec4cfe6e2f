#include "store/ObjectStore.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

#include "store/ObjectKinds.h"
#include "zrdwg/DxfValues.h"
#include "zrdwg/OdDbHandle.h"
#include "zrdwg/OdError.h"

using dxfv::isAscii;

namespace {

// The arenas of ended drawings whose objects someone still holds, by object:
// the arena goes with the last of them. Only such objects are listed, so a
// drawing that ends with nothing held never takes the lock.
struct KeptArenas {
  std::mutex mutex;
  std::unordered_map<const StoredObject*, std::shared_ptr<TagArena>> byObject;
};

KeptArenas& keptArenas() {
  static KeptArenas* kept = new KeptArenas;  // never destroyed: objects may be released at exit
  return *kept;
}

}  // namespace

void* StoredObject::operator new(std::size_t size) {
  char* block = static_cast<char*>(::operator new(size + kStoreSlot));
  *reinterpret_cast<void**>(block) = nullptr;
  return block + kStoreSlot;
}

void StoredObject::operator delete(void* object) noexcept {
  if (object) ::operator delete(static_cast<char*>(object) - kStoreSlot);
}

void StoredObject::setStore(ObjectStore* store) {
  // An object of an arena belongs to the arena's drawing, named in its block.
  if (flags_ & kInArena) return;
  *reinterpret_cast<void**>(reinterpret_cast<char*>(this) - kStoreSlot) = store;
}

void StoredObject::destroy() {
  if (!(flags_ & kInArena)) {
    delete this;
    return;
  }
  const bool outsideDrawing = !store();
  this->~StoredObject();
  if (!outsideDrawing) return;  // the drawing's arena is still there
  std::shared_ptr<TagArena> last;
  KeptArenas& kept = keptArenas();
  std::lock_guard<std::mutex> lock(kept.mutex);
  auto it = kept.byObject.find(this);
  if (it == kept.byObject.end()) return;
  last = std::move(it->second);  // freed after the lock, when it is the last
  kept.byObject.erase(it);
}

ObjectStore::~ObjectStore() {
  std::shared_ptr<TagArena> kept;
  for (StoredObject* object : handles) {
    // The bulk of a read drawing goes with the arena, without a call each.
    if (object->leavesWithArena()) continue;
    // An object someone still holds keeps its kind's name past the drawing.
    if (object->numRefs() > 1) {
      if (object->type_ >= StoredObject::kFirstDrawingKind) object->type_ = objectkinds::intern(kindName(object->type_));
      // ... and its tags, which the arena holds.
      object->tags_.makeOwned();
      // An object placed in the arena keeps the arena until it goes.
      if (object->flags_ & StoredObject::kInArena) {
        if (!kept) kept = std::make_shared<TagArena>(std::move(arena));
        KeptArenas& all = keptArenas();
        std::lock_guard<std::mutex> lock(all.mutex);
        all.byObject.emplace(object, kept);
      }
    }
    object->setStore(nullptr);
    object->release();
  }
  // The objects of the arena that are still held are outside the drawing now.
  (kept ? *kept : arena).setOwner(nullptr);
}

uint16_t ObjectStore::kindOf(std::string_view name) {
  if (auto fixed = objectkinds::fixed(name)) return *fixed;
  auto it = kindIndex_.find(name);
  if (it != kindIndex_.end()) return it->second;
  constexpr std::size_t kMaxKinds = 0x10000 - StoredObject::kFirstDrawingKind - 1;
  if (kinds_.size() >= kMaxKinds)
    throw OdError(eInvalidInput, OdString(u"The drawing has more than 32,767 kinds of objects"));
  kinds_.emplace_back(name);
  const auto type = static_cast<uint16_t>(StoredObject::kFirstDrawingKind + kinds_.size() - 1);
  kindIndex_.emplace(kinds_.back(), type);
  return type;
}

std::u16string ObjectStore::nameKey(const OdString& name) {
  OdString key(name);
  return key.makeUpper().str();
}

StoredObject* ObjectStore::lookup(uint64_t handle) const {
  const std::size_t n = handles.size();
  if (handle == 0 || n == 0) return nullptr;
  auto below = [handle](const StoredObject* o) { return o->handle_ < handle; };
  const uint64_t first = handles.front()->handle_, last = handles.back()->handle_;
  if (handle < first || handle > last) return nullptr;
  // Where the handle would be if the handles were spread evenly; from there
  // the search widens in steps of 1, 2, 4, ... until it brackets the handle.
  const std::size_t guess =
      last == first ? 0
                    : static_cast<std::size_t>(static_cast<unsigned __int128>(handle - first) * (n - 1) / (last - first));
  std::size_t lo, hi;  // the first handle not below `handle` lies in [lo, hi]
  if (below(handles[guess])) {
    lo = guess + 1;
    hi = n - 1;  // the last handle is not below
    for (std::size_t step = 1; guess + step < n; step *= 2) {
      if (!below(handles[guess + step])) {
        hi = guess + step;
        break;
      }
      lo = guess + step + 1;
    }
  } else {
    lo = 0;
    hi = guess;
    for (std::size_t step = 1; step <= guess; step *= 2) {
      if (below(handles[guess - step])) {
        lo = guess - step + 1;
        break;
      }
      hi = guess - step;
    }
  }
  auto it = std::partition_point(handles.begin() + static_cast<std::ptrdiff_t>(lo),
                                 handles.begin() + static_cast<std::ptrdiff_t>(hi), below);
  return (*it)->handle_ == handle ? *it : nullptr;
}

namespace {

bool byHandle(const StoredObject* a, const StoredObject* b) { return ObjectStore::handleOf(a) < ObjectStore::handleOf(b); }
bool sameHandle(const StoredObject* a, const StoredObject* b) { return ObjectStore::handleOf(a) == ObjectStore::handleOf(b); }

// Merges the sorted ranges [first, middle) and [middle, last) when one of
// them is short beside the other: each object of the short one finds its
// place by a binary search, and the long one's objects move in blocks,
// without a comparison each. Stable, as std::inplace_merge. Returns false
// when an object of one range has the handle of one of the other.
using Handles = LargeArray<StoredObject*>::iterator;
bool mergeShortRange(Handles first, Handles middle, Handles last) {
  bool distinct = true;
  if (last - middle <= middle - first) {
    // The short range is the second: placed from its largest down, each
    // after the first range's equal handles.
    std::vector<StoredObject*> shorter(middle, last);
    Handles out = last, end = middle;
    for (auto it = shorter.rbegin(); it != shorter.rend(); ++it) {
      Handles at = std::upper_bound(first, end, *it, byHandle);
      if (at != first && sameHandle(at[-1], *it)) distinct = false;
      out = std::move_backward(at, end, out);
      *--out = *it;
      end = at;
    }
  } else {
    // The short range is the first: placed from its smallest up, each before
    // the second range's equal handles.
    std::vector<StoredObject*> shorter(first, middle);
    Handles out = first, begin = middle;
    for (StoredObject* object : shorter) {
      Handles at = std::lower_bound(begin, last, object, byHandle);
      if (at != last && sameHandle(*at, object)) distinct = false;
      out = std::move(begin, at, out);
      *out++ = object;
      begin = at;
    }
  }
  return distinct;
}

}  // namespace

bool ObjectStore::sortHandles(const std::vector<std::size_t>* runStarts) {
  std::vector<std::size_t> found;
  if (!runStarts) {
    for (std::size_t i = 1; i < handles.size(); ++i)
      if (!byHandle(handles[i - 1], handles[i])) found.push_back(i);
    runStarts = &found;
  }
  if (runStarts->empty()) return true;
  if (runStarts->size() > 64) {
    std::sort(handles.begin(), handles.end(), byHandle);
    return std::adjacent_find(handles.begin(), handles.end(), sameHandle) == handles.end();
  }
  // Each run is merged into the sorted objects before it. Within a run the
  // handles rise strictly, so equal handles can only meet in a merge.
  bool distinct = true;
  for (std::size_t k = 0; k < runStarts->size(); ++k) {
    const std::size_t middle = (*runStarts)[k];
    const std::size_t last = k + 1 < runStarts->size() ? (*runStarts)[k + 1] : handles.size();
    const auto first = handles.begin(), mid = first + static_cast<std::ptrdiff_t>(middle),
               end = first + static_cast<std::ptrdiff_t>(last);
    if (byHandle(mid[-1], *mid)) continue;  // the run follows what is before it
    // Binary searches pay when one side is short: up to some 20 steps an
    // object of it, against a comparison for every object of the other.
    const std::size_t shorter = std::min(middle, last - middle), longer = std::max(middle, last - middle);
    if (shorter * 32 <= longer) {
      distinct &= mergeShortRange(first, mid, end);
    } else {
      // Both sides alike long: the merge costs a comparison an object anyway,
      // and so does looking for equal neighbours after it.
      std::inplace_merge(first, mid, end, byHandle);
      distinct &= std::adjacent_find(first, end, sameHandle) == end;
    }
  }
  return distinct;
}

void ObjectStore::registerLoaded(StoredObject* object) {
  // One placed in an arena is this drawing's: the reader places objects in
  // the arena of the drawing it reads.
  object->setStore(this);
  object->addRef();
  handles.push_back(object);
}

uint64_t ObjectStore::takeHandle() {
  if (nextHandle == UINT64_MAX) throw OdError(eHandleInUse, OdString(u"The drawing has no free handle left"));
  return nextHandle++;
}

void ObjectStore::addObject(StoredObject* object, StoredObject* owner, uint64_t chosen) {
  if (object->store()) throw OdError(eAlreadyInDb);
  // An object of a drawing's arena cannot name another store: one held past
  // its drawing stays outside every drawing.
  if (object->flags_ & StoredObject::kInArena)
    throw OdError(eNotApplicable, OdString(u"An object read from a drawing that has been closed cannot join another"));
  // The handle first: when none is left, the object stays outside the drawing.
  const uint64_t handle = chosen ? chosen : takeHandle();
  // $HANDSEED stays above every handle.
  if (chosen && chosen >= nextHandle) nextHandle = chosen + 1;
  object->setStore(this);
  object->owner_ = owner;
  object->handle_ = handle;

  const std::string handleText = OdDbHandle(object->handle_).hex();
  const std::string ownerText = owner ? OdDbHandle(owner->handle_).hex() : std::string("0");
  static const uint16_t kDimStyle = *objectkinds::fixed("DIMSTYLE");
  TagListBuilder b;
  b.add(object->type_ == kDimStyle ? 105 : 5, handleText);
  if (owner && owner->isDictionary()) {
    // Objects held by a dictionary name it among their reactors, as other
    // programs expect.
    b.add(102, "{ACAD_REACTORS");
    b.add(330, ownerText);
    b.add(102, "}");
  }
  b.add(330, ownerText);
  // Objects made outside a drawing hold their text as UTF-8; a drawing of an
  // ANSI code page gets it in its own encoding.
  static const TextCodec kUtf8(true, "");
  for (const auto& t : object->tags_) {
    if (t.code == 5 || t.code == 330) continue;
    if (!codec_->isUtf8() && !isAscii(t.value)) {
      b.add(t.code, codec_->encode(kUtf8.decode(t.value)));
    } else {
      b.add(t);
    }
  }
  object->tags_ = b.finish();
  object->addRef();
  object->openMode_ = OdDb::kForWrite;
  // The index stays sorted: a chosen handle may fall between others.
  if (handles.empty() || handles.back()->handle_ < handle) {
    handles.push_back(object);
  } else {
    auto at = std::partition_point(handles.begin(), handles.end(),
                                   [handle](const StoredObject* o) { return o->handle_ < handle; });
    handles.insert(at, object);
  }
}
