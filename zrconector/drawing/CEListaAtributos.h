#pragma once
// The attributes of one block reference, in the reference's order. The list
// holds pointers and does not own the records: whoever receives a list frees
// its records (FreeRecords) before or with the list.

#include <vector>

#include "drawing/CEAtributo.h"

namespace zr {

class CEListaAtributos {
 public:
  CEListaAtributos() = default;
  CEListaAtributos(const CEListaAtributos&) = delete;
  CEListaAtributos& operator=(const CEListaAtributos&) = delete;

  void Add(CEAtributo* record) { m_records.push_back(record); }
  // The first record whose tag equals tag ignoring letter case (both sides
  // upper-cased), or null.
  CEAtributo* Find(const OdString& tag) const;

  int GetSize() const { return static_cast<int>(m_records.size()); }
  CEAtributo* GetAt(int index) const { return m_records.at(static_cast<std::size_t>(index)); }
  // Deletes the records and empties the list.
  void FreeRecords();

 private:
  std::vector<CEAtributo*> m_records;
};

}  // namespace zr
