#include "zrfx/FxDocumentManager.h"

#include <algorithm>

const OdRxClass* CFxDocumentManagerReactor::desc() {
  static const OdRxClass cls("CFxDocumentManagerReactor", OdRxObject::desc());
  return &cls;
}

void CFxDocumentManagerReactor::DocumentCreateStarted(CFxDocument*) {}
void CFxDocumentManagerReactor::DocumentCreated(CFxDocument*) {}
void CFxDocumentManagerReactor::DocumentToBeDestroyed(CFxDocument*) {}
void CFxDocumentManagerReactor::DocumentDestroyed(const OdString&) {}
void CFxDocumentManagerReactor::DocumentReady(CFxDocument*) {}
void CFxDocumentManagerReactor::DocumentClosing(CFxDocument*) {}
void CFxDocumentManagerReactor::DocumentToBeActivated(CFxDocument*) {}
void CFxDocumentManagerReactor::DocumentToBeDeactivated(CFxDocument*) {}
void CFxDocumentManagerReactor::DocumentActivated(CFxDocument*) {}
void CFxDocumentManagerReactor::DocumentCreateCanceled(CFxDocument*) {}
void CFxDocumentManagerReactor::DocumentBecameCurrent(CFxDocument*) {}
void CFxDocumentManagerReactor::DocumentActivationModified(bool) {}
bool CFxDocumentManagerReactor::DelayActivationEvent() const { return false; }

template <typename F>
void CFxDocumentManager::notify(F f) {
  // A reactor may remove itself while notified: walk a copy.
  std::vector<CFxDocumentManagerReactor*> reactors(reactors_);
  for (CFxDocumentManagerReactor* r : reactors)
    if (std::find(reactors_.begin(), reactors_.end(), r) != reactors_.end()) f(r);
}

uint16_t CFxDocumentManager::DocumentCount() const { return static_cast<uint16_t>(documents_.size()); }

CFxDocument* CFxDocumentManager::GetDocument(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= documents_.size()) return nullptr;
  return documents_[static_cast<std::size_t>(index)].get();
}

void CFxDocumentManager::AddReactor(CFxDocumentManagerReactor* reactor) {
  if (reactor && std::find(reactors_.begin(), reactors_.end(), reactor) == reactors_.end())
    reactors_.push_back(reactor);
}

void CFxDocumentManager::RemoveReactor(CFxDocumentManagerReactor* reactor) {
  reactors_.erase(std::remove(reactors_.begin(), reactors_.end(), reactor), reactors_.end());
}

void CFxDocumentManager::SetResourceModule(void* instance) { resources_.push_back(instance); }

void CFxDocumentManager::RestoreResourceModule() {
  if (!resources_.empty()) resources_.pop_back();
}

CFxDocument* CFxDocumentManager::OpenDocument(const OdString& path) {
  OdDbDatabasePtr db = OdDbDatabase::readDxf(path);
  return AddDocument(db, path);
}

CFxDocument* CFxDocumentManager::AddDocument(OdDbDatabasePtr db, const OdString& path) {
  auto doc = std::make_unique<CFxDocument>(std::move(db), path, nextSerial_++, &environment_);
  CFxDocument* raw = doc.get();
  notify([&](auto* r) { r->DocumentCreateStarted(raw); });
  documents_.push_back(std::move(doc));
  notify([&](auto* r) { r->DocumentCreated(raw); });
  SetActiveDocument(raw);
  notify([&](auto* r) { r->DocumentReady(raw); });
  return raw;
}

void CFxDocumentManager::SetActiveDocument(CFxDocument* doc) {
  if (doc == active_) return;
  if (active_) notify([&](auto* r) { r->DocumentToBeDeactivated(active_); });
  if (doc) notify([&](auto* r) { r->DocumentToBeActivated(doc); });
  active_ = doc;
  if (doc) {
    notify([&](auto* r) { r->DocumentActivated(doc); });
    notify([&](auto* r) { r->DocumentBecameCurrent(doc); });
  }
}

void CFxDocumentManager::CloseDocument(CFxDocument* doc) {
  auto it = std::find_if(documents_.begin(), documents_.end(), [&](const auto& d) { return d.get() == doc; });
  if (it == documents_.end()) return;
  notify([&](auto* r) { r->DocumentClosing(doc); });
  notify([&](auto* r) { r->DocumentToBeDestroyed(doc); });
  const OdString name = doc->GetPathName();
  std::unique_ptr<CFxDocument> closing = std::move(*it);
  documents_.erase(it);
  if (active_ == doc) {
    active_ = nullptr;
    SetActiveDocument(documents_.empty() ? nullptr : documents_.back().get());
  }
  closing.reset();
  notify([&](auto* r) { r->DocumentDestroyed(name); });
}

void CFxDocumentManager::CloseAll() {
  while (!documents_.empty()) CloseDocument(documents_.back().get());
}

CFxDocument* CFxDocumentManager::DocumentOf(const OdDbDatabase* db) const {
  for (const auto& d : documents_)
    if (d->GetFxDatabase()->database() == db) return d.get();
  return nullptr;
}

namespace {
CFxSystemServices* gServices = nullptr;
bool gInstalled = false;
}  // namespace

CFxSystemServices* GetFxSystemServices() {
  if (!gInstalled) {
    static CFxSystemServices services;
    gServices = &services;
    gInstalled = true;
  }
  return gServices;
}

CFxSystemServices* FxInstallSystemServices(CFxSystemServices* services) {
  CFxSystemServices* previous = GetFxSystemServices();
  gServices = services;
  return previous;
}

CFxDocument* ACTIVE_DOCUMENT() {
  CFxSystemServices* services = GetFxSystemServices();
  if (!services) return nullptr;
  return services->GetDocumentManager()->ActiveDocument();
}

int CFxAPI::GetADSName(const OdDbObjectId& id, ads_name name) {
  name[0] = name[1] = 0;
  CFxSystemServices* services = GetFxSystemServices();
  if (!services || id.isNull()) return RTERROR;
  CFxDocument* doc = services->GetDocumentManager()->DocumentOf(id.database());
  if (!doc) return RTERROR;
  doc->EntityName(id, name);
  return RTNORM;
}

OdDbObjectId CFxAPI::GetObjectId(const ads_name name) {
  CFxSystemServices* services = GetFxSystemServices();
  if (!services) return OdDbObjectId();
  CFxDocumentManager* manager = services->GetDocumentManager();
  for (int i = 0; i < manager->DocumentCount(); ++i) {
    CFxDocument* doc = manager->GetDocument(i);
    if (doc->Serial() == name[0]) return doc->ObjectOf(name);
  }
  return OdDbObjectId();
}
