#include "dxf/DxfLinker.h"

#include <algorithm>
#include <unordered_map>

#include "dxf/LenientRead.h"
#include "dxf/DxfTagReader.h"
#include "model/DatabaseImpl.h"
#include "zrdwg/OdDbBlockReference.h"
#include "zrdwg/OdDbBlockTableRecord.h"
#include "zrdwg/OdDbDictionary.h"
#include "zrdwg/OdDbSymbolTable.h"

void DxfLinker::failAt(std::size_t line, const std::string& message) const { reader_.fail(message, line); }

void DxfLinker::link() {
  if (!impl_.blockTable) throw OdError(eBadDxfFile, OdString::fromUtf8(path_ + ": the drawing has no BLOCK_RECORD table"));
  linkHandles();
  linkBlocks();
  linkEntities();
  linkReferences();
  linkObjects();
}

void DxfLinker::linkHandles() {
  if (maxHandle_ == UINT64_MAX) {
    for (const StoredObject* object : impl_.handles)
      if (ObjectStore::handleOf(object) == UINT64_MAX)
        failAt(lineOf(static_cast<const OdDbObject*>(object)), "handle " + OdDbHandle(UINT64_MAX).hex() + " leaves no handle for new objects");
  }
  // Objects written without a handle (or with handle 0) get one above every
  // handle in the file.
  impl_.nextHandle = std::max(impl_.handseedRead, maxHandle_ + 1);
  // The reader noted the order of the handles as it read: when it saw every
  // object, and each with a handle, no pass over the objects is needed to
  // number them or to find where their order breaks.
  const bool noted = !read_.unnumbered && read_.noted == impl_.handles.size();
  if (!noted) numberObjectsWithoutHandle();
  if (!impl_.sortHandles(noted ? &read_.handleRunStarts : nullptr)) checkDuplicateHandles();
  linkOwners();
}

void DxfLinker::numberObjectsWithoutHandle() {
  for (StoredObject* stored : impl_.handles) {
    auto* object = static_cast<OdDbObject*>(stored);
    if (object->handle_ != 0) continue;
    const uint64_t handle = object->handle_ = impl_.takeHandle();
    if (lenient_) lenient_->numbered.insert(object);
    std::vector<DxfTag> v = object->tags_.toVector();
    std::string hex = OdDbHandle(handle).hex();
    const int handleCode = object->dxfName() == "DIMSTYLE" ? 105 : 5;
    // A handle tag of 0 takes the new value; otherwise the handle comes first,
    // except in a TABLE, which starts with its name. The tag is looked for as
    // the reader takes it (outside application groups, before the first
    // subclass), so that the written handle is read back as the handle.
    auto at = v.begin();
    bool inGroup = false;
    for (; at != v.end(); ++at) {
      if (at->code == 102) {
        inGroup = !at->value.empty() && at->value[0] == '{';
        continue;
      }
      if (!inGroup && (at->code == handleCode || at->code == 100)) break;
    }
    if (at != v.end() && at->code == handleCode) {
      at->value = hex;
    } else {
      at = v.begin();
      if (object->dxfName() == "TABLE" && at != v.end() && at->code == 2) ++at;
      v.insert(at, DxfTag{handleCode, hex});
    }
    object->tags_ = TagList::fromTags(v);
  }
}

void DxfLinker::checkDuplicateHandles() {
  for (std::size_t k = 1; k < impl_.handles.size(); ++k) {
    const OdDbObject* first = static_cast<OdDbObject*>(impl_.handles[k - 1]);
    const OdDbObject* second = static_cast<OdDbObject*>(impl_.handles[k]);
    const uint64_t h = second->handle_;
    if (h != first->handle_) continue;
    std::size_t a = lineOf(first), b = lineOf(second);
    if (b < a) {
      std::swap(a, b);
      std::swap(first, second);
    }
    if (lenient_) {
      ++lenient_->duplicateHandles;
      lenient_->issues.push_back({b, second, "handle " + OdDbHandle(h).hex() + " used again (first at line " +
                                                 std::to_string(a) + ")"});
      continue;
    }
    failAt(b, "handle " + OdDbHandle(h).hex() + " is already used by the " + first->dxfName() + " at line " +
                  std::to_string(a));
  }
}

