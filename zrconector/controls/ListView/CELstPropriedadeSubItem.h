// CELstPropriedadeSubItem: the cell records of one row of the grid, one per
// column, stored as the row's item data. It owns its records; the grid frees
// the row's object with the row (deleted item, emptied list, destroyed grid).
#pragma once

#include <vector>

#include "controls/ListView/CIListViewPropriedadeItem.h"

namespace ListView {

class CELstPropriedadeSubItem {
 public:
  // One empty, read-only record per column.
  explicit CELstPropriedadeSubItem(int colunas);
  ~CELstPropriedadeSubItem();
  CELstPropriedadeSubItem(const CELstPropriedadeSubItem&) = delete;
  CELstPropriedadeSubItem& operator=(const CELstPropriedadeSubItem&) = delete;

  int GetSize() const { return static_cast<int>(m_celulas.size()); }
  // The record of column `coluna`. A column outside the row raises
  // CInvalidArgException* (AfxThrowInvalidArgException; the catcher deletes it).
  CIListViewPropriedadeItem* GetAt(int coluna) const;

 private:
  std::vector<CIListViewPropriedadeItem*> m_celulas;
};

}  // namespace ListView
