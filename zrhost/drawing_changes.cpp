#include "drawing_changes.h"

#include <algorithm>
#include <functional>

#include "zrdwg/OdDbDatabase.h"

namespace zrhost {

namespace {
DrawingChanges* current = nullptr;
}  // namespace

DrawingChanges* drawingChanges() { return current; }
void setDrawingChanges(DrawingChanges* changes) { current = changes; }

DrawingChanges::DrawingChanges(CFxDocumentManager& manager) : manager_(manager) { manager_.AddReactor(this); }

DrawingChanges::~DrawingChanges() { manager_.RemoveReactor(this); }

std::size_t DrawingChanges::fingerprintOf(CFxDocument* doc) {
  try {
    return std::hash<std::string>{}(doc->GetFxDatabase()->database()->dxfText());
  } catch (...) {
    // A drawing whose text cannot be written cannot be compared: counted as
    // changed, which at worst asks once too often.
    return 0;
  }
}

void DrawingChanges::DocumentCreated(CFxDocument* doc) { entries_.push_back({doc, fingerprintOf(doc)}); }

void DrawingChanges::DocumentToBeDestroyed(CFxDocument* doc) {
  entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.doc == doc; }),
                 entries_.end());
}

void DrawingChanges::markSaved(CFxDocument* doc) {
  for (Entry& e : entries_)
    if (e.doc == doc) e.fingerprint = fingerprintOf(doc);
}

std::vector<std::string> DrawingChanges::unsaved() const {
  std::vector<std::string> paths;
  for (int i = 0; i < manager_.DocumentCount(); ++i) {
    CFxDocument* doc = manager_.GetDocument(i);
    for (const Entry& e : entries_)
      if (e.doc == doc && e.fingerprint != fingerprintOf(doc)) paths.push_back(doc->GetPathName().toUtf8());
  }
  return paths;
}

std::string joinPaths(const std::vector<std::string>& paths) {
  std::string text;
  for (const std::string& p : paths) text += (text.empty() ? "" : ", ") + p;
  return text;
}

}  // namespace zrhost
