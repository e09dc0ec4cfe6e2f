#include "drawing/CIPinos.h"

#include <algorithm>
#include <unordered_set>

#include <tsl/hopscotch_set.h>

#include "drawing/CICad.h"
#include "drawing/PinGrid.h"
#include "zrdwg/DxfValues.h"
#include "zrdwg/OdDbText.h"

namespace {

// Value n of extended data as text: a string as it is, an integer in decimal,
// anything else in its shortest exact form. values is emptied first (callers
// reuse one vector for every symbol).
bool xdataValues(const OdDbObject& object, std::vector<OdString>& values) {
  static const OdString kApplication(u"ZR_PINO");
  return object.xDataTexts(kApplication, values);
}

using dxfv::isAscii;
using dxfv::sameAsciiIgnoringCase;

// Whether ASCII text spells an ASCII text, code unit for code unit; false
// for text that is not ASCII.
bool sameAsciiText(std::string_view ascii, const OdString& text) {
  const std::u16string& units = text.str();
  if (ascii.size() != units.size()) return false;
  for (std::size_t i = 0; i < ascii.size(); ++i)
    if (static_cast<unsigned char>(ascii[i]) >= 0x80 || units[i] != static_cast<char16_t>(ascii[i])) return false;
  return true;
}

// The symbol's pin made for its record, as read: not yet matched with the
// catalogue, and listed in the record once every symbol is read.
zr::CEPino* addSymbolPin(zr::CEConectorPinos& record, const OdDbBlockReference& reference, const OdString& identifier) {
  const OdGePoint3d p = reference.position();
  return record.MakePino(identifier, reference.getDbHandle().ascii(), OdString(), zr::PINO_OK, p.x, p.y);
}

// Whether the attribute's tag, upper-cased, is upperTag. When both are ASCII
// (asciiUpperTag is upperTag's bytes) they are compared as they are, ASCII's
// upper-casing being the same in full Unicode; any other tag is upper-cased
// in full, since a tag that is not ASCII may become one ("ı" becomes "I").
bool tagMatches(const OdDbAttribute& attribute, const OdString& upperTag,
                const std::optional<std::string>& asciiUpperTag, std::string& scratch) {
  if (asciiUpperTag) {
    const std::string_view tag = attribute.tagUtf8(scratch);
    if (isAscii(tag)) return sameAsciiIgnoringCase(tag, *asciiUpperTag);
  }
  OdString tag = attribute.tag();
  return tag.makeUpper() == upperTag;
}

// The text, trimmed, of the reference's first attribute whose upper-cased tag
// equals upperTag (see tagMatches); false when the reference has no such
// attribute. Attributes are opened as CICad::GetAtributos opens them, and
// every one of them is opened (a failure on any reaches the caller, as it
// does there); only the list of records, with prompts that the pin check
// never reads, is not built.
bool pinIdentifier(const OdDbBlockReference& reference, const OdString& upperTag,
                   const std::optional<std::string>& asciiUpperTag, std::string& scratch, OdString& text) {
  OdDbObjectIteratorPtr it = reference.attributeIterator();
  if (it.isNull()) return false;
  bool found = false;
  for (; !it->done(); it->step()) {
    OdDbAttributePtr attribute = CICad::AbrirAtributo(*it);
    if (attribute.isNull() || found) continue;
    if (!tagMatches(*attribute, upperTag, asciiUpperTag, scratch)) continue;
    // An ASCII identifier (nearly all) is trimmed and taken as it is.
    const std::string_view value = attribute->textStringUtf8(scratch);
    if (isAscii(value)) {
      const std::string_view trimmed = dxfv::trim(value);
      text = OdString(std::u16string(trimmed.begin(), trimmed.end()));
    } else {
      text = attribute->textString();
      text.trim();
    }
    found = true;
  }
  return found;
}

// Whether the block's entities all open as entities. Reading a reference's
// attributes with their prompts walks its block's entities, and a reference
// whose walk fails is skipped by the pin check; the walk gives the same answer
// for every reference of a block, so it is taken once per block.
bool entitiesOpen(const OdDbBlockTableRecord& block) {
  try {
    for (OdDbObjectIteratorPtr it = block.newIterator(true, true); !it->done(); it->step(true, true)) it->entity();
  } catch (...) {
    return false;
  }
  return true;
}

// The application of a pin symbol's extended data.
constexpr std::string_view kPinApplication = "ZR_PINO";

bool isPinBlock(const OdString& name) { return name.find(OdString(u"PIN-")) == 0; }

// Whether the entity's layer is one the name listing leaves out, its name
// compared ignoring case: an ASCII name as it is, any other upper-cased in
// full (see tagMatches).
bool isIgnoredLayer(const OdDbEntity& entity, std::string& scratch) {
  const std::string_view layer = entity.layerUtf8(scratch);
  if (isAscii(layer)) return sameAsciiIgnoringCase(layer, "0") || sameAsciiIgnoringCase(layer, "ZR_FREEZE");
  OdString up = entity.layer();
  up.makeUpper();
  return up == OdString(u"0") || up == OdString(u"ZR_FREEZE");
}

}  // namespace

