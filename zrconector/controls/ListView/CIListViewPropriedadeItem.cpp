#include "controls/ListView/CIListViewPropriedadeItem.h"

namespace ListView {

CString CIListViewPropriedadeItem::Value(int n) const {
  if (n < 0 || n >= m_valores.GetCount()) return CString();
  POSITION pos = m_valores.GetHeadPosition();
  for (int i = 0; i < n; ++i) m_valores.GetNext(pos);
  return m_valores.GetAt(pos);
}

void CIListViewPropriedadeItem::CopyValues(const CStringList* valores) {
  m_valores.RemoveAll();
  AppendValues(valores);
}

void CIListViewPropriedadeItem::AppendValues(const CStringList* valores) {
  // A list appended to itself adds each of its values once.
  if (!valores) return;
  int n = valores->GetCount();
  POSITION pos = valores->GetHeadPosition();
  for (int i = 0; i < n && pos; ++i) m_valores.AddTail(CString(valores->GetNext(pos)));
}

void CIListViewPropriedadeItem::CopyDescriptions(const CStringList* descricoes) {
  m_descricoes.RemoveAll();
  if (!descricoes) return;
  for (POSITION pos = descricoes->GetHeadPosition(); pos;) m_descricoes.AddTail(descricoes->GetNext(pos));
}

}  // namespace ListView
