#include "dxf/LenientRead.h"

#include "zrdwg/OdDbDictionary.h"

std::size_t LenientRead::tagLine(const OdDbObject* object, std::size_t line, std::size_t index) const {
  if (numbered.count(object)) return line;
  if (const auto* dict = OdDbDictionary::cast(object)) index += 2 * dict->numEntries();
  return line + 2 + 2 * index;
}