CIPinos::CIPinos(zr::PinCatalogue* catalogue) : m_catalogue(catalogue ? *catalogue : zr::DefaultPinCatalogue()) {}

CIPinos::CIPinos(zr::PinCatalogue* catalogue, OdDbDatabasePtr drawing, const OdString& pinTag)
    : m_catalogue(catalogue ? *catalogue : zr::DefaultPinCatalogue()), m_drawing(std::move(drawing)) {
  SetPinTag(pinTag);
}

void CIPinos::SetPinTag(const OdString& tag) {
  m_pinTag = tag;
  m_pinTag.makeUpper();
  const std::string bytes = m_pinTag.toUtf8();
  if (isAscii(bytes)) m_asciiPinTag = bytes;
  else m_asciiPinTag.reset();
}

OdDbDatabasePtr CIPinos::Drawing() const { return m_drawing.isNull() ? CICad::GetDatabase() : m_drawing; }

// The ASCII names met, each once, in a flat set: their bytes lie one after
// another in one string, and the set's table holds their numbers (a large
// drawing lists ten thousand names; a node apiece, or a string in each of
// the table's slots, spread them over the heap and add to the check's peak).
class CIPinos::ListedNames {
 public:
  ListedNames() = default;
  ListedNames(const ListedNames&) = delete;  // the set's functors point here
  ListedNames& operator=(const ListedNames&) = delete;

  // Adds name unless met before; true when it was not.
  bool add(std::string_view name) {
    if (set_.find(name) != set_.end()) return false;
    bytes_.append(name);
    starts_.push_back(bytes_.size());
    // (Numbered in 32 bits: a drawing holds far fewer symbols.)
    set_.insert(static_cast<std::uint32_t>(starts_.size() - 2));
    return true;
  }

 private:
  std::string_view at(std::uint32_t i) const {
    return std::string_view(bytes_).substr(starts_[i], starts_[i + 1] - starts_[i]);
  }
  // Names by number or by their bytes (a name looked up is a view).
  struct Hash {
    using is_transparent = void;
    const ListedNames* names;
    std::size_t operator()(std::string_view name) const noexcept { return TextHash{}(name); }
    std::size_t operator()(std::uint32_t i) const noexcept { return TextHash{}(names->at(i)); }
  };
  struct Equal {
    using is_transparent = void;
    const ListedNames* names;
    bool operator()(std::uint32_t a, std::uint32_t b) const noexcept { return a == b; }
    bool operator()(std::string_view name, std::uint32_t i) const noexcept { return names->at(i) == name; }
    bool operator()(std::uint32_t i, std::string_view name) const noexcept { return names->at(i) == name; }
  };

  std::string bytes_;
  std::vector<std::size_t> starts_{0};  // where each name starts; the last, where the next will
  tsl::hopscotch_set<std::uint32_t, Hash, Equal> set_{0, Hash{this}, Equal{this}};
};

