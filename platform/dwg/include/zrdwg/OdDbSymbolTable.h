#pragma once
// Symbol tables (TABLE sections of a drawing: layers, registered applications,
// block records, ...) and their records. Names are looked up ignoring case.

#include <vector>

#include "zrdwg/IdListCursor.h"
#include "zrdwg/OdDbObject.h"

class OdDbSymbolTable;
class OdDbSymbolTableRecord;
class OdDbSymbolTableIterator;
typedef OdSmartPtr<OdDbSymbolTable> OdDbSymbolTablePtr;
typedef OdSmartPtr<OdDbSymbolTableRecord> OdDbSymbolTableRecordPtr;
typedef OdSmartPtr<OdDbSymbolTableIterator> OdDbSymbolTableIteratorPtr;

class OdDbSymbolTableRecord : public OdDbObject {
  ODRX_DECLARE_MEMBERS(OdDbSymbolTableRecord)
 public:
  // The record's name (group 2); empty when the tags have none.
  OdString getName() const;
  // Renames the record (before it joins a table, or open for write). Names
  // are not checked against the table's: OdDbSymbolTable::add does that.
  void setName(const OdString& name);

 protected:
  explicit OdDbSymbolTableRecord(uint16_t type) : OdDbObject(type) {}
  friend class DxfLoader;
  friend class DxfLinker;
  friend class OdDbSymbolTable;
};

class OdDbSymbolTable : public OdDbObject {
  ODRX_DECLARE_MEMBERS(OdDbSymbolTable)
 public:
  // The table's name as the file gives it ("LAYER", "BLOCK_RECORD", ...).
  std::string tableName() const;

  // The record of that name (ignoring case), or null.
  OdDbObjectId getAt(const OdString& name) const;
  // The same record opened in that mode, or null.
  OdDbSymbolTableRecordPtr getAt(const OdString& name, OdDb::OpenMode mode) const;
  // True when a record of that name (ignoring case, not erased) exists.
  bool has(const OdString& name) const { return !getAt(name).isNull(); }
  // Adds a new record; throws eInvalidKey for an empty name or eAlreadyInDb when
  // a record of that name exists.
  OdDbObjectId add(OdDbSymbolTableRecord* record);

  // Records in the drawing's order.
  OdDbSymbolTableIteratorPtr newIterator(bool atBeginning = true, bool skipErased = true) const;

 protected:
  explicit OdDbSymbolTable(uint16_t type) : OdDbObject(type) {}
  virtual void onRecordAdded(OdDbSymbolTableRecord*) {}
  friend class DxfLoader;
  friend class DxfLinker;
  friend class DxfWriter;
  friend class OdDbDatabase;
  friend struct DatabaseImpl;

  std::vector<OdDbSymbolTableRecord*> records_;
  TagList endTags_;  // tags of the table's ENDTAB, normally none
};

class OdDbSymbolTableIterator : public OdRxObject {
  ODRX_DECLARE_MEMBERS(OdDbSymbolTableIterator)
 public:
  // An iterator over a copy of the list; callers then call start.
  explicit OdDbSymbolTableIterator(std::vector<OdDbObjectId> ids) : cursor_(std::move(ids)) {}
  // Goes to the first (or last) record, skipping erased ones by default.
  void start(bool atBeginning = true, bool skipErased = true) { cursor_.start(atBeginning, skipErased); }
  // True once the iterator has left either end.
  bool done() const { return cursor_.done(); }
  // Moves to the next (or previous) record; nothing once done.
  void step(bool forward = true, bool skipErased = true) { cursor_.step(forward, skipErased); }
  // The current record's identifier; the null identifier once done.
  OdDbObjectId getRecordId() const { return cursor_.id(); }
  // The current record opened in that mode, or null (done; erased unless openErased).
  OdDbSymbolTableRecordPtr getRecord(OdDb::OpenMode mode = OdDb::kForRead, bool openErased = false) const;

 private:
  IdListCursor cursor_;
};

class OdDbLayerTableRecord : public OdDbSymbolTableRecord {
  ODRX_DECLARE_MEMBERS(OdDbLayerTableRecord)
 protected:
  using OdDbSymbolTableRecord::OdDbSymbolTableRecord;
  friend class DxfLoader;
  friend class DxfLinker;
};

class OdDbRegAppTableRecord : public OdDbSymbolTableRecord {
  ODRX_DECLARE_MEMBERS(OdDbRegAppTableRecord)
 public:
  // A new application record outside any drawing; name it, then add it to
  // the APPID table.
  static OdSmartPtr<OdDbRegAppTableRecord> createObject();

 protected:
  using OdDbSymbolTableRecord::OdDbSymbolTableRecord;
  friend class DxfLoader;
  friend class DxfLinker;
};

typedef OdSmartPtr<OdDbLayerTableRecord> OdDbLayerTableRecordPtr;
typedef OdSmartPtr<OdDbRegAppTableRecord> OdDbRegAppTableRecordPtr;
