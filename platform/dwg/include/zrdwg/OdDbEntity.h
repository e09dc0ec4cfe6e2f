#pragma once
// OdDbEntity: a drawing object that belongs to a block (model space, paper space
// or a block definition) and sits on a layer.

#include <memory>
#include <vector>

#include "zrdwg/OdDbObject.h"
#include "zrdwg/OdDbObjectIterator.h"

class OdDbEntity;
class TagArena;
typedef OdSmartPtr<OdDbEntity> OdDbEntityPtr;

class OdDbEntity : public OdDbObject {
  ODRX_DECLARE_MEMBERS(OdDbEntity)
 public:
  // The name of the entity's layer (group 8); empty when the tags have none.
  OdString layer() const;
  // The same name as UTF-8, viewed in the tags or converted into scratch as
  // OdDbAttribute::tagUtf8 gives a tag (with the same lifetime).
  std::string_view layerUtf8(std::string& scratch) const;
  // Puts the entity on that layer (by name; the layer need not exist). The
  // entity must be open for write.
  void setLayer(const OdString& name);
  // The block (space or definition) that holds the entity.
  OdDbObjectId blockId() const { return ownerId(); }
  // True for an entity of paper space (group 67 = 1).
  bool isInPaperSpace() const;
  // The entities written right after this one and owned by it, in the
  // drawing's order: the ATTRIBs of an INSERT, the VERTEXes of a POLYLINE.
  // Empty for any other entity.
  OdDbObjectIteratorPtr subEntityIterator() const;
  // An entity of a kind the model does not know reports the class recorded in
  // the drawing (AcDbLine, ...); the others their own.
  OdString className() const override;

 protected:
  explicit OdDbEntity(uint16_t type) : OdDbObject(type) {}

  friend class DxfLoader;

  friend class DxfLinker;
  friend class DxfWriter;
  friend class OdDbBlockReference;
  friend class OdDbBlockTableRecord;
  friend class OdDbBlockTable;
  friend class OdDbDatabase;
  friend struct DatabaseImpl;

  // Entities written right after this one and owned by it (the ATTRIBs of an
  // INSERT, the VERTEXes of a POLYLINE), closed by a SEQEND. One block holds
  // the header and the list, since most references carry a single attribute.
  struct Children {
    OdDbEntity* seqend;
    uint32_t count;
    uint32_t capacity : 31;
    uint32_t inArena : 1;  // placed in the drawing's arena by the reader: never freed alone
    OdDbEntity* const* begin() const { return reinterpret_cast<OdDbEntity* const*>(this + 1); }
    OdDbEntity* const* end() const { return begin() + count; }
  };
  struct FreeChildren {
    void operator()(Children* c) const;
  };
  using ChildList = std::unique_ptr<Children, FreeChildren>;
  // Where the entity keeps its sub-entities: null for an entity that cannot
  // head a sequence (see OdDbComplexEntity).
  virtual ChildList* childSlot() const { return nullptr; }
  // The entity's sub-entities, or null when it has none.
  Children* children() const {
    ChildList* slot = childSlot();
    return slot ? slot->get() : nullptr;
  }
  // c with room for capacity entries: in the arena when one is given (c's
  // entries copied), else reallocated.
  static Children* grow(Children* c, uint32_t capacity, TagArena* arena);
  // The reader passes its drawing's arena, which then holds the list. The
  // entity must be able to head a sequence (childSlot() not null).
  void addChild(OdDbEntity* child, TagArena* arena = nullptr);
  void setSequenceEnd(OdDbEntity* seqend, TagArena* arena = nullptr);
  // An iterator over the sub-entities of class `only` (all when null), in
  // the drawing's order.
  OdDbObjectIteratorPtr childIterator(const OdRxClass* only) const;
  // Adds the sub-entities (ATTRIBs, SEQEND) that are not yet part of the
  // drawing, owned by this entity, and drops the hold it had on them. The
  // entity must be part of a drawing.
  void adoptChildren();
};

// An entity that may head a sequence of sub-entities closed by a SEQEND: an
// INSERT (its ATTRIBs) or a POLYLINE (its VERTEXes). Only these keep a list,
// so the many entities that cannot (the ATTRIBs and SEQENDs among them) go
// without its word.
class OdDbComplexEntity : public OdDbEntity {
 public:
  // Lets go of the sub-entities not yet part of a drawing, which it holds.
  ~OdDbComplexEntity() override;

 protected:
  explicit OdDbComplexEntity(uint16_t type) : OdDbEntity(type) {}
  ChildList* childSlot() const override { return &children_; }
  bool holdsOnlyArenaMemory() const override {
    return OdDbObject::holdsOnlyArenaMemory() && (!children_ || children_->inArena);
  }

  friend class DxfLoader;

 private:
  mutable ChildList children_;
};
