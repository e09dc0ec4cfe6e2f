#include "zrdwg/OdDbDatabase.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "model/DatabaseImpl.h"
#include "model/DxfFields.h"
#include "model/NewObjectTags.h"
#include "store/ExtendedData.h"
#include "zrdwg/DxfValues.h"
#include "zrdwg/OdDbBlockReference.h"
#include "zrdwg/OdDbBlockTableRecord.h"
#include "zrdwg/OdDbDictionary.h"
#include "zrdwg/OdDbSymbolTable.h"

ODRX_DEFINE_MEMBERS(OdDbDatabase, OdRxObject, "AcDbDatabase")

namespace {

std::mutex& hostVarsMutex() {
  static std::mutex m;
  return m;
}

std::map<std::u16string, OdResBufPtr>& hostVars() {
  static std::map<std::u16string, OdResBufPtr> vars;
  return vars;
}

}  // namespace

OdDbDatabase::OdDbDatabase() : impl_(std::make_unique<DatabaseImpl>(this)) {}

OdDbDatabase::~OdDbDatabase() = default;

DatabaseImpl& DatabaseImpl::of(const OdDbDatabase& db) { return *db.impl_; }

OdDbDatabasePtr DatabaseImpl::newDrawing() { return OdDbDatabasePtr(new OdDbDatabase); }

void OdDbDatabase::setHostSysVar(const OdString& name, const OdResBuf* value) {
  std::lock_guard<std::mutex> lock(hostVarsMutex());
  std::u16string key = ObjectStore::nameKey(name);
  if (value) {
    hostVars()[key] = value;
  } else {
    hostVars().erase(key);
  }
}

OdResBufPtr OdDbDatabase::getSysVar(const OdString& name) const {
  {
    std::lock_guard<std::mutex> lock(hostVarsMutex());
    auto it = hostVars().find(ObjectStore::nameKey(name));
    if (it != hostVars().end()) {
      // A copy, so that callers cannot change the host's value.
      return it->second->copy();
    }
  }
  std::string want("$");
  want += OdString(ObjectStore::nameKey(name)).toUtf8();
  for (const HeaderVariable& var : impl_->header) {
    std::string have = var.name;
    std::transform(have.begin(), have.end(), have.begin(), [](unsigned char c) { return std::toupper(c); });
    if (have != want) continue;
    std::vector<DxfTag> tags = var.tags.toVector();
    return xdata::groupToChain(tags, 0, tags.size(), impl_->codec());
  }
  return OdResBufPtr();
}

OdString OdDbDatabase::version() const { return OdString::fromUtf8(impl_->version); }

OdString OdDbDatabase::codePage() const {
  return OdString::fromUtf8(impl_->codec().isUtf8() ? std::string("UTF-8") : impl_->codePage);
}

OdDbObjectId OdDbDatabase::getBlockTableId() const { return OdDbObjectId::fromObject(impl_->blockTable); }
OdDbObjectId OdDbDatabase::getLayerTableId() const { return OdDbObjectId::fromObject(impl_->layerTable); }
OdDbObjectId OdDbDatabase::getRegAppTableId() const { return OdDbObjectId::fromObject(impl_->regAppTable); }
OdDbObjectId OdDbDatabase::getModelSpaceId() const { return OdDbObjectId::fromObject(impl_->modelSpace); }
OdDbObjectId OdDbDatabase::getPaperSpaceId() const { return OdDbObjectId::fromObject(impl_->paperSpace); }

OdDbObjectId OdDbDatabase::getNamedObjectsDictionaryId() const {
  impl_->ensureObjectsSection();
  return OdDbObjectId::fromObject(impl_->namedObjects);
}

OdDbObjectId OdDbDatabase::getOdDbObjectId(const OdDbHandle& handle, bool) const {
  return OdDbObjectId::fromObject(impl_->object(handle.value()));
}

OdDbHandle OdDbDatabase::handseed() const { return OdDbHandle(impl_->nextHandle); }

const TextCodec& OdDbDatabase::codec() const { return impl_->codec(); }