void DxfLinker::linkOwners() {
  // Owners not known when their objects were read (all of them in a lenient
  // read): most are the entity a sub-entity follows or the owner of the
  // object before, found without a search.
  const bool exact = !lenient_ || lenient_->duplicateHandles == 0;
  OdDbObject* lastFound = nullptr;
  for (const PendingOwner& p : pendingOwners_) {
    OdDbObject* found;
    if (exact && p.object->owner_ && p.object->ownerObject()->handle_ == p.handle) {
      found = p.object->ownerObject();
    } else if (exact && lastFound && lastFound->handle_ == p.handle) {
      found = lastFound;
    } else {
      found = impl_.object(p.handle);
      if (found) lastFound = found;
    }
    if (!found) {
      // Other programs leave such owners behind (a removed BLOCK_RECORD, an
      // object of a deleted dictionary): the tag is kept as read, the object
      // belongs to its container in the model, and the audit reports it.
      // Each tag is two lines after the object's type line.
      if (lenient_)
        lenient_->issues.push_back({std::size_t(p.line) + 2 + 2 * std::size_t(p.index), p.object,
                                    "owner " + OdDbHandle(p.handle).hex() + " does not exist"});
      continue;
    }
    p.object->owner_ = found;
  }
  std::vector<PendingOwner>().swap(pendingOwners_);
  // Table records belong to their table whatever their owner tag says.
  for (OdDbSymbolTable* table : impl_.tables)
    for (OdDbSymbolTableRecord* record : table->records_)
      if (!record->owner_) record->owner_ = table;
}

void DxfLinker::linkBlocks() {
  // The reader may have indexed the records already: the index goes on from there.
  read_.blockRecordsIndexed = impl_.indexBlockNames(read_.blockRecordsIndexed);
  impl_.modelSpace = impl_.blockNamed(OdString(u"*Model_Space"));
  impl_.paperSpace = impl_.blockNamed(OdString(u"*Paper_Space"));

  for (PendingBlock& pending : blocks_) {
    OdDbBlockTableRecord* block = OdDbBlockTableRecord::cast(pending.begin->owner_);
    if (!block) block = impl_.blockNamed(pending.begin->decode(tags::find(pending.begin->tags_, "", 2).value_or("")));
    if (!block) {
      // Other programs leave blocks whose record they never wrote: the block
      // is kept as read, in its place, and the audit reports it.
      if (lenient_) {
        const std::string name(tags::find(pending.begin->tags_, "", 2).value_or(""));
        lenient_->issues.push_back({pending.line, pending.begin,
                                    "the block \"" + DxfTagReader::shown(name) + "\" has no BLOCK_RECORD table entry"});
      }
      impl_.unlistedBlocks.push_back(
          UnlistedBlock{pending.begin, std::move(pending.entities), pending.end, impl_.blocksSection.size()});
      continue;
    }
    if (block->blockBegin_) failAt(pending.line, "the block \"" + DxfTagReader::shown(block->getName().toUtf8()) + "\" is defined twice");
    block->blockBegin_ = pending.begin;
    block->blockEnd_ = pending.end;
    pending.begin->owner_ = pending.end->owner_ = block;
    for (OdDbEntity* entity : pending.entities) {
      if (!entity->owner_) entity->owner_ = block;
      block->entities_.push_back(entity);
    }
    impl_.blocksSection.push_back(block);
  }
}

void DxfLinker::linkEntities() {
  // When every entity of the section is model space's and model space has
  // none from its block definition (the usual drawing), the section's list
  // becomes model space's own: a large drawing holds it once, not twice.
  // The reader knows whether all of them were read as model space's: then
  // no pass over them is needed.
  const bool modelSpaceEmpty = impl_.modelSpace && impl_.modelSpace->entities_.empty();
  const bool readAsModelSpace =
      impl_.modelSpace && read_.entitiesShareOwner && read_.entitiesOwner == impl_.modelSpace;
  bool allInModelSpace = true;
  if (!readAsModelSpace) {
    for (OdDbEntity* entity : impl_.entitiesSection) {
      OdDbBlockTableRecord* block = OdDbBlockTableRecord::cast(entity->owner_);
      if (!block) block = entity->isInPaperSpace() ? impl_.paperSpace : impl_.modelSpace;
      if (!block) {
        throw OdError(eBadDxfFile,
                      OdString::fromUtf8(path_ + ": the drawing has no *Model_Space or *Paper_Space block record"));
      }
      entity->owner_ = block;
      allInModelSpace = allInModelSpace && block == impl_.modelSpace;
    }
  }
  if (allInModelSpace && modelSpaceEmpty) {
    impl_.modelSpace->entities_ = std::move(impl_.entitiesSection);
    impl_.entitiesSection = {};
    impl_.sectionIsModelSpace = true;
  } else {
    for (OdDbEntity* entity : impl_.entitiesSection)
      static_cast<OdDbBlockTableRecord*>(entity->owner_)->entities_.push_back(entity);
  }
}

