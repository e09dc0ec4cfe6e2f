#include "drawing/CEListaAtributos.h"

namespace zr {

CEAtributo* CEListaAtributos::Find(const OdString& tag) const {
  OdString wanted(tag);
  wanted.makeUpper();
  for (CEAtributo* record : m_records) {
    OdString have = record->GetTag();
    if (have.makeUpper() == wanted) return record;
  }
  return nullptr;
}

void CEListaAtributos::FreeRecords() {
  for (CEAtributo* record : m_records) delete record;
  m_records.clear();
}

}  // namespace zr