// The drawing's upkeep: what DatabaseImpl makes or finds of the concrete
// classes, at the top of the object model.

DatabaseImpl::~DatabaseImpl() {
  // Sub-entities of drawing objects are held by the drawing alone; the store
  // then drops its references.
  // Those left to the arena are not touched.
  for (StoredObject* stored : handles) {
    auto* object = static_cast<OdDbObject*>(stored);
    if (object->leavesWithArena()) continue;
    if (auto* entity = OdDbEntity::cast(object))
      if (OdDbEntity::ChildList* children = entity->childSlot()) children->reset();
  }
}
const EntityList& DatabaseImpl::sectionEntities() const {
  return sectionIsModelSpace ? modelSpace->entities_ : entitiesSection;
}

void DatabaseImpl::addToSection(OdDbEntity* entity) {
  if (sectionIsModelSpace) {
    if (entity->owner_ == modelSpace) return;  // already last in model space's list
    // A paper-space entity: the section parts from model space's list.
    entitiesSection = modelSpace->entities_;
    sectionIsModelSpace = false;
  }
  entitiesSection.push_back(entity);
}

std::size_t DatabaseImpl::indexBlockNames(std::size_t from) {
  if (!blockTable) return from;
  const auto& records = blockTable->records_;
  for (; from < records.size(); ++from)
    if (auto* block = OdDbBlockTableRecord::cast(records[from])) indexBlockName(block->getName(), block);
  return from;
}

void DatabaseImpl::ensureRegAppTable() {
  if (regAppTable) return;
  auto* table = new OdDbSymbolTable(OdDbObject::internType("TABLE"));
  table->handle_ = takeHandle();
  table->tags_ = newtags::regAppTable(OdDbHandle(table->handle_).hex());
  table->setStore(this);
  table->addRef();
  handles.push_back(table);
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

void DatabaseImpl::assertErasable(const StoredObject& stored) const {
  const auto* object = static_cast<const OdDbObject*>(&stored);
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
  for (const StoredObject* stored : handles) {
    const auto* other = static_cast<const OdDbObject*>(stored);
    if (other->isErased()) continue;
    for (const auto& t : other->tags_) {
      if (t.code != 1001 || nameKey(codec().decode(t.value)) != key) continue;
      throw OdError(eInvalidInput, OdString(u"The application \"") + app->getName() +
                                       OdString(u"\" still has extended data on ") +
                                       OdString::fromUtf8(other->dxfName() + " " + OdDbHandle(other->handle_).hex()) +
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
    const std::string rawName(block.begin->field(fields::blockBegin::kAnyName).value_or(""));
    OdDbBlockTableRecordPtr record = OdDbBlockTableRecord::createObject();
    addObject(record.get(), blockTable, *handle);
    // The name as the BLOCK holds it, already in the drawing's encoding.
    const DxfField& name = fields::blockRecord::kName;
    record->tags_ = tags::withValue(record->tags_, name.subclass, name.code, rawName);
    blockTable->records_.push_back(record.get());
    record->blockBegin_ = block.begin;
    record->blockEnd_ = block.end;
    block.begin->owner_ = block.end->owner_ = record.get();
    for (OdDbEntity* entity : block.entities)
      if (!entity->owner_) entity->owner_ = record.get();
    record->entities_ = std::move(block.entities);
    indexBlockName(record->getName(), record.get());
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
  for (StoredObject* object : handles) {
    auto* reference = OdDbBlockReference::cast(static_cast<OdDbObject*>(object));
    if (reference && !reference->block_) reference->onLoaded();
  }
  return settled;
}

uint64_t DatabaseImpl::addExtensionDictionary(StoredObject* object) {
  OdDbDictionaryPtr dict = OdDbDictionary::createObject();
  // An extension dictionary is owned by its object: hard ownership.
  const DxfField& hardOwner = fields::dictionary::kHardOwner;
  dict->tags_ = tags::withValue(dict->tags_, hardOwner.subclass, hardOwner.code, "1");
  addObject(dict.get(), object);
  objectsSection.push_back(dict.get());
  return dict->handle_;
}
