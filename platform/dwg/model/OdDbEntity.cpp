#include "zrdwg/OdDbEntity.h"

#include "model/DxfFields.h"
#include "store/ObjectStore.h"
#include "store/TagArena.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

ODRX_DEFINE_MEMBERS(OdDbEntity, OdDbObject, "AcDbEntity")

OdString OdDbEntity::layer() const { return textField(fields::entity::kLayer); }

std::string_view OdDbEntity::layerUtf8(std::string& scratch) const {
  return textFieldUtf8(fields::entity::kLayer, scratch);
}

void OdDbEntity::setLayer(const OdString& name) { setTextField(fields::entity::kLayer, name); }

bool OdDbEntity::isInPaperSpace() const { return intField(fields::entity::kPaperSpace, 0) == 1; }

OdDbObjectId IdListCursor::idOf(const OdDbEntity* entity) { return OdDbObjectId::fromObject(entity); }

void IdListCursor::fetchTags(const OdDbEntity* entity) { entity->dxfTags().prefetch(); }

OdDbObjectIteratorPtr OdDbEntity::subEntityIterator() const { return childIterator(nullptr); }

OdDbObjectIteratorPtr OdDbEntity::childIterator(const OdRxClass* only) const {
  // Most references carry one or two attributes: those are listed in the
  // iterator itself, without an allocation.
  const Children* children = this->children();
  const std::size_t most = children ? children->count : 0;
  IdListCursor::Few few;
  std::vector<OdDbObjectId> many(most > IdListCursor::kInline ? most : 0);
  OdDbObjectId* ids = many.empty() ? few.data() : many.data();
  std::size_t n = 0;
  if (children) {
    for (OdDbEntity* e : *children)
      if (!only || e->isKindOf(only)) ids[n++] = OdDbObjectId::fromObject(e->database() ? e : nullptr);
  }
  many.resize(many.empty() ? 0 : n);
  OdDbObjectIteratorPtr it(many.empty() ? new OdDbObjectIterator(few, n) : new OdDbObjectIterator(std::move(many)));
  it->start();
  return it;
}

void OdDbEntity::FreeChildren::operator()(Children* c) const {
  if (!c->inArena) std::free(c);
}

OdDbEntity::Children* OdDbEntity::grow(Children* c, uint32_t capacity, TagArena* arena) {
  const std::size_t bytes = sizeof(Children) + capacity * sizeof(OdDbEntity*);
  if (arena) {
    auto* grown = static_cast<Children*>(arena->allocateAligned(bytes));
    if (c) std::memcpy(static_cast<void*>(grown), c, sizeof(Children) + c->count * sizeof(OdDbEntity*));
    grown->inArena = 1;
    return grown;  // an arena's list before stays with the arena
  }
  // A list in an arena is copied out; one of its own is reallocated.
  Children* const fromArena = c && c->inArena ? c : nullptr;
  void* p = std::realloc(fromArena ? nullptr : c, bytes);
  if (!p) throw std::bad_alloc();
  auto* grown = static_cast<Children*>(p);
  if (fromArena)
    std::memcpy(static_cast<void*>(grown), fromArena, sizeof(Children) + fromArena->count * sizeof(OdDbEntity*));
  grown->inArena = 0;
  return grown;
}

void OdDbEntity::addChild(OdDbEntity* child, TagArena* arena) {
  ChildList& slot = *childSlot();
  Children* c = slot.get();
  if (!c || c->count == c->capacity) {
    const uint32_t capacity = c && c->capacity ? c->capacity * 2 : 1;
    slot.release();
    Children* grown = grow(c, capacity, arena);
    if (!c) {
      grown->seqend = nullptr;
      grown->count = 0;
    }
    grown->capacity = capacity & 0x7FFFFFFF;
    slot.reset(grown);
    c = grown;
  }
  reinterpret_cast<OdDbEntity**>(c + 1)[c->count++] = child;
}

void OdDbEntity::setSequenceEnd(OdDbEntity* seqend, TagArena* arena) {
  ChildList& slot = *childSlot();
  if (!slot) {
    Children* c = grow(nullptr, 0, arena);
    c->count = 0;
    c->capacity = 0;
    slot.reset(c);
  }
  slot->seqend = seqend;
}

OdDbComplexEntity::~OdDbComplexEntity() {
  // Sub-entities not yet added to a drawing are held by this entity.
  if (!children_) return;
  for (OdDbEntity* child : *children_)
    if (!child->database()) child->release();
  if (children_->seqend && !children_->seqend->database()) children_->seqend->release();
}

OdString OdDbEntity::className() const {
  if (isA() != OdDbEntity::desc()) return OdRxObject::className();
  return recordedClassName();
}

void OdDbEntity::adoptChildren() {
  const Children* children = this->children();
  if (!children) return;
  auto adopt = [&](OdDbEntity* child) {
    if (!child || child->store()) return;
    store()->addObject(child, this);
    child->release();
  };
  for (OdDbEntity* child : *children) adopt(child);
  adopt(children->seqend);
}

// The iterator opens what it walks: entities, defined with them.
ODRX_DEFINE_MEMBERS(OdDbObjectIterator, OdRxObject, "OdDbObjectIterator")

namespace {

// The iterator a thread let go last, freed with the thread. Under
// AddressSanitizer every iterator goes back to the allocator, so that a use
// after its release is reported.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kKeepSpare = false;
#else
constexpr bool kKeepSpare = true;
#endif
struct SpareIterator {
  void* block = nullptr;
  ~SpareIterator() { ::operator delete(block); }
};
thread_local SpareIterator tSpareIterator;

}  // namespace

void* OdDbObjectIterator::operator new(std::size_t size) {
  SpareIterator& spare = tSpareIterator;
  if (size == sizeof(OdDbObjectIterator) && spare.block) return std::exchange(spare.block, nullptr);
  return ::operator new(size);
}

void OdDbObjectIterator::operator delete(void* p, std::size_t size) noexcept {
  SpareIterator& spare = tSpareIterator;
  if (kKeepSpare && size == sizeof(OdDbObjectIterator) && !spare.block) {
    spare.block = p;
    return;
  }
  ::operator delete(p);
}

OdDbEntityPtr OdDbObjectIterator::entity(OdDb::OpenMode mode, bool openErased) const {
  return OdDbEntityPtr(objectId().openObject(mode, openErased));
}
