#include "controls/ListView/CELstPropriedadeSubItem.h"

namespace ListView {

CELstPropriedadeSubItem::CELstPropriedadeSubItem(int colunas) {
  for (int i = 0; i < colunas; ++i) m_celulas.push_back(new CIListViewPropriedadeItem);
}

CELstPropriedadeSubItem::~CELstPropriedadeSubItem() {
  for (CIListViewPropriedadeItem* c : m_celulas) delete c;
}

CIListViewPropriedadeItem* CELstPropriedadeSubItem::GetAt(int coluna) const {
  if (coluna < 0 || coluna >= GetSize()) AfxThrowInvalidArgException();
  return m_celulas[static_cast<size_t>(coluna)];
}

}  // namespace ListView
