#pragma once
// OdDbBlockReference: an insertion (INSERT) of a block definition, with its attributes.

#include "zrdwg/OdDbEntity.h"
#include "zrdwg/OdDbObjectIterator.h"
#include "zrdwg/OdGePoint3d.h"

class OdDbBlockReference;
class OdDbAttribute;
class OdDbBlockTableRecord;
typedef OdSmartPtr<OdDbBlockReference> OdDbBlockReferencePtr;

class OdDbBlockReference : public OdDbComplexEntity {
  ODRX_DECLARE_MEMBERS(OdDbBlockReference)
 public:
  // A new reference outside any drawing: layer "0", at the origin, naming no
  // block yet (setBlockTableRecord). The caller holds the only reference until
  // a block takes it.
  static OdDbBlockReferencePtr createObject();

  // The insertion point (10/20/30); 0 for a coordinate the tags lack.
  OdGePoint3d position() const;
  // Moves the insertion point. Needs the object open for write.
  void setPosition(const OdGePoint3d& point);
  // The referenced block definition (found by name, ignoring case), or null.
  OdDbObjectId blockTableRecord() const;
  // Refers to another block definition of the same drawing.
  void setBlockTableRecord(const OdDbObjectId& blockId);

  // The attributes, in the drawing's order (erased ones skipped by default).
  OdDbObjectIteratorPtr attributeIterator() const;
  // Adds an attribute (a new object) to the reference; returns its identifier.
  OdDbObjectId appendAttribute(OdDbAttribute* attribute);

 protected:
  explicit OdDbBlockReference(uint16_t type) : OdDbComplexEntity(type) {}
  void onLoaded() override;
  friend class DxfLoader;
  friend class DxfLinker;
  friend class OdDbBlockTableRecord;
  friend struct DatabaseImpl;

  OdDbBlockTableRecord* block_ = nullptr;
};
