#include "zrdwg/DrawingAudit.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "dxf/DanglingPointers.h"
#include "model/DatabaseImpl.h"
#include "zrdwg/OdDbBlockTableRecord.h"
#include "zrdwg/OdDbDictionary.h"
#include "zrdwg/OdDbSymbolTable.h"
#include "zrdwg/DxfValues.h"
#include "dxf/DxfLoader.h"

std::string AuditFinding::text() const { return "line " + std::to_string(line) + ": " + subject + ": " + message; }

namespace {

std::string subjectOf(const OdDbObject* o) { return o->dxfName() + " " + o->getDbHandle().hex(); }

class Auditor {
 public:
  Auditor(const OdDbDatabase& db, const LenientRead& read) : db_(db), read_(read) {}

  std::vector<AuditFinding> run() {
    for (const auto& issue : read_.issues) add(issue.line, issue.object, issue.message);
    for (const auto& [object, line] : read_.objects) lineOf_.emplace(object, line);
    checkExtendedData();
    checkPointers();
    checkHandseed();
    checkOwnerCycles();
    std::stable_sort(findings_.begin(), findings_.end(),
                     [](const AuditFinding& a, const AuditFinding& b) { return a.line < b.line; });
    return std::move(findings_);
  }

 private:
  void add(std::size_t line, const OdDbObject* object, std::string message) {
    findings_.push_back(AuditFinding{line, subjectOf(object), std::move(message)});
  }

  std::size_t tagLine(const OdDbObject* object, std::size_t line, std::size_t index) const {
    return read_.tagLine(object, line, index);
  }

  void checkExtendedData() {
    std::unordered_set<std::u16string> registered;
    if (const OdDbSymbolTable* apps = OdDbSymbolTable::cast(db_.getRegAppTableId().rawObject())) {
      for (auto it = apps->newIterator(); !it->done(); it->step()) {
        const auto* record = OdDbSymbolTableRecord::cast(it->getRecordId().rawObject());
        if (record) registered.insert(ObjectStore::nameKey(record->getName()));
      }
    }
    for (const auto& [object, line] : read_.objects) {
      std::size_t i = 0;
      for (const auto& t : object->dxfTags()) {
        if (t.code == 1001) {
          const OdString name = db_.codec().decode(t.value);
          if (!registered.count(ObjectStore::nameKey(name))) {
            add(tagLine(object, line, i), object,
                "extended data of application \"" + DxfTagReader::shown(name.toUtf8()) + "\" not in the APPID table");
          }
        }
        ++i;
      }
    }
  }

  void checkPointers() {
    for (const auto& entry : read_.objects) {
      // Named, not a structured binding: a lambda may not capture those in
      // every compiler the fuzzing build uses.
      const auto& object = entry.first;
      const auto& line = entry.second;
      forEachDanglingPointer(DatabaseImpl::of(db_), *object, [&](const DanglingPointer& p) {
        add(tagLine(object, line, p.tagIndex), object, p.message());
      });
    }
  }

  void checkHandseed() {
    std::optional<uint64_t> seed;
    for (const HeaderVariable& var : DatabaseImpl::of(db_).header) {
      if (var.name != "$HANDSEED") continue;
      if (auto v = tags::find(var.tags, "", 5)) seed = dxfv::toHandle(*v);
    }
    if (!seed) return;
    const std::string seedText = OdDbHandle(*seed).hex();
    for (const auto& [object, line] : read_.objects) {
      const uint64_t h = object->getDbHandle().value();
      if (h < *seed || read_.numbered.count(object)) continue;
      add(line, object, "handle " + OdDbHandle(h).hex() + " is not below $HANDSEED " + seedText);
    }
  }

  // Follows the owner tags as written (what other programs follow); each cycle
  // is reported once, at the member that comes first in the file.
  void checkOwnerCycles() {
    std::unordered_map<uint64_t, const OdDbObject*> byHandle;
    std::unordered_map<uint64_t, uint64_t> ownerOf;
    for (const auto& [object, line] : read_.objects) {
      const uint64_t h = object->getDbHandle().value();
      if (!byHandle.emplace(h, object).second) continue;  // a duplicate: reported already
      tags::OwnerTag owner = tags::ownerTagOf(object->dxfTags());
      if (owner.found && owner.handle != 0) ownerOf.emplace(h, owner.handle);
    }
    enum State : uint8_t { kOnPath = 1, kDone = 2 };
    std::unordered_map<uint64_t, uint8_t> state;
    std::vector<uint64_t> path;
    for (const auto& [object, line] : read_.objects) {
      path.clear();
      uint64_t h = object->getDbHandle().value();
      while (!state.count(h)) {
        state[h] = kOnPath;
        path.push_back(h);
        auto owner = ownerOf.find(h);
        if (owner == ownerOf.end() || !byHandle.count(owner->second)) break;
        h = owner->second;
        auto seen = state.find(h);
        if (seen != state.end() && seen->second == kOnPath) {
          reportCycle(std::vector<uint64_t>(std::find(path.begin(), path.end(), h), path.end()), byHandle);
          break;
        }
      }
      for (uint64_t member : path) state[member] = kDone;
    }
  }

  void reportCycle(std::vector<uint64_t> cycle, const std::unordered_map<uint64_t, const OdDbObject*>& byHandle) {
    auto lineOf = [&](uint64_t h) { return lineOf_.at(byHandle.at(h)); };
    // Start the cycle at the member read first.
    auto first = std::min_element(cycle.begin(), cycle.end(),
                                  [&](uint64_t a, uint64_t b) { return lineOf(a) < lineOf(b); });
    std::rotate(cycle.begin(), first, cycle.end());
    const OdDbObject* subject = byHandle.at(cycle.front());
    if (cycle.size() == 1) {
      add(lineOf(cycle.front()), subject, "is its own owner");
      return;
    }
    constexpr std::size_t kShown = 8;
    std::string chain;
    for (std::size_t i = 0; i < cycle.size() && i < kShown; ++i) chain += OdDbHandle(cycle[i]).hex() + " -> ";
    chain += cycle.size() > kShown ? "... -> " + OdDbHandle(cycle.front()).hex()
                                   : OdDbHandle(cycle.front()).hex();
    add(lineOf(cycle.front()), subject, "owners lead back to it (" + chain + ")");
  }

  const OdDbDatabase& db_;
  const LenientRead& read_;
  std::unordered_map<const OdDbObject*, std::size_t> lineOf_;
  std::vector<AuditFinding> findings_;
};

std::vector<AuditFinding> audit(const OdString& name, const std::string* text) {
  LenientRead read;
  OdDbDatabasePtr db = DxfLoader::readLenient(name, text, read);
  return Auditor(*db, read).run();
}

}  // namespace

std::vector<AuditFinding> auditDxfFile(const OdString& path) { return audit(path, nullptr); }

std::vector<AuditFinding> auditDxfText(const std::string& text, const OdString& name) { return audit(name, &text); }
