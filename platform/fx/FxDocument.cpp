#include "zrfx/FxDocument.h"

CFxDocument::CFxDocument(OdDbDatabasePtr db, OdString path, uint32_t serial, FxScriptEnvironment** environment)
    : database_(std::move(db)), path_(std::move(path)), serial_(serial), functions_(environment) {}

void CFxDocument::EntityName(const OdDbObjectId& id, ads_name name) {
  auto it = entityIndex_.find(id);
  uint32_t index;
  if (it != entityIndex_.end()) {
    index = it->second;
  } else {
    index = static_cast<uint32_t>(entities_.size());
    entities_.push_back(id);
    entityIndex_.emplace(id, index);
  }
  name[0] = serial_;
  name[1] = index + 1;  // 0 stays free for "no entity"
}

OdDbObjectId CFxDocument::ObjectOf(const ads_name name) const {
  if (name[0] != serial_ || name[1] == 0 || name[1] > entities_.size()) return OdDbObjectId();
  return entities_[name[1] - 1];
}
