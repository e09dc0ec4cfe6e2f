#pragma once
// CITreeCtrl: a single-selection tree whose items show catalogue records
// (zr::CEPasta). Inserting a record links it to its parent record and
// attaches it to its item; the records stay the caller's.

#include "catalog/CEPasta.h"
#include "controls/CMultiTree.h"

class CITreeCtrl : public CMultiTree {
 public:
  CITreeCtrl();
  ~CITreeCtrl() override;

  // Inserts record as the last child of parent's item (at the top level when
  // parent is null; the record is then appended to parent's children and its
  // parent set). Image and selected image: the leaf image for a leaf record,
  // 0 otherwise. Stores the item in the record and the record as the item's
  // data, repaints at once, and returns record. record must outlive the item.
  zr::CEPasta* InsertNode(zr::CEPasta* parent, zr::CEPasta* record);
  // Removes every item and repaints at once. Returns true.
  bool DeleteAll();
  // The record attached to an item, or null.
  zr::CEPasta* GetNode(HTREEITEM item) const;

  int m_nImagemFolha = 3;  // image of leaf records (normal and selected)
};
