#include "DatabaseImpl.h"

#include <algorithm>

#include "NewObjectTags.h"
#include "OdDbBlockReference.h"

namespace {
bool isAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}
}  // namespace

DatabaseImpl::~DatabaseImpl() {
  // Sub-entities of drawing objects are held by the drawing alone.
  for (auto& [handle, object] : handles)
    if (auto* entity = OdDbEntity::cast(object)) entity->children_.reset();
  for (auto& [handle, object] : handles) {
    // An object someone still holds keeps its kind's name past the drawing.
    if (object->numRefs() > 1) {
      if (object->type_ >= OdDbObject::kFirstDrawingKind)
        object->type_ = OdDbObject::internType(kindName(object->type_));
      // ... and its tags, which the arena holds.
      object->tags_.makeOwned();
    }
    object->db_ = nullptr;
    object->release();
  }
}

uint16_t DatabaseImpl::kindOf(std::string_view name) {
  if (auto fixed = OdDbObject::fixedKind(name)) return *fixed;
  auto it = kindIndex.find(name);
  if (it != kindIndex.end()) return it->second;
  constexpr std::size_t kMaxKinds = 0x10000 - OdDbObject::kFirstDrawingKind - 1;
  if (kinds.size() >= kMaxKinds)
    throw OdError(eInvalidInput, OdString(u"The drawing has more than 32,767 kinds of objects"));
  kinds.emplace_back(name);
  const auto type = static_cast<uint16_t>(OdDbObject::kFirstDrawingKind + kinds.size() - 1);
  kindIndex.emplace(kinds.back(), type);
  return type;
}

std::u16string DatabaseImpl::nameKey(const OdString& name) {
  OdString key(name);
  return key.makeUpper().str();
}

OdDbObject* DatabaseImpl::lookup(uint64_t handle) const {
  if (handle == 0) return nullptr;
  auto it = std::lower_bound(handles.begin(), handles.end(), handle,
                             [](const auto& entry, uint64_t h) { return entry.first < h; });
  if (it == handles.end() || it->first != handle) return nullptr;
  return it->second;
}

void DatabaseImpl::registerLoaded(OdDbObject* object) {
  object->db_ = self;
  object->addRef();
  handles.emplace_back(object->handle_, object);
}

uint64_t DatabaseImpl::takeHandle() {
  if (nextHandle == UINT64_MAX) throw OdError(eHandleInUse, OdString(u"The drawing has no free handle left"));
  return nextHandle++;
}

void DatabaseImpl::addObject(OdDbObject* object, OdDbObject* owner, uint64_t chosen) {
  if (object->db_) throw OdError(eAlreadyInDb);
  // The handle first: when none is left, the object stays outside the drawing.
  const uint64_t handle = chosen ? chosen : takeHandle();
  // $HANDSEED stays above every handle.
  if (chosen && chosen >= nextHandle) nextHandle = chosen + 1;
  object->db_ = self;
  object->owner_ = owner;
  object->handle_ = handle;

  const std::string handleText = OdDbHandle(object->handle_).hex();
  const std::string ownerText = owner ? OdDbHandle(owner->handle_).hex() : std::string("0");
  TagListBuilder b;
  b.add(object->dxfName() == "DIMSTYLE" ? 105 : 5, handleText);
  if (owner && OdDbDictionary::cast(owner)) {
    // Objects held by a dictionary name it among their reactors, as other
    // programs expect.
    b.add(102, "{ACAD_REACTORS");
    b.add(330, ownerText);
    b.add(102, "}");
  }
  b.add(330, ownerText);
  // Objects made outside a drawing hold their text as UTF-8; a drawing of an
  // ANSI code page gets it in its own encoding.
  static const TextCodec kUtf8(true, "");
  for (const auto& t : object->tags_) {
    if (t.code == 5 || t.code == 330) continue;
    if (!codec->isUtf8() && !isAscii(t.value)) {
      b.add(t.code, codec->encode(kUtf8.decode(t.value)));
    } else {
      b.add(t);
    }
  }
  object->tags_ = b.finish();
  object->addRef();
  object->openMode_ = OdDb::kForWrite;
  // The index stays sorted: a chosen handle may fall between others.
  if (handles.empty() || handles.back().first < handle) {
    handles.emplace_back(handle, object);
  } else {
    auto at = std::lower_bound(handles.begin(), handles.end(), handle,
                               [](const auto& entry, uint64_t h) { return entry.first < h; });
    handles.insert(at, {handle, object});
  }
}

void DatabaseImpl::adoptChildren(OdDbEntity* parent) {
  if (!parent->children_) return;
  auto adopt = [&](OdDbEntity* child) {
    if (!child || child->db_) return;
    addObject(child, parent);
    child->release();
  };
  for (OdDbEntity* child : *parent->children_) adopt(child);
  adopt(parent->children_->seqend);
}

OdDbBlockTableRecord* DatabaseImpl::blockNamed(const OdString& name) const {
  auto it = blocksByName.find(nameKey(name));
  return it == blocksByName.end() ? nullptr : it->second;
}

void DatabaseImpl::indexBlockName(OdDbBlockTableRecord* record) {
  blocksByName.emplace(nameKey(record->getName()), record);
}

