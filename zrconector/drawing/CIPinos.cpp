#include "drawing/CIPinos.h"

#include <unordered_set>

#include "drawing/CICad.h"
#include "drawing/PinGrid.h"

namespace {

const OdChar kSeparator = u'\f';

// The first, second and third non-empty pieces of a packed row (a run of
// separators counts as one); missing pieces are empty.
std::array<OdString, 3> fieldsOf(const CString& row) {
  std::array<OdString, 3> fields;
  const std::u16string& s = row.str();
  std::size_t i = 0, n = 0;
  while (i < s.size() && n < 3) {
    while (i < s.size() && s[i] == kSeparator) ++i;
    std::size_t j = i;
    while (j < s.size() && s[j] != kSeparator) ++j;
    if (j > i) fields[n++] = OdString(s.substr(i, j - i));
    i = j;
  }
  return fields;
}

// Value n of extended data as text: a string as it is, an integer in decimal,
// anything else in its shortest exact form.
bool xdataValues(const OdDbObject& object, std::vector<OdString>& values) {
  OdResBufPtr xd = object.xData(OdString(u"ZR_PINO"));
  if (xd.isNull()) return false;
  for (OdResBuf* rb = xd.get(); rb; rb = rb->next().get()) values.push_back(rb->valueAsText());
  return true;
}

bool isPinBlock(const OdString& name) { return name.find(OdString(u"PIN-")) == 0; }

bool isIgnoredLayer(const OdString& layer) {
  OdString up(layer);
  up.makeUpper();
  return up == OdString(u"0") || up == OdString(u"ZR_FREEZE");
}

}  // namespace

CIPinos::CIPinos(zr::PinCatalogue* catalogue) : m_catalogue(catalogue ? *catalogue : zr::CatalogoPadrao()) {}

CStringList* CIPinos::GetConectoresDesenho() {
  auto names = std::make_unique<CStringList>(10);
  // The names already listed, so that each symbol costs one look-up, not a
  // scan of the list.
  std::unordered_set<std::u16string> listed;
  OdDbDatabasePtr db = CICad::GetDatabase();
  if (db.isNull()) return names.release();
  OdDbBlockTableRecordPtr space = db->getModelSpaceId().safeOpenObject(OdDb::kForRead);
  for (OdDbObjectIteratorPtr it = space->newIterator(true, true); !it->done(); it->step(true, true)) {
    OdDbEntityPtr entity = it->entity(OdDb::kForRead);
    if (entity.isNull() || isIgnoredLayer(entity->layer())) continue;
    auto* reference = OdDbBlockReference::cast(entity.get());
    if (!reference || reference->isErased()) continue;
    OdDbObjectPtr block = reference->blockTableRecord().openObject(OdDb::kForRead);
    auto* definition = OdDbBlockTableRecord::cast(block.get());
    if (!definition || !isPinBlock(definition->getName())) continue;
    std::vector<OdString> values;
    if (!xdataValues(*reference, values) || values.size() < 3) continue;
    if (listed.insert(values[1].str()).second) names->AddTail(CString(values[1].str()));
  }
  return names.release();
}

const CIPinos::CodeRows& CIPinos::LinhasPinos(const OdString& code, RowCache& cache) {
  auto it = cache.find(code.str());
  if (it != cache.end()) return it->second;
  CodeRows parsed;
  std::unique_ptr<CStringList> rows = m_catalogue.LinhasPinos(code);
  if (rows) {
    for (POSITION pos = rows->GetHeadPosition(); pos;) {
      parsed.rows.push_back(fieldsOf(rows->GetNext(pos)));
      const OdString& id = parsed.rows.back()[1];
      // A row matches only when it has a second field.
      if (!id.isEmpty()) parsed.firstById.emplace(id.str(), parsed.rows.size() - 1);
    }
  }
  return cache.emplace(code.str(), std::move(parsed)).first->second;
}

