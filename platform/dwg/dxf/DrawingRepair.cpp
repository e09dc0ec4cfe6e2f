#include "zrdwg/DrawingRepair.h"

#include <algorithm>
#include <filesystem>
#include <unordered_map>

#include "dxf/DanglingPointers.h"
#include "model/DatabaseImpl.h"
#include "model/DxfFields.h"
#include "zrdwg/OdDbBlockTableRecord.h"
#include "zrdwg/OdDbDictionary.h"
#include "zrdwg/OdDbSymbolTable.h"
#include "zrdwg/DxfValues.h"
#include "dxf/DxfLoader.h"

// Works on the object model's insides: friend of OdDbObject and OdDbDictionary.
class DrawingRepair {
 public:
  DrawingRepair(OdDbDatabase& db, const LenientRead& read) : impl_(DatabaseImpl::of(db)), read_(read) {}

  std::vector<AuditFinding> run() {
    recordUnlistedBlocks();
    indexEntries();
    for (const auto& [object, line] : read_.objects) {
      auto* o = const_cast<OdDbObject*>(object);
      repairTags(*o, line);
      if (auto* dict = OdDbDictionary::cast(o)) repairEntries(*dict, line);
    }
    std::stable_sort(changes_.begin(), changes_.end(),
                     [](const AuditFinding& a, const AuditFinding& b) { return a.line < b.line; });
    return std::move(changes_);
  }

 private:
  static std::string subjectOf(const OdDbObject& o) { return o.dxfName() + " " + o.getDbHandle().hex(); }

  void add(std::size_t line, const OdDbObject& o, std::string message) {
    changes_.push_back(AuditFinding{line, subjectOf(o), std::move(message)});
  }

  // A block without a BLOCK_RECORD gets one of its name, with the handle its
  // BLOCK names as owner when that handle is free, so that its objects' owner
  // tags hold; a block whose name another block already has is removed.
  void recordUnlistedBlocks() {
    if (impl_.unlistedBlocks.empty()) return;
    std::unordered_map<const OdDbObject*, std::size_t> lines;
    for (const auto& [object, line] : read_.objects) lines.emplace(object, line);
    const auto settled = impl_.settleUnlistedBlocks([&](const UnlistedBlock& block) -> std::optional<uint64_t> {
      const OdString name = impl_.codec().decode(block.begin->field(fields::blockBegin::kAnyName).value_or(""));
      if (name.isEmpty() || impl_.blockNamed(name)) return std::nullopt;
      const tags::OwnerTag owner = tags::ownerTagOf(block.begin->tags_);
      if (!owner.found || owner.handle == UINT64_MAX || impl_.object(owner.handle)) return 0;
      return owner.handle;
    });
    for (const auto& [begin, record] : settled) {
      const auto line = lines.find(begin);
      const std::string shownName = DxfTagReader::shown(tags::find(begin->tags_, "", 2).value_or(""));
      if (record) {
        add(line == lines.end() ? 0 : line->second, *begin,
            "BLOCK_RECORD " + record->getDbHandle().hex() + " created for the block \"" + shownName + "\", which had none");
      } else {
        add(line == lines.end() ? 0 : line->second, *begin,
            "the block \"" + shownName + "\", which has no BLOCK_RECORD and whose name is taken, removed");
      }
    }
  }

  // Which dictionary holds each object as an entry: the container of objects
  // of the OBJECTS section. The first entry met wins.
  void indexEntries() {
    for (const auto& [object, line] : read_.objects)
      if (const auto* dict = OdDbDictionary::cast(object))
        for (const auto& entry : dict->entries_) heldBy_.emplace(entry.handle, dict);
  }

  const OdDbObject* containerOf(const OdDbObject& o) const {
    if (o.owner_) return o.ownerObject();
    auto it = heldBy_.find(o.handle_);
    return it == heldBy_.end() || it->second == &o ? nullptr : it->second;
  }

  void repairEntries(OdDbDictionary& dict, std::size_t line) {
    auto dangling = [&](const OdDbDictionary::Entry& e) { return e.handle != 0 && !impl_.object(e.handle); };
    if (std::none_of(dict.entries_.begin(), dict.entries_.end(), dangling)) return;
    std::vector<OdDbDictionary::Entry> kept;
    for (auto& e : dict.entries_) {
      if (dangling(e)) {
        add(line + 2 + 2 * e.tagIndex, dict,
            "entry \"" + DxfTagReader::shown(e.rawKey) + "\" (handle " + OdDbHandle(e.handle).hex() +
                ", which does not exist) removed");
        continue;
      }
      kept.push_back(std::move(e));
    }
    dict.entries_ = std::move(kept);
    dict.index_.clear();
    for (std::size_t i = 0; i < dict.entries_.size(); ++i) dict.index_.emplace(dict.entries_[i].key.str(), i);
  }

