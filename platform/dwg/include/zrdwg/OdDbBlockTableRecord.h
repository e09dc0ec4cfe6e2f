#pragma once
// The block table and its records: model space, paper spaces and block definitions.

#include <vector>

#include "OdDbEntity.h"
#include "OdGePoint3d.h"
#include "OdDbObjectIterator.h"
#include "OdDbSymbolTable.h"

class OdDbBlockTable;
class OdDbBlockTableRecord;
class OdDbBlockReference;
typedef OdSmartPtr<OdDbBlockTable> OdDbBlockTablePtr;
typedef OdSmartPtr<OdDbBlockTableRecord> OdDbBlockTableRecordPtr;

class OdDbBlockTableRecord : public OdDbSymbolTableRecord {
  ODRX_DECLARE_MEMBERS(OdDbBlockTableRecord)
 public:
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

  bool isLayout() const;
  bool isModelSpace() const;
  bool isPaperSpace() const;

 protected:
  explicit OdDbBlockTableRecord(uint16_t type) : OdDbSymbolTableRecord(type) {}
  friend class DxfLoader;
  friend class DxfWriter;
  friend class OdDbBlockTable;
  friend class OdDbBlockReference;
  friend class OdDbDatabase;
  friend struct DatabaseImpl;

  std::vector<OdDbEntity*> entities_;
  std::vector<OdDbBlockReference*> references_;
  OdDbEntity* blockBegin_ = nullptr;  // the BLOCK entity
  OdDbEntity* blockEnd_ = nullptr;    // the ENDBLK entity
};

class OdDbBlockTable : public OdDbSymbolTable {
  ODRX_DECLARE_MEMBERS(OdDbBlockTable)
 protected:
  using OdDbSymbolTable::OdDbSymbolTable;
  void onRecordAdded(OdDbSymbolTableRecord* record) override;
  friend class DxfLoader;
};
