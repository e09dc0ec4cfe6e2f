#pragma once
// OdDbEntity: a drawing object that belongs to a block (model space, paper space
// or a block definition) and sits on a layer.

#include <memory>
#include <vector>

#include "OdDbObject.h"

class OdDbEntity;
typedef OdSmartPtr<OdDbEntity> OdDbEntityPtr;

class OdDbEntity : public OdDbObject {
  ODRX_DECLARE_MEMBERS(OdDbEntity)
 public:
  ~OdDbEntity() override;
  OdString layer() const;
  void setLayer(const OdString& name);
  // The block (space or definition) that holds the entity.
  OdDbObjectId blockId() const { return ownerId(); }
  // True for an entity of paper space (group 67 = 1).
  bool isInPaperSpace() const;

 protected:
  explicit OdDbEntity(const std::string* dxfName) : OdDbObject(dxfName) {}

  friend class DxfLoader;
  friend class DxfWriter;
  friend class OdDbBlockReference;
  friend class OdDbBlockTableRecord;
  friend class OdDbBlockTable;
  friend class OdDbDatabase;
  friend struct DatabaseImpl;

  // Entities written right after this one and owned by it (the ATTRIBs of an
  // INSERT, the VERTEXes of a POLYLINE), closed by a SEQEND.
  struct Children {
    std::vector<OdDbEntity*> items;
    OdDbEntity* seqend = nullptr;
  };
  std::unique_ptr<Children> children_;
};
