#include "drawing_summary.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "zrdwg/OdDbBlockReference.h"
#include "zrdwg/OdDbBlockTableRecord.h"
#include "zrdwg/OdDbDatabase.h"
#include "zrdwg/OdDbDictionary.h"

namespace {

// Counts per name where most names in a row are the same (every symbol of a
// drawing carries the same application, a model space holds mostly one
// kind): the last name's counter is kept, so that a run of equal names costs
// a comparison each, not a conversion and a map search.
class RunCounter {
 public:
  explicit RunCounter(std::map<std::string, std::size_t>& counts) : counts_(counts) {}
  void count(std::string_view name) {
    if (!last_ || name != lastName_) {
      lastName_.assign(name);
      last_ = &counts_[lastName_];
    }
    ++*last_;
  }

 private:
  std::map<std::string, std::size_t>& counts_;
  std::string lastName_;  // a copy: the name counted may view a reused buffer
  std::size_t* last_ = nullptr;
};

// Counts applications with extended data on objects by their UTF-8 names,
// reusing one vector of names and one buffer for all of them.
class ApplicationCounter {
 public:
  explicit ApplicationCounter(DrawingSummary& s) : counts_(s.applications) {}
  void count(const OdDbObject& object) {
    object.xDataApplicationsUtf8(names_, scratch_);
    for (std::string_view app : names_) counts_.count(app);
  }

 private:
  RunCounter counts_;
  std::vector<std::string_view> names_;
  std::string scratch_;
};

// Lists a dictionary and those below it. Each dictionary is listed once, at the
// first path that reaches it: entries may lead back up (a dictionary holding
// itself twice would otherwise make the walk exponential).
void walkDictionary(const OdDbDictionary& dict, const std::string& path, DrawingSummary& s, int depth,
                    std::unordered_set<const OdDbDictionary*>& seen, ApplicationCounter& applications) {
  if (!seen.insert(&dict).second) return;
  s.dictionaries.push_back({path.empty() ? std::string("(named objects)") : path, dict.numEntries()});
  if (depth > 32) return;  // deeper nesting is not worth listing
  OdDbDictionaryIteratorPtr it = dict.newIterator(OdRx::kDictSorted);
  for (; !it->done(); it->next()) {
    OdDbObjectPtr child = it->getObject();
    if (!child) continue;
    if (auto* sub = OdDbDictionary::cast(child.get())) {
      if (seen.count(sub)) continue;
      applications.count(*child);
      walkDictionary(*sub, path.empty() ? it->name().toUtf8() : path + "/" + it->name().toUtf8(), s, depth + 1,
                     seen, applications);
    } else {
      applications.count(*child);
    }
  }
}

}  // namespace

DrawingSummary summarize(const OdDbDatabase& db) {
  DrawingSummary s;
  s.version = db.version().toUtf8();
  s.codePage = db.codePage().toUtf8();

  ApplicationCounter applications(s);
  OdDbBlockTablePtr table = db.getBlockTableId().safeOpenObject();
  for (OdDbSymbolTableIteratorPtr it = table->newIterator(); !it->done(); it->step()) {
    OdDbBlockTableRecordPtr block = it->getRecord();
    std::map<std::string, std::size_t>* counts = nullptr;
    if (block->isModelSpace()) counts = &s.modelSpace;
    else if (block->isPaperSpace()) counts = &s.paperSpace;
    DrawingSummary::Block info{block->getName().toUtf8(), 0, 0};
    std::optional<RunCounter> kinds;
    if (counts) kinds.emplace(*counts);
    for (OdDbObjectIteratorPtr e = block->newIterator(); !e->done(); e->step()) {
      OdDbEntityPtr entity = e->entity();
      ++info.entities;
      if (kinds) kinds->count(entity->dxfName());
      applications.count(*entity);
      if (auto* reference = OdDbBlockReference::cast(entity.get())) {
        for (OdDbObjectIteratorPtr a = reference->attributeIterator(); !a->done(); a->step())
          applications.count(*a->entity());
      }
    }
    OdDbObjectIdArray refs;
    block->getBlockReferenceIds(refs);
    info.references = refs.size();
    if (!counts) s.blocks.push_back(info);
  }

  OdDbDictionaryPtr root = OdDbDictionary::cast(db.getNamedObjectsDictionaryId().openObject().get());
  std::unordered_set<const OdDbDictionary*> seen;
  if (root) walkDictionary(*root, "", s, 0, seen, applications);
  return s;
}
