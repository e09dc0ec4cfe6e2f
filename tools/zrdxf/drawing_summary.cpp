#include "drawing_summary.h"

#include <functional>
#include <unordered_set>

#include "OdDbBlockReference.h"
#include "OdDbBlockTableRecord.h"
#include "OdDbDatabase.h"
#include "OdDbDictionary.h"

namespace {

// Counts applications with extended data on one object.
void countApplications(const OdDbObject& object, DrawingSummary& s) {
  for (const OdString& app : object.xDataApplications()) ++s.applications[app.toUtf8()];
}

// Lists a dictionary and those below it. Each dictionary is listed once, at the
// first path that reaches it: entries may lead back up (a dictionary holding
// itself twice would otherwise make the walk exponential).
void walkDictionary(const OdDbDictionary& dict, const std::string& path, DrawingSummary& s, int depth,
                    std::unordered_set<const OdDbDictionary*>& seen) {
  if (!seen.insert(&dict).second) return;
  s.dictionaries.push_back({path.empty() ? std::string("(named objects)") : path, dict.numEntries()});
  if (depth > 32) return;  // deeper nesting is not worth listing
  OdDbDictionaryIteratorPtr it = dict.newIterator(OdRx::kDictSorted);
  for (; !it->done(); it->next()) {
    OdDbObjectPtr child = it->getObject();
    if (!child) continue;
    if (auto* sub = OdDbDictionary::cast(child.get())) {
      if (seen.count(sub)) continue;
      countApplications(*child, s);
      walkDictionary(*sub, path.empty() ? it->name().toUtf8() : path + "/" + it->name().toUtf8(), s, depth + 1,
                     seen);
    } else {
      countApplications(*child, s);
    }
  }
}

}  // namespace

DrawingSummary summarize(const OdDbDatabase& db) {
  DrawingSummary s;
  s.version = db.version().toUtf8();
  s.codePage = db.codePage().toUtf8();

  OdDbBlockTablePtr table = db.getBlockTableId().safeOpenObject();
  for (OdDbSymbolTableIteratorPtr it = table->newIterator(); !it->done(); it->step()) {
    OdDbBlockTableRecordPtr block = it->getRecord();
    std::map<std::string, std::size_t>* counts = nullptr;
    if (block->isModelSpace()) counts = &s.modelSpace;
    else if (block->isPaperSpace()) counts = &s.paperSpace;
    DrawingSummary::Block info{block->getName().toUtf8(), 0, 0};
    for (OdDbObjectIteratorPtr e = block->newIterator(); !e->done(); e->step()) {
      OdDbEntityPtr entity = e->entity();
      ++info.entities;
      if (counts) ++(*counts)[entity->dxfName()];
      countApplications(*entity, s);
      if (auto* reference = OdDbBlockReference::cast(entity.get())) {
        for (OdDbObjectIteratorPtr a = reference->attributeIterator(); !a->done(); a->step())
          countApplications(*a->entity(), s);
      }
    }
    OdDbObjectIdArray refs;
    block->getBlockReferenceIds(refs);
    info.references = refs.size();
    if (!counts) s.blocks.push_back(info);
  }

  OdDbDictionaryPtr root = OdDbDictionary::cast(db.getNamedObjectsDictionaryId().openObject().get());
  std::unordered_set<const OdDbDictionary*> seen;
  if (root) walkDictionary(*root, "", s, 0, seen);
  return s;
}
