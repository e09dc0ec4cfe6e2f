#include "drawing/CIDicConectores.h"

#include <unordered_map>

#include "drawing/CICad.h"

const OdChar* const CIDicConectores::kNome = u"TRV_ZR_DIC_CONECTORES";

namespace {

// The named-objects dictionary of the current drawing, opened in mode.
OdDbDictionaryPtr namedObjects(OdDb::OpenMode mode) {
  OdDbDatabasePtr db = CICad::GetDatabase();
  if (db.isNull()) throw OdError(eNotInDatabase, OdString(u"No drawing is open"));
  return db->getNamedObjectsDictionaryId().safeOpenObject(mode);
}

// A key as an error message quotes it: connector names come from the
// drawing and may be of any length.
OdString quoted(const OdString& key) {
  constexpr int kShown = 80;
  if (key.getLength() <= kShown) return OdString(u"\"") + key + OdString(u"\"");
  // Never cut a character outside the BMP in half.
  const int cut = (key.str()[kShown - 1] >= 0xD800 && key.str()[kShown - 1] <= 0xDBFF) ? kShown - 1 : kShown;
  const OdString shown = key.left(cut) + OdString(u"…");
  return OdString(u"\"") + shown + OdString(u"\"");
}

// The entry's object as a dictionary. Anything else is left as it is and
// reported with the object model's wrong-class code, naming the entry.
OdDbDictionaryPtr asDictionary(const OdDbObjectPtr& entry, const OdString& where) {
  if (auto* dictionary = OdDbDictionary::cast(entry.get())) return OdDbDictionaryPtr(dictionary);
  throw OdError(eNotThatKindOfClass, where + OdString(u" is an object of class ") + entry->className() +
                                         OdString(u", not a dictionary; the drawing was left as it was."));
}

OdString connectorEntry(const OdString& name) { return OdString(u"The connector dictionary's entry ") + quoted(name); }

// The connector dictionary in root, created when missing. What stands under
// its name must be a dictionary of the named objects: connector entries are
// added to it, and adding them to a dictionary that something else owns (or
// to the named objects themselves) would change that other object.
OdDbDictionaryPtr connectorDictionary(OdDbDictionary* root) {
  OdDbObjectPtr existing = root->getAt(CIDicConectores::kNome, OdDb::kForWrite);
  if (existing.isNull()) return CIDicConectores::FindOrCreate(root, CIDicConectores::kNome);
  const OdString where = OdString(u"The drawing's entry ") + quoted(CIDicConectores::kNome);
  OdDbDictionaryPtr connectors = asDictionary(existing, where);
  const OdDbObjectId owner = connectors->ownerId();
  if (connectors->objectId() == root->objectId() || (!owner.isNull() && owner != root->objectId()))
    throw OdError(eInvalidOwnerObject, where + OdString(u" names a dictionary that belongs to another object; the "
                                                        u"drawing was left as it was."));
  return connectors;
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
  OdDbDictionaryPtr connectors = connectorDictionary(root);
  // Every entry the refresh would reuse is checked before one is added, so a
  // drawing with an entry of another class gets the error and no change.
  for (const auto& record : records) {
    if (record->GetNome().isEmpty()) continue;
    OdDbObjectPtr entry = connectors->getAt(record->GetNome(), OdDb::kForRead);
    if (!entry.isNull()) asDictionary(entry, connectorEntry(record->GetNome()));
  }
  for (const auto& record : records) {
    // A dictionary entry needs a name: a connector whose symbols carry an
    // empty name cannot own one and is left without.
    if (record->GetNome().isEmpty()) continue;
    FindOrCreate(connectors, record->GetNome());
  }
}

OdDbObjectId CIDicConectores::GetConector(const OdString& name) {
  // Read access to the named objects: a drawing never refreshed has no
  // connector dictionary, and the lookup creates it (the drawing changes).
  OdDbDictionaryPtr root = namedObjects(OdDb::kForRead);
  root->upgradeOpen();
  OdDbDictionaryPtr connectors = connectorDictionary(root);
  OdDbObjectPtr entry = connectors->getAt(name, OdDb::kForWrite);
  if (entry.isNull()) return OdDbObjectId();
  return asDictionary(entry, connectorEntry(name))->objectId();
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
  OdDbDictionaryPtr connectors = connectorDictionary(root);
  // The first record of each name.
  std::unordered_map<std::u16string, const zr::CEConectorPinos*> byName;
  for (const auto& record : records) byName.emplace(record->GetNome().str(), record.get());
  for (OdDbDictionaryIteratorPtr it = connectors->newIterator(OdRx::kDictSorted); !it->done(); it->next()) {
    // An entry whose handle names no object (a damaged or hand-edited
    // drawing) has no handle to give; the next refresh gives it a new object.
    if (it->objectId().isNull()) continue;
    auto found = byName.find(it->name().str());
    if (found == byName.end()) continue;
    const zr::CEConectorPinos& record = *found->second;
    // A name or code may hold the separator itself: the line is built as
    // specified all the same, and the caller that splits it sees more fields.
    std::u16string line = it->name().str();
    line += u'\f';
    line += record.GetFlagTexto().str();
    line += u'\f';
    line += it->objectId().getHandle().ascii().str();
    line += u'\f';
    line += record.GetCodigo().str();
    lines->AddTail(CString(line));
  }
  return lines.release();
}