zr::ConectoresPinos& CIPinos::VerificarPinos(zr::ConectoresPinos& records) {
  records.clear();
  m_recordByName.clear();
  RowCache rows;
  OdDbDatabasePtr db = CICad::GetDatabase();
  if (db.isNull()) return records;
  m_pinTag = CICad().GetVariavel(OdString(u"*ZRATTPINO*"), OdString(u"ID_PINO"));

  OdDbBlockTablePtr table = db->getBlockTableId().safeOpenObject(OdDb::kForRead);
  for (OdDbSymbolTableIteratorPtr it = table->newIterator(true, true); !it->done(); it->step(true, true)) {
    OdDbBlockTableRecordPtr block = it->getRecord(OdDb::kForRead);  // throws for another class
    if (!isPinBlock(block->getName())) continue;
    OdDbObjectIdArray ids;
    block->getBlockReferenceIds(ids, true, false);
    for (const OdDbObjectId& id : ids) {
      OdDbObjectPtr object = id.openObject(OdDb::kForRead);
      if (object.isNull()) continue;
      OdDbBlockReferencePtr reference = object;  // throws for another class
      LerSimboloPino(*reference, records, rows);
    }
  }

  // Catalogue pins that no symbol of the instance carries.
  for (auto& record : records) {
    const CodeRows& code = LinhasPinos(record->GetCodigo(), rows);
    // Identifiers the record has, growing with the pins added here.
    std::unordered_map<std::u16string, bool> has;
    for (const auto& p : record->GetPinos()) has.emplace(p->identifier.str(), true);
    for (const auto& f : code.rows) {
      if (has.count(f[1].str())) continue;
      record->AddPino(f[1], OdString(), f[2], zr::PINO_FALTANTE, 0.0, 0.0);
      has.emplace(f[1].str(), true);
    }
  }
  rows.clear();
  m_recordByName.clear();
  LigarPinos(records);
  return records;
}

void CIPinos::LerSimboloPino(const OdDbBlockReference& reference, zr::ConectoresPinos& records, RowCache& rows) {
  // A failure while one symbol is read skips that symbol only.
  try {
    CICad cad;
    zr::CEListaAtributos* attributes = nullptr;
    cad.GetAtributos(reference.objectId(), attributes, true);
    std::unique_ptr<zr::CEListaAtributos, void (*)(zr::CEListaAtributos*)> owned(attributes, [](zr::CEListaAtributos* l) {
      if (l) {
        l->FreeRecords();
        delete l;
      }
    });
    std::vector<OdString> values;
    if (!attributes || !xdataValues(reference, values) || values.size() < 4) return;
    zr::CEAtributo* idAttribute = attributes->Find(m_pinTag);
    if (!idAttribute) return;
    const OdString& name = values[1];
    const OdString& code = values[2];
    OdString flagText(values[3]);
    const OdString identifier = idAttribute->GetValor();

    zr::CEConectorPinos*& record = m_recordByName[name.str()];
    if (!record) {
      records.push_back(std::make_unique<zr::CEConectorPinos>(name, code, flagText.makeUpper() == OdString(u"S")));
      record = records.back().get();
    }

    OdString pinText;
    int status = zr::PINO_DESCONHECIDO;
    const CodeRows& catalogueRows = LinhasPinos(code, rows);
    auto match = catalogueRows.firstById.find(identifier.str());
    if (match != catalogueRows.firstById.end()) {
      pinText = catalogueRows.rows[match->second][2];
      status = zr::PINO_OK;
    }
    const OdGePoint3d p = reference.position();
    record->AddPino(identifier, reference.getDbHandle().ascii(), pinText, status, p.x, p.y);
  } catch (...) {
    // The symbol is left out; what was done for it stays.
  }
}

void CIPinos::LigarPinos(zr::ConectoresPinos& records) {
  MatingCache mating;
  const zr::PinGrid grid(records);
  for (auto& record : records) {
    for (const auto& pin : record->GetPinos()) {
      zr::CEPino* other = grid.Find(pin.get());
      if (!other) continue;
      pin->mate = other;
      other->mate = pin.get();
      ValidarLigacao(pin.get(), mating);
    }
    AtualizarEstado(*record);
  }
}

void CIPinos::ValidarLigacao(zr::CEPino* pin, MatingCache& mating) {
  if (!pin->mate || pin->status == zr::PINO_LIGACAO_INVALIDA) return;
  const OdString& code = pin->owner->GetCodigo();
  auto it = mating.find(code.str());
  if (it == mating.end()) {
    std::unique_ptr<CStringList> parts = m_catalogue.ContraPecas(code);  // a failure ends the check
    if (!parts) parts = std::make_unique<CStringList>(10);
    it = mating.emplace(code.str(), std::move(parts)).first;
  }
  zr::CEPino* mate = pin->mate;
  const bool mayMate = it->second->Find(mate->owner->GetCodigo().c_str()) != nullptr;
  if (!mayMate || mate->owner->GetNome() == pin->owner->GetNome()) {
    pin->status = zr::PINO_LIGACAO_INVALIDA;
    mate->status = zr::PINO_LIGACAO_INVALIDA;
  }
}

void CIPinos::AtualizarEstado(zr::CEConectorPinos& record) {
  for (const auto& pin : record.GetPinos()) {
    if (pin->status == zr::PINO_LIGACAO_INVALIDA) {
      record.SetEstado(zr::CONECTOR_LIGACAO_INVALIDA);
      return;
    }
  }
}
