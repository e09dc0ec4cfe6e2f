#include "CIDicConectores.h"

#include "CICad.h"

const OdChar* const CIDicConectores::kNome = u"TRV_ZR_DIC_CONECTORES";

namespace {

// The named-objects dictionary of the current drawing, opened in mode.
OdDbDictionaryPtr namedObjects(OdDb::OpenMode mode) {
  OdDbDatabasePtr db = CICad::GetDatabase();
  if (db.isNull()) throw OdError(eNotInDatabase, OdString(u"No drawing is open"));
  return db->getNamedObjectsDictionaryId().safeOpenObject(mode);
}

}  // namespace

OdDbDictionaryPtr CIDicConectores::FindOrCreate(OdDbDictionary* parent, const OdString& name) {
  OdDbObjectPtr entry = parent->getAt(name, OdDb::kForWrite);
  if (!entry.isNull()) return OdDbDictionaryPtr(entry);  // throws for another class
  OdDbDictionaryPtr child = OdDbDictionary::createObject();
  parent->setAt(name, child);
  return child;
}

void CIDicConectores::Atualizar() {
  zr::ConectoresPinos records;
  {
    CIPinos pins(m_catalogue);
    pins.VerificarPinos(records);
  }
  OdDbDictionaryPtr root = namedObjects(OdDb::kForWrite);
  OdDbDictionaryPtr connectors = FindOrCreate(root, kNome);
  for (const auto& record : records) FindOrCreate(connectors, record->GetNome());
}

OdDbObjectId CIDicConectores::GetConector(const OdString& name) {
  // Read access to the named objects: a drawing never refreshed has no
  // connector dictionary, and the lookup creates it (the drawing changes).
  OdDbDictionaryPtr root = namedObjects(OdDb::kForRead);
  root->upgradeOpen();
  OdDbDictionaryPtr connectors = FindOrCreate(root, kNome);
  OdDbObjectPtr entry = connectors->getAt(name, OdDb::kForWrite);
  if (entry.isNull()) return OdDbObjectId();
  OdDbDictionaryPtr dictionary = entry;  // throws for another class
  return dictionary->objectId();
}

CStringList* CIDicConectores::ListaConectores() {
  auto lines = std::make_unique<CStringList>(10);
  zr::ConectoresPinos records;
  {
    CIPinos pins(m_catalogue);
    pins.VerificarPinos(records);
  }
  OdDbDictionaryPtr root = namedObjects(OdDb::kForRead);
  root->upgradeOpen();
  OdDbDictionaryPtr connectors = FindOrCreate(root, kNome);
  for (OdDbDictionaryIteratorPtr it = connectors->newIterator(OdRx::kDictSorted); !it->done(); it->next()) {
    const OdString name = it->name();
    for (const auto& record : records) {
      if (record->GetNome() != name) continue;
      std::u16string line = name.str();
      line += u'\f';
      line += record->GetFlagTexto().str();
      line += u'\f';
      line += it->objectId().getHandle().ascii().str();
      line += u'\f';
      line += record->GetCodigo().str();
      lines->AddTail(CString(line));
      break;
    }
  }
  return lines.release();
}
