#include "zrdwg/OdDbEntity.h"

#include "model/DxfFields.h"
#include "store/ObjectStore.h"

#include <cstdlib>
#include <new>

ODRX_DEFINE_MEMBERS(OdDbEntity, OdDbObject, "AcDbEntity")

OdString OdDbEntity::layer() const { return textField(fields::entity::kLayer); }

void OdDbEntity::setLayer(const OdString& name) { setTextField(fields::entity::kLayer, name); }

bool OdDbEntity::isInPaperSpace() const { return intField(fields::entity::kPaperSpace, 0) == 1; }

OdDbObjectIteratorPtr OdDbEntity::subEntityIterator() const {
  std::vector<OdDbObjectId> ids;
  if (children_) {
    ids.reserve(children_->count);
    for (OdDbEntity* e : *children_) ids.push_back(OdDbObjectId::fromObject(e->database() ? e : nullptr));
  }
  OdDbObjectIteratorPtr it(new OdDbObjectIterator(std::move(ids)));
  it->start();
  return it;
}

void OdDbEntity::FreeChildren::operator()(Children* c) const { std::free(c); }

OdDbEntity::Children* OdDbEntity::grow(Children* c, uint32_t capacity) {
  void* p = std::realloc(c, sizeof(Children) + capacity * sizeof(OdDbEntity*));
  if (!p) throw std::bad_alloc();
  return static_cast<Children*>(p);
}

void OdDbEntity::addChild(OdDbEntity* child) {
  Children* c = children_.get();
  if (!c || c->count == c->capacity) {
    const uint32_t capacity = c && c->capacity ? c->capacity * 2 : 1;
    children_.release();
    Children* grown = grow(c, capacity);
    if (!c) {
      grown->seqend = nullptr;
      grown->count = 0;
    }
    grown->capacity = capacity;
    children_.reset(grown);
    c = grown;
  }
  reinterpret_cast<OdDbEntity**>(c + 1)[c->count++] = child;
}

void OdDbEntity::setSequenceEnd(OdDbEntity* seqend) {
  if (!children_) {
    Children* c = grow(nullptr, 0);
    c->count = c->capacity = 0;
    children_.reset(c);
  }
  children_->seqend = seqend;
}

OdDbEntity::~OdDbEntity() {
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
  if (!children_) return;
  auto adopt = [&](OdDbEntity* child) {
    if (!child || child->store_) return;
    store_->addObject(child, this);
    child->release();
  };
  for (OdDbEntity* child : *children_) adopt(child);
  adopt(children_->seqend);
}

// The iterator opens what it walks: entities, defined with them.
ODRX_DEFINE_MEMBERS(OdDbObjectIterator, OdRxObject, "OdDbObjectIterator")

OdDbEntityPtr OdDbObjectIterator::entity(OdDb::OpenMode mode, bool openErased) const {
  return OdDbEntityPtr(objectId().openObject(mode, openErased));
}
