// Applies a fixed set of edits to a drawing and saves it, for check_edits.py:
//   dwg_edit_sample IN.dxf OUT.dxf
// Edits: the text of the first ATTRIB of the first INSERT in model space, value 1
// of its "ZR_PINO" extended data, and a new dictionary "ZR_TEST" with two entries
// in the named-objects dictionary. Prints the handles it touched.
#include <iostream>

#include "zrdwg/OdDbDictionary.h"
#include "drawing_builder.h"

using testing_support::u;

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: dwg_edit_sample IN.dxf OUT.dxf\n";
    return 2;
  }
  try {
    OdDbDatabasePtr db = OdDbDatabase::readDxf(OdString::fromUtf8(argv[1]));
    OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject();
    for (OdDbObjectIteratorPtr it = ms->newIterator(); !it->done(); it->step()) {
      OdDbBlockReferencePtr ref = OdDbBlockReference::cast(it->entity(OdDb::kForWrite).get());
      if (ref.isNull()) continue;
      OdDbObjectIteratorPtr attributes = ref->attributeIterator();
      if (attributes->done()) continue;
      OdDbAttributePtr a = attributes->entity(OdDb::kForWrite);
      a->setTextString(u("EDITADO ção"));
      std::cout << "attrib " << a->getDbHandle().hex() << "\n";
      OdResBufPtr xd = ref->xData(u("ZR_PINO"));
      if (xd && xd->next()) {
        xd->next()->setString(u("X99"));
        ref->setXData(xd);
        std::cout << "insert " << ref->getDbHandle().hex() << "\n";
      }
      break;
    }
    OdDbDictionaryPtr nod = db->getNamedObjectsDictionaryId().safeOpenObject(OdDb::kForWrite);
    OdDbDictionaryPtr dict = OdDbDictionary::createObject();
    nod->setAt(u("ZR_TEST"), dict);
    dict->setAt(u("B"), OdDbDictionary::createObject());
    dict->setAt(u("A"), OdDbDictionary::createObject());
    std::cout << "root " << nod->getDbHandle().hex() << "\n";
    std::cout << "dictionary " << dict->getDbHandle().hex() << "\n";
    std::cout << "handseed " << db->handseed().hex() << "\n";
    db->writeDxf(OdString::fromUtf8(argv[2]));
  } catch (const OdError& e) {
    std::cerr << e.description().toUtf8() << "\n";
    return 2;
  }
  return 0;
}