void DatabaseImpl::ensureRegAppTable() {
  if (regAppTable) return;
  auto* table = new OdDbSymbolTable(OdDbObject::internType("TABLE"));
  table->handle_ = takeHandle();
  table->tags_ = newtags::regAppTable(OdDbHandle(table->handle_).hex());
  table->db_ = self;
  table->addRef();
  handles.emplace_back(table->handle_, table);
  // Where other programs write it: before DIMSTYLE and BLOCK_RECORD.
  auto at = std::find_if(tables.begin(), tables.end(), [](const OdDbSymbolTable* t) {
    return t->tableName() == "DIMSTYLE" || t->tableName() == "BLOCK_RECORD";
  });
  tables.insert(at, table);
  regAppTable = table;
}

void DatabaseImpl::ensureRegApp(const OdString& name) {
  ensureRegAppTable();
  if (regAppTable->has(name)) return;
  OdDbRegAppTableRecordPtr record = OdDbRegAppTableRecord::createObject();
  record->setName(name);
  addObject(record.get(), regAppTable);
  regAppTable->records_.push_back(record.get());
}

void DatabaseImpl::assertErasable(const OdDbObject* object) const {
  const char* needed = nullptr;
  if (OdDbSymbolTable::cast(object)) needed = "a symbol table";
  else if (object == modelSpace) needed = "model space";
  else if (object == paperSpace) needed = "the paper space";
  else if (object == namedObjects) needed = "the named objects dictionary";
  if (needed) {
    throw OdError(eNotApplicable, OdString::fromUtf8(std::string("The drawing needs ") + needed +
                                                     "; it cannot be erased"));
  }
  const auto* app = OdDbRegAppTableRecord::cast(object);
  if (!app) return;
  // Extended data must name applications of the APPID table. Erasing an
  // application is rare: a scan of every object is affordable.
  const std::u16string key = nameKey(app->getName());
  for (const auto& [handle, other] : handles) {
    if (other->isErased()) continue;
    for (const auto& t : other->tags_) {
      if (t.code != 1001 || nameKey(codec->decode(t.value)) != key) continue;
      throw OdError(eInvalidInput, OdString(u"The application \"") + app->getName() +
                                       OdString(u"\" still has extended data on ") +
                                       OdString::fromUtf8(other->dxfName() + " " + OdDbHandle(handle).hex()) +
                                       OdString(u"; it cannot be erased"));
    }
  }
}

void DatabaseImpl::ensureObjectsSection() {
  if (namedObjects) return;
  OdDbDictionaryPtr root = OdDbDictionary::createObject();
  root->tags_ = newtags::namedObjectsDictionary();
  addObject(root.get(), nullptr);
  bool hasSlot = std::any_of(sections.begin(), sections.end(),
                             [](const SectionSlot& s) { return s.kind == SectionKind::kObjects; });
  if (!hasSlot) {
    // OBJECTS follows ENTITIES (or goes last).
    auto at = std::find_if(sections.begin(), sections.end(),
                           [](const SectionSlot& s) { return s.kind == SectionKind::kEntities; });
    sections.insert(at == sections.end() ? at : at + 1, SectionSlot{SectionKind::kObjects});
  }
  objectsSection.insert(objectsSection.begin(), root.get());
  namedObjects = root.get();
}

std::vector<std::pair<const OdDbEntity*, OdDbBlockTableRecord*>> DatabaseImpl::settleUnlistedBlocks(
    const UnlistedChoice& choose) {
  std::vector<std::pair<const OdDbEntity*, OdDbBlockTableRecord*>> settled;
  if (unlistedBlocks.empty()) return settled;
  std::vector<OdDbBlockTableRecord*> section;
  section.reserve(blocksSection.size() + unlistedBlocks.size());
  std::size_t next = 0;
  auto settle = [&](UnlistedBlock& block) {
    const std::optional<uint64_t> handle = choose(block);
    if (!handle) {
      block.begin->flags_ |= OdDbObject::kErased;
      block.end->flags_ |= OdDbObject::kErased;
      for (OdDbEntity* entity : block.entities) entity->flags_ |= OdDbObject::kErased;
      settled.emplace_back(block.begin, nullptr);
      return;
    }
    const std::string rawName(tags::find(block.begin->tags_, "", 2).value_or(""));
    OdDbBlockTableRecordPtr record = OdDbBlockTableRecord::createObject();
    addObject(record.get(), blockTable, *handle);
    // The name as the BLOCK holds it, already in the drawing's encoding.
    record->tags_ = tags::withValue(record->tags_, "AcDbBlockTableRecord", 2, rawName);
    blockTable->records_.push_back(record.get());
    record->blockBegin_ = block.begin;
    record->blockEnd_ = block.end;
    block.begin->owner_ = block.end->owner_ = record.get();
    for (OdDbEntity* entity : block.entities)
      if (!entity->owner_) entity->owner_ = record.get();
    record->entities_ = std::move(block.entities);
    indexBlockName(record.get());
    section.push_back(record.get());
    settled.emplace_back(block.begin, record.get());
  };
  for (std::size_t i = 0; i < blocksSection.size(); ++i) {
    for (; next < unlistedBlocks.size() && unlistedBlocks[next].before <= i; ++next) settle(unlistedBlocks[next]);
    section.push_back(blocksSection[i]);
  }
  for (; next < unlistedBlocks.size(); ++next) settle(unlistedBlocks[next]);
  blocksSection = std::move(section);
  unlistedBlocks.clear();
  // References of the new names reach their records: one walk for all.
  for (auto& [h, object] : handles) {
    auto* reference = OdDbBlockReference::cast(object);
    if (reference && !reference->block_) reference->onLoaded();
  }
  return settled;
}