  void repairTags(OdDbObject& o, std::size_t line) {
    const tags::OwnerTag owner = tags::ownerTagOf(o.tags_);
    const bool badOwner = owner.found && owner.handle != 0 && !impl_.object(owner.handle);
    std::vector<std::size_t> dropped;
    forEachDanglingPointer(impl_, o, [&](const DanglingPointer& p) {
      if (p.kind == DanglingPointer::Kind::kReactor || p.kind == DanglingPointer::Kind::kExtensionDictionary) {
        dropped.push_back(p.tagIndex);
        add(read_.tagLine(&o, line, p.tagIndex), o,
            std::string(p.kind == DanglingPointer::Kind::kReactor ? "reactor " : "extension dictionary ") +
                OdDbHandle(p.handle).hex() + " (which does not exist) removed");
      }
    });
    const OdDbObject* container = badOwner ? containerOf(o) : nullptr;
    if (!container && dropped.empty()) return;

    std::vector<DxfTag> v = o.tags_.toVector();
    const std::string containerHex = container ? container->getDbHandle().hex() : std::string();
    if (container) {
      add(read_.tagLine(&o, line, owner.index), o,
          "owner " + OdDbHandle(owner.handle).hex() + " (which does not exist) set to " + containerHex +
              ", its container");
      v[owner.index].value = containerHex;
      o.owner_ = const_cast<OdDbObject*>(container);
    }
    std::vector<bool> drop(v.size(), false);
    for (std::size_t i : dropped) drop[i] = true;
    // A group left with nothing between its braces goes too.
    for (std::size_t i = 0; i + 1 < v.size(); ++i) {
      if (v[i].code != 102 || v[i].value.empty() || v[i].value[0] != '{') continue;
      std::size_t j = i + 1;
      bool emptied = true;
      for (; j < v.size() && !(v[j].code == 102 && v[j].value == "}"); ++j) emptied = emptied && drop[j];
      if (j < v.size() && j > i + 1 && emptied) drop[i] = drop[j] = true;
      i = j;
    }
    std::vector<DxfTag> kept;
    kept.reserve(v.size());
    for (std::size_t i = 0; i < v.size(); ++i)
      if (!drop[i]) kept.push_back(v[i]);
    o.tags_ = TagList::fromTags(kept);
  }

  DatabaseImpl& impl_;
  const LenientRead& read_;
  std::unordered_map<uint64_t, const OdDbDictionary*> heldBy_;
  std::vector<AuditFinding> changes_;
};

namespace {

// The lenient read of the drawing, refused as the normal read refuses it
// when it holds duplicate handles.
OdDbDatabasePtr readForRepair(const OdString& name, const std::string* text, LenientRead& read) {
  OdDbDatabasePtr db = DxfLoader::readLenient(name, text, read);
  if (read.duplicateHandles != 0) {
    // The normal read names the first duplicate with its file and line.
    if (text) OdDbDatabase::readDxfText(*text, name);
    else OdDbDatabase::readDxf(name);
    throw OdError(eInvalidInput, name + OdString(u": the drawing has duplicate handles; it cannot be repaired"));
  }
  return db;
}

}  // namespace

std::vector<AuditFinding> repairDxfFile(const OdString& path, const OdString& out) {
  namespace fs = std::filesystem;
  const fs::path from(path.toUtf8()), to(out.toUtf8());
  std::error_code ec;
  if (from.lexically_normal() == to.lexically_normal() || fs::equivalent(from, to, ec)) {
    throw OdError(eInvalidInput, OdString::fromUtf8("the repaired copy must go to another file than " +
                                                    path.toUtf8() + "; the drawing was left as it was"));
  }
  LenientRead read;
  OdDbDatabasePtr db = readForRepair(path, nullptr, read);
  std::vector<AuditFinding> changes = DrawingRepair(*db, read).run();
  db->writeDxf(out);
  return changes;
}

std::string repairDxfText(const std::string& text, const OdString& name, std::vector<AuditFinding>& changes) {
  LenientRead read;
  OdDbDatabasePtr db = readForRepair(name, &text, read);
  changes = DrawingRepair(*db, read).run();
  return db->dxfText();
}