CStringList* CIPinos::GetConectoresDesenho() {
  auto names = std::make_unique<CStringList>(10);
  // The names already listed, so that each symbol costs one look-up, not a
  // scan of the list. Nearly every name is ASCII, read as UTF-8 straight
  // from the drawing without a UTF-16 string per symbol; any other name is
  // decoded and kept apart (an ASCII name never equals one that is not).
  ListedNames listedAscii;
  std::string lastAscii;  // the name of the ASCII symbol before, when hasLast
  bool hasLast = false;
  std::vector<std::string_view> views;
  std::string scratch;
  TextSet listed;
  // Whether each block definition met is a pin block: a drawing has few
  // blocks and many references, and a name is decoded each time it is read.
  std::unordered_map<const OdDbBlockTableRecord*, bool> pinBlocks;
  std::vector<OdString> values;
  OdDbDatabasePtr db = Drawing();
  if (db.isNull()) return names.release();
  OdDbBlockTableRecordPtr space = db->getModelSpaceId().safeOpenObject(OdDb::kForRead);
  for (OdDbObjectIteratorPtr it = space->newIterator(true, true); !it->done(); it->step(true, true)) {
    OdDbEntityPtr entity = it->entity(OdDb::kForRead);
    // The filters only read, so the cheap ones go first; the layer's name
    // is read only for references.
    auto* reference = OdDbBlockReference::cast(entity.get());
    if (!reference || reference->isErased()) continue;
    OdDbObjectPtr block = reference->blockTableRecord().openObject(OdDb::kForRead);
    auto* definition = OdDbBlockTableRecord::cast(block.get());
    if (!definition) continue;
    auto known = pinBlocks.find(definition);
    if (known == pinBlocks.end()) known = pinBlocks.emplace(definition, isPinBlock(definition->getName())).first;
    if (!known->second || isIgnoredLayer(*entity, scratch)) continue;
    if (!reference->xDataTextsUtf8(kPinApplication, views, scratch) || views.size() < 3) continue;
    if (isAscii(views[1])) {
      // A connector's symbols mostly follow one another: the name of the
      // symbol before is compared first, and the set asked only on a change.
      if (hasLast && lastAscii == views[1]) continue;
      lastAscii.assign(views[1]);
      hasLast = true;
      if (listedAscii.add(views[1])) names->AddTail(CString(std::u16string(views[1].begin(), views[1].end())));
      continue;
    }
    if (!xdataValues(*reference, values) || values.size() < 3) continue;
    if (listed.insert(values[1].str()).second) names->AddTail(CString(values[1].str()));
  }
  return names.release();
}

const zr::PinRows& CIPinos::LinhasPinos(const OdString& code) {
  auto it = m_rows.find(code.str());
  if (it == m_rows.end()) {
    std::shared_ptr<const zr::PinRows> rows = m_catalogue.Rows(code);
    // A catalogue that answers nothing at all answers no rows.
    if (!rows) rows = std::make_shared<const zr::PinRows>();
    it = m_rows.emplace(code.str(), std::move(rows)).first;
  }
  return *it->second;
}

zr::ConectoresPinos& CIPinos::VerificarPinos(zr::ConectoresPinos& records) {
  LerPinos(records);
  LigarPinos(records);
  return records;
}

zr::ConectoresPinos& CIPinos::LerPinos(zr::ConectoresPinos& records) {
  LerSimbolos(records);
  return CompararComCatalogo(records);
}

zr::ConectoresPinos& CIPinos::LerSimbolos(zr::ConectoresPinos& records) {
  records.clear();
  m_recordByName.clear();
  m_namedCount = 0;
  m_apartCode.clear();
  m_asked.clear();
  m_rows.clear();
  m_lastRecord = nullptr;
  // The records of this check share one store for their pins, kept by them
  // alone once the check is over.
  m_pinStore = std::make_shared<zr::PinStore>();
  OdDbDatabasePtr db = Drawing();
  if (db.isNull()) return records;
  if (m_drawing.isNull()) {
    SetPinTag(CICad().GetVariavel(OdString(u"*ZRATTPINO*"), OdString(u"ID_PINO")));
  }

  // Every symbol into its record first; each record is compared with the
  // catalogue after (CompararComCatalogo). The rows of the codes met are
  // asked for while the symbols are read, so a catalogue that reads beside
  // the check has them by then.
  //
  // The symbols' pins are made first and listed in their records once all
  // are read (also when the reading fails), each record's list then taken
  // at its size; the store takes room for as many pins as there are symbols.
  try {
    ReadPinSymbols(*db, records);
  } catch (...) {
    zr::CEConectorPinos::ListMadePins(*m_pinStore);
    throw;
  }
  zr::CEConectorPinos::ListMadePins(*m_pinStore);
  m_lastRecord = nullptr;
  // Given back, not only emptied: what the check does next (the name
  // listing, on this thread) takes the memory again.
  std::vector<NamedRecord>().swap(m_recordByName);
  m_namedCount = 0;
  m_pinStore.reset();
  return records;
}

