#include "OdDbEntity.h"

#include <cstdlib>
#include <new>

ODRX_DEFINE_MEMBERS(OdDbEntity, OdDbObject, "AcDbEntity")

OdString OdDbEntity::layer() const { return textField("AcDbEntity", 8); }

void OdDbEntity::setLayer(const OdString& name) { setTextField("AcDbEntity", 8, name); }

bool OdDbEntity::isInPaperSpace() const { return intField("AcDbEntity", 67, 0) == 1; }

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
