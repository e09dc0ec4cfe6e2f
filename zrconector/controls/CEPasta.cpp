#include "controls/CEPasta.h"

namespace zr {

std::vector<CEPasta*> CELstItens::DoNivel(const CString& key) const {
  std::vector<CEPasta*> out;
  for (const auto& record : m_items)
    if (record->m_nivel == key) out.push_back(record.get());
  return out;
}

}  // namespace zr