void CIPinos::ReadPinSymbols(OdDbDatabase& db, zr::ConectoresPinos& records) {
  OdDbBlockTablePtr table = db.getBlockTableId().safeOpenObject(OdDb::kForRead);
  std::vector<OdDbBlockTableRecordPtr> pinBlocks;
  std::size_t symbols = 0;
  for (OdDbSymbolTableIteratorPtr it = table->newIterator(true, true); !it->done(); it->step(true, true)) {
    OdDbBlockTableRecordPtr block = it->getRecord(OdDb::kForRead);  // throws for another class
    if (!isPinBlock(block->getName()) || !entitiesOpen(*block)) continue;
    OdDbObjectIdArray ids;
    block->getBlockReferenceIds(ids, true, false);
    symbols += ids.size();
    pinBlocks.push_back(block);
  }
  // Room too for the catalogue pins that no symbol carries, made when the
  // records are compared (an eighth more: the room not reached is never
  // touched).
  m_pinStore->Reserve(symbols + symbols / 8);
  m_pinStore->FaultAhead(symbols);
  for (const OdDbBlockTableRecordPtr& block : pinBlocks) {
    OdDbObjectIdArray ids;
    block->getBlockReferenceIds(ids, true, false);
    // A block's references lie far apart in a large drawing (every
    // connector's symbols come between two of them): each is fetched a few
    // references ahead, while the one before it is read.
    constexpr std::size_t kAhead = 4;
    for (std::size_t i = 0; i < ids.size(); ++i) {
      if (i + kAhead < ids.size()) ids[i + kAhead].prefetch();
      const OdDbObjectId& id = ids[i];
      OdDbObjectPtr object = id.openObject(OdDb::kForRead);
      if (object.isNull()) continue;
      OdDbBlockReferencePtr reference = object;  // throws for another class
      LerSimboloPino(*reference, records);
    }
  }
}

zr::ConectoresPinos& CIPinos::CompararComCatalogo(zr::ConectoresPinos& records) {
  for (auto& record : records) CompararRegistro(*record);
  m_rows.clear();
  m_apartCode.clear();
  m_asked.clear();
  return records;
}

void CIPinos::PedirLinhas(const OdString& code) {
  if (m_rows.count(code.str()) || m_asked.count(code.str())) return;
  if (m_catalogue.Prefetch(code)) {
    m_asked.insert(code.str());
  } else {
    LinhasPinos(code);
  }
}

void CIPinos::CompararRegistro(zr::CEConectorPinos& record) {
  const zr::PinRows& own = LinhasPinos(record.GetCodigo());
  // Which of the code's identifiers the symbols carry, kept by the
  // identifier's first row (the empty identifier apart).
  std::vector<char>& has = m_has;
  has.assign(own.Size(), 0);
  char hasEmpty = 0;
  for (const auto& pin : record.GetPinos()) {
    const zr::PinRows* matched = &own;
    if (!m_apartCode.empty()) {
      auto apart = m_apartCode.find(pin.get());
      if (apart != m_apartCode.end()) matched = &LinhasPinos(apart->second);
    }
    const std::size_t match = matched->FirstRow(pin->identifier.view());
    if (match != zr::PinRows::kNone) {
      pin->pin = zr::PinText(matched->Field(match, 2));
    } else {
      pin->status = zr::PINO_DESCONHECIDO;
      record.SetEstado(zr::CONECTOR_PINO_DESCONHECIDO);
    }
    if (pin->identifier.isEmpty()) {
      hasEmpty = 1;
    } else if (const std::size_t first = matched == &own ? match : own.FirstRow(pin->identifier.view());
               first != zr::PinRows::kNone) {
      has[first] = 1;
    }
  }

  // Catalogue pins that no symbol carries, growing with the pins added here.
  for (std::size_t i = 0; i < own.Size(); ++i) {
    const std::u16string_view id = own.Field(i, 1);
    char& seen = id.empty() ? hasEmpty : has[own.FirstOfRow(i)];
    if (seen) continue;
    record.AddPino(OdString(id), OdString(), OdString(own.Field(i, 2)), zr::PINO_FALTANTE, 0.0, 0.0);
    seen = 1;
  }
}

