#pragma once
// The block table and its records: model space, paper spaces and block definitions.

#include <vector>

#include "zrdwg/OdDbEntity.h"
#include "zrdwg/OdGePoint3d.h"
#include "zrdwg/OdDbObjectIterator.h"
#include "zrdwg/OdDbSymbolTable.h"

class OdDbBlockTable;
class OdDbBlockTableRecord;
class OdDbBlockReference;
typedef OdSmartPtr<OdDbBlockTable> OdDbBlockTablePtr;
typedef OdSmartPtr<OdDbBlockTableRecord> OdDbBlockTableRecordPtr;

class OdDbBlockTableRecord : public OdDbSymbolTableRecord {
  ODRX_DECLARE_MEMBERS(OdDbBlockTableRecord)
 public:
  // A new, empty block definition outside any drawing; setName, then the
  // block table's add, make it part of one (with its BLOCK and ENDBLK).
  static OdDbBlockTableRecordPtr createObject();

  // The block's entities in the drawing's order.
  OdDbObjectIteratorPtr newIterator(bool atBeginning = true, bool skipErased = true) const;
  // Adds a new entity at the end of the block; returns its identifier.
  OdDbObjectId appendOdDbEntity(OdDbEntity* entity);
  // The references (INSERTs) of this block from every space and block, in
  // ascending handle order; erased references are included.
  void getBlockReferenceIds(OdDbObjectIdArray& ids, bool directOnly = true, bool forceValidity = false) const;

  // The base point (the BLOCK entity's 10/20/30): the point of the block
  // that lands on a reference's insertion point. The origin when unset.
  OdGePoint3d origin() const;

  // True for model space and the paper spaces.
  bool isLayout() const;
  // True for the drawing's model space.
  bool isModelSpace() const;
  // True for a paper space ("*Paper_Space", "*Paper_Space0", ...; any case).
  bool isPaperSpace() const;

 protected:
  explicit OdDbBlockTableRecord(uint16_t type) : OdDbSymbolTableRecord(type) {}
  friend class DxfLoader;
  friend class DxfLinker;
  friend class DxfWriter;
  friend class OdDbBlockTable;
  friend class OdDbBlockReference;
  friend class OdDbDatabase;
  friend struct DatabaseImpl;

  // Appends the identifiers of entities (this block's entities or
  // references) to ids.
  void appendIdsOf(const EntityList& entities, OdDbObjectIdArray& ids) const;
  EntityList entities_;
  // Adds a reference of this block (one of this block's drawing), noting
  // whether the list stays in handle order.
  void addReference(OdDbEntity* reference) {
    if (!references_.empty() && reference->handle_ < references_.back()->handle_) referencesInOrder_ = false;
    references_.push_back(reference);
  }
  // Room for n more references, for a reader that knows how many it adds.
  void reserveReferences(std::size_t n) { references_.reserve(references_.size() + n); }
  EntityList references_;  // the INSERTs of this block, in the order they joined (addReference)
  bool referencesInOrder_ = true;  // references_ in handle order (removing one keeps it so)
  OdDbEntity* blockBegin_ = nullptr;  // the BLOCK entity
  OdDbEntity* blockEnd_ = nullptr;    // the ENDBLK entity
};

class OdDbBlockTable : public OdDbSymbolTable {
  ODRX_DECLARE_MEMBERS(OdDbBlockTable)
 protected:
  using OdDbSymbolTable::OdDbSymbolTable;
  void onRecordAdded(OdDbSymbolTableRecord* record) override;
  friend class DxfLoader;
  friend class DxfLinker;
};