DxfLinker::ReferenceName& DxfLinker::Read::noteReference(OdDbBlockReference* reference, std::string_view rawName,
                                                         uint64_t handle) {
  // A reference without a handle is given one after the read, above all.
  if (handle == 0 || handle < lastReferenceHandle) referencesInHandleOrder = false;
  lastReferenceHandle = handle;
  const uint8_t place = TagList::internedPlaceOf(rawName);
  std::size_t name;
  if (place && referenceNameAtPlace[place]) {
    name = referenceNameAtPlace[place] - 1;
  } else {
    const auto [at, added] = referenceNameIndex.try_emplace(rawName, referenceNames.size());
    if (added) referenceNames.push_back(ReferenceName{rawName, reference, 0, nullptr, false});
    name = at->second;
    if (place) referenceNameAtPlace[place] = static_cast<uint32_t>(name + 1);
  }
  references.push_back(NotedReference{reference, name});
  ReferenceName& entry = referenceNames[name];
  ++entry.references;
  return entry;
}

void DxfLinker::linkReferences() {
  // The reader gave each reference the block its name names among the block
  // records read before it; the names it found no block for are looked up
  // now, once each, and their references given the block here. Each block's
  // list is taken once, at its size (names differing in case name one
  // block), and filled in the order read without touching the references.
  std::unordered_map<OdDbBlockTableRecord*, std::size_t> referencesOfBlock;
  for (ReferenceName& name : read_.referenceNames) {
    if (!name.block) {
      name.block = impl_.blockNamed(name.first->decode(name.raw));
      name.foundLate = name.block != nullptr;
    }
    if (name.block) referencesOfBlock[name.block] += name.references;
  }
  for (const auto& [block, references] : referencesOfBlock) block->reserveReferences(references);
  for (const NotedReference& noted : read_.references) {
    const ReferenceName& name = read_.referenceNames[noted.name];
    if (!name.block) continue;
    if (name.foundLate) noted.reference->block_ = name.block;
    name.block->references_.push_back(noted.reference);
  }
  // The order read is handle order when the references' handles rose
  // throughout the file (the usual drawing); otherwise a list out of order
  // is sorted once.
  auto byHandle = [](const OdDbEntity* a, const OdDbEntity* b) { return a->handle_ < b->handle_; };
  for (const auto& [block, references] : referencesOfBlock) {
    EntityList& list = block->references_;
    if (!read_.referencesInHandleOrder && !std::is_sorted(list.begin(), list.end(), byHandle))
      std::stable_sort(list.begin(), list.end(), byHandle);
    block->referencesInOrder_ = true;
  }
  LargeArray<NotedReference>().swap(read_.references);
  std::vector<ReferenceName>().swap(read_.referenceNames);
  std::unordered_map<std::string_view, std::size_t>().swap(read_.referenceNameIndex);
}

void DxfLinker::linkObjects() {
  if (!impl_.objectsSection.empty()) impl_.namedObjects = OdDbDictionary::cast(impl_.objectsSection.front());
  for (OdDbObject* object : impl_.objectsSection) {
    auto* dict = OdDbDictionary::cast(object);
    if (!dict) continue;
    dict->onLoaded();
    for (const auto& entry : dict->entries_) {
      // An entry left pointing at a removed object is kept as read and
      // answers the null identifier; the audit reports it.
      if (!lenient_ || entry.handle == 0 || impl_.object(entry.handle)) continue;
      // The entry's key tag, two lines per tag after the dictionary's type line.
      const std::size_t line = lineOf(dict) + 2 + 2 * entry.tagIndex;
      const std::string key = DxfTagReader::shown(entry.rawKey);
      const std::string handle = OdDbHandle(entry.handle).hex();
      lenient_->issues.push_back({line, dict, "entry \"" + key + "\" refers to handle " + handle +
                                                  ", which does not exist"});
    }
  }
}
