#pragma once
// Documents of the host: one open drawing each, with its function interface.

#include <memory>
#include <unordered_map>
#include <vector>

#include "zrfx/FxFunctionInterface.h"
#include "zrdwg/OdDbDatabase.h"
#include "zrdwg/OdDbObject.h"

// The host's wrapper of a drawing database.
class CFxDatabase {
 public:
  explicit CFxDatabase(OdDbDatabasePtr db) : db_(std::move(db)) {}
  // The drawing database (never null for an open document).
  OdDbDatabase* database() const { return db_.get(); }

 private:
  OdDbDatabasePtr db_;
};

class CFxDocument {
 public:
  CFxDocument(OdDbDatabasePtr db, OdString path, uint32_t serial, FxScriptEnvironment** environment);

  CFxFunctionInterface* GetFunctionInterface() { return &functions_; }
  CFxDatabase* GetFxDatabase() { return &database_; }

  // The file the document was read from or last saved to.
  const OdString& GetPathName() const { return path_; }
  void SetPathName(const OdString& path) { path_ = path; }
  // A number no other document of this process had.
  uint32_t Serial() const { return serial_; }

  // Entity names of this document's objects: a table, so that a name never
  // points at freed memory.
  void EntityName(const OdDbObjectId& id, ads_name name);
  OdDbObjectId ObjectOf(const ads_name name) const;

 private:
  CFxDatabase database_;
  OdString path_;
  uint32_t serial_;
  CFxFunctionInterface functions_;
  std::vector<OdDbObjectId> entities_;
  std::unordered_map<OdDbObjectId, uint32_t> entityIndex_;
};
