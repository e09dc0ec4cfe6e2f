#pragma once
// Which open drawings have changes that were not saved.
//
// The object model keeps no modified flag, so a drawing's DXF text is
// fingerprinted when it opens and whenever the host saves it; a drawing whose
// text fingerprints differently now has unsaved changes. Each fingerprint
// writes the drawing's text once in memory: cheap for the drawings of a
// session, and only paid at open, save and when the host asks before leaving.

#include <string>
#include <vector>

#include "zrfx/FxDocumentManager.h"

namespace zrhost {

class DrawingChanges : public CFxDocumentManagerReactor {
 public:
  // Watches the documents the manager opens from now on (not those already
  // open). The manager must outlive this object, which removes itself.
  explicit DrawingChanges(CFxDocumentManager& manager);
  ~DrawingChanges() override;
  DrawingChanges(const DrawingChanges&) = delete;
  DrawingChanges& operator=(const DrawingChanges&) = delete;

  void DocumentCreated(CFxDocument* doc) override;
  void DocumentToBeDestroyed(CFxDocument* doc) override;

  // The drawing as it is now is what its file holds.
  void markSaved(CFxDocument* doc);
  // The paths of the open drawings that changed since they were opened or
  // saved, in the manager's order. A drawing opened before this object was
  // made is never listed.
  std::vector<std::string> unsaved() const;

 private:
  struct Entry {
    const CFxDocument* doc;
    std::size_t fingerprint;
  };
  static std::size_t fingerprintOf(CFxDocument* doc);

  CFxDocumentManager& manager_;
  std::vector<Entry> entries_;
};

// The session's tracker, or null outside a session (set by HostSession).
DrawingChanges* drawingChanges();
void setDrawingChanges(DrawingChanges* changes);

// "a.dxf, b.dxf": the list of paths for a message.
std::string joinPaths(const std::vector<std::string>& paths);

}  // namespace zrhost
