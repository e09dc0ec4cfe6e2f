#include "store/ObjectStore.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

#include "store/ObjectKinds.h"
#include "zrdwg/OdDbHandle.h"
#include "zrdwg/OdError.h"

namespace {
bool isAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}
}  // namespace

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

void StoredObject::destroy() {
  if (!(flags_ & kInArena)) {
    delete this;
    return;
  }
  const bool outsideDrawing = !store_;
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
  for (auto& [handle, object] : handles) {
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
    object->store_ = nullptr;
    object->release();
  }
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
  if (handle == 0) return nullptr;
  auto it = std::lower_bound(handles.begin(), handles.end(), handle,
                             [](const auto& entry, uint64_t h) { return entry.first < h; });
  if (it == handles.end() || it->first != handle) return nullptr;
  return it->second;
}

void ObjectStore::registerLoaded(StoredObject* object) {
  object->store_ = this;
  object->addRef();
  handles.emplace_back(object->handle_, object);
}

uint64_t ObjectStore::takeHandle() {
  if (nextHandle == UINT64_MAX) throw OdError(eHandleInUse, OdString(u"The drawing has no free handle left"));
  return nextHandle++;
}

void ObjectStore::addObject(StoredObject* object, StoredObject* owner, uint64_t chosen) {
  if (object->store_) throw OdError(eAlreadyInDb);
  // The handle first: when none is left, the object stays outside the drawing.
  const uint64_t handle = chosen ? chosen : takeHandle();
  // $HANDSEED stays above every handle.
  if (chosen && chosen >= nextHandle) nextHandle = chosen + 1;
  object->store_ = this;
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
  if (handles.empty() || handles.back().first < handle) {
    handles.emplace_back(handle, object);
  } else {
    auto at = std::lower_bound(handles.begin(), handles.end(), handle,
                               [](const auto& entry, uint64_t h) { return entry.first < h; });
    handles.insert(at, {handle, object});
  }
}