CIPinos::NamedRecord& CIPinos::RecordNamed(const OdString& name) {
  // Grown before it is half full; the records already named move with it.
  if (2 * (m_namedCount + 1) > m_recordByName.size()) {
    std::vector<NamedRecord> old(std::max<std::size_t>(64, 2 * m_recordByName.size()));
    old.swap(m_recordByName);
    const std::size_t mask = m_recordByName.size() - 1;
    for (const NamedRecord& e : old) {
      if (!e.record) continue;
      std::size_t i = e.hash & mask;
      while (m_recordByName[i].record) i = (i + 1) & mask;
      m_recordByName[i] = e;
    }
  }
  const std::size_t hash = TextHash()(name.str());
  const std::size_t mask = m_recordByName.size() - 1;
  std::size_t i = hash & mask;
  while (m_recordByName[i].record &&
         !(m_recordByName[i].hash == hash && m_recordByName[i].record->GetNome().str() == name.str()))
    i = (i + 1) & mask;
  m_recordByName[i].hash = hash;
  return m_recordByName[i];
}

zr::CEConectorPinos* CIPinos::RecordNamedAscii(std::string_view name) const {
  if (m_recordByName.empty()) return nullptr;
  const std::size_t hash = TextHash()(name);
  const std::size_t mask = m_recordByName.size() - 1;
  for (std::size_t i = hash & mask; m_recordByName[i].record; i = (i + 1) & mask)
    if (m_recordByName[i].hash == hash && sameAsciiText(name, m_recordByName[i].record->GetNome()))
      return m_recordByName[i].record;
  return nullptr;
}

void CIPinos::LerSimboloPino(const OdDbBlockReference& reference, zr::ConectoresPinos& records) {
  // A failure while one symbol is read skips that symbol only.
  try {
    OdString identifier;
    if (!pinIdentifier(reference, m_pinTag, m_asciiPinTag, m_tagScratch, identifier)) return;
    std::vector<OdString>& values = m_values;
    if (!reference.xDataTextsUtf8(kPinApplication, m_views, m_scratch) || m_views.size() < 4) return;
    const bool ascii = isAscii(m_views[1]) && isAscii(m_views[2]) && isAscii(m_views[3]);
    if (ascii) {
      // Most symbols belong to a connector met before, under its code: their
      // pin is added without a text made for the name, code or flag.
      zr::CEConectorPinos* known = m_lastRecord;
      if (!known || !sameAsciiText(m_views[1], known->GetNome())) known = RecordNamedAscii(m_views[1]);
      if (known && sameAsciiText(m_views[2], known->GetCodigo())) {
        m_lastRecord = known;
        addSymbolPin(*known, reference, identifier);
        return;
      }
      // A new record, or a symbol under another code than its record's:
      // name, code and flag taken as they are written.
      values.resize(4);
      for (std::size_t i = 1; i < 4; ++i) values[i] = OdString(std::u16string(m_views[i].begin(), m_views[i].end()));
    } else if (!xdataValues(reference, values) || values.size() < 4) {
      return;
    }
    const OdString& name = values[1];
    const OdString& code = values[2];
    OdString flagText(values[3]);

    // When the symbols of one connector come one after another, the previous
    // symbol's record answers without a look-up. A record's code is asked
    // for when the record is made; a symbol with another code asks for its
    // own (each code the first time a symbol carries it).
    zr::CEConectorPinos* record = m_lastRecord;
    if (!record || record->GetNome() != name) {
      NamedRecord& named = RecordNamed(name);
      if (!named.record) {
        records.push_back(
            std::make_unique<zr::CEConectorPinos>(name, code, flagText.makeUpper() == OdString(u"S"), m_pinStore));
        named.record = records.back().get();
        ++m_namedCount;
        PedirLinhas(code);
      }
      record = m_lastRecord = named.record;
    }
    const bool apart = record->GetCodigo() != code;
    if (apart) PedirLinhas(code);

    const zr::CEPino* pin = addSymbolPin(*record, reference, identifier);
    if (apart) m_apartCode.emplace(pin, code);
  } catch (...) {
    // The symbol is left out; what was done for it stays.
  }
}

void CIPinos::LigarPinos(zr::ConectoresPinos& records) {
  MatingCache mating;
  const LargeArray<zr::CEPino*> found = zr::PinGrid(records).FindEach();
  std::size_t next = 0;
  for (auto& record : records) {
    for (const auto& pin : record->GetPinos()) {
      zr::CEPino* other = found[next++];
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
    TextSet codes;
    for (POSITION pos = parts ? parts->GetHeadPosition() : nullptr; pos;) codes.insert(parts->GetNext(pos).str());
    it = mating.emplace(code.str(), std::move(codes)).first;
  }
  zr::CEPino* mate = pin->mate;
  // As the list's Find compares: the code as a C string, up to its first U+0000.
  const bool mayMate = it->second.count(std::u16string(mate->owner->GetCodigo().c_str())) != 0;
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
