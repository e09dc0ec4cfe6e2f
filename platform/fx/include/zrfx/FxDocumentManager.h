#pragma once
// The host kernel: system services, the document manager and its reactors,
// the active document, and entity names.

#include <memory>
#include <vector>

#include "zrfx/FxDocument.h"
#include "zrdwg/OdRxObject.h"

// Receives the document manager's notifications; every one does nothing unless
// overridden. The order of the declarations is the host's slot order.
class CFxDocumentManagerReactor : public OdRxObject {
 public:
  static const OdRxClass* desc();
  const OdRxClass* isA() const override { return desc(); }

  virtual void DocumentCreateStarted(CFxDocument* doc);
  virtual void DocumentCreated(CFxDocument* doc);
  virtual void DocumentToBeDestroyed(CFxDocument* doc);
  virtual void DocumentDestroyed(const OdString& fileName);
  // The document is open and ready for functions to be registered with it.
  virtual void DocumentReady(CFxDocument* doc);
  // The document is about to close; its functions should be removed.
  virtual void DocumentClosing(CFxDocument* doc);
  virtual void DocumentToBeActivated(CFxDocument* doc);
  virtual void DocumentToBeDeactivated(CFxDocument* doc);
  virtual void DocumentActivated(CFxDocument* doc);
  virtual void DocumentCreateCanceled(CFxDocument* doc);
  virtual void DocumentBecameCurrent(CFxDocument* doc);
  virtual void DocumentActivationModified(bool activation);
  virtual bool DelayActivationEvent() const;
};

class CFxDocumentManager {
 public:
  // ---- Used by modules.
  uint16_t DocumentCount() const;
  // The document at index (from 0, in opening order), or null.
  CFxDocument* GetDocument(int index) const;
  void AddReactor(CFxDocumentManagerReactor* reactor);
  void RemoveReactor(CFxDocumentManagerReactor* reactor);
  // Resources are looked up in the given module while its code runs.
  void SetResourceModule(void* instance);
  void RestoreResourceModule();
  void* ResourceModule() const { return resources_.empty() ? nullptr : resources_.back(); }

  // ---- Host side.
  // Reads a drawing and opens it as the active document; throws OdError when
  // the drawing cannot be read (no document is added then).
  CFxDocument* OpenDocument(const OdString& path);
  // Opens a drawing already in memory.
  CFxDocument* AddDocument(OdDbDatabasePtr db, const OdString& path);
  // Closes a document (the last opened one becomes active if it was active).
  void CloseDocument(CFxDocument* doc);
  void CloseAll();
  CFxDocument* ActiveDocument() const { return active_; }
  void SetActiveDocument(CFxDocument* doc);
  // The document whose drawing is db, or null.
  CFxDocument* DocumentOf(const OdDbDatabase* db) const;
  // Where host functions and variables come from (not owned; may be null).
  void SetScriptEnvironment(FxScriptEnvironment* environment) { environment_ = environment; }
  FxScriptEnvironment* ScriptEnvironment() const { return environment_; }

 private:
  template <typename F>
  void notify(F f);

  std::vector<std::unique_ptr<CFxDocument>> documents_;
  std::vector<CFxDocumentManagerReactor*> reactors_;
  std::vector<void*> resources_;
  CFxDocument* active_ = nullptr;
  FxScriptEnvironment* environment_ = nullptr;
  uint32_t nextSerial_ = 1;
};

class CFxSystemServices {
 public:
  CFxDocumentManager* GetDocumentManager() { return &documents_; }

 private:
  CFxDocumentManager documents_;
};

// The process's system services (the kernel keeps one); null when a host has
// none installed.
CFxSystemServices* GetFxSystemServices();
// Installs other system services (null: none) and returns the previous ones;
// for hosts and tests.
CFxSystemServices* FxInstallSystemServices(CFxSystemServices* services);
// The current document, or null.
CFxDocument* ACTIVE_DOCUMENT();

class CFxAPI {
 public:
  // Fills name with the entity name of id (in the document that holds its
  // drawing); RTNORM, or RTERROR when no open document holds it.
  static int GetADSName(const OdDbObjectId& id, ads_name name);
  // The identifier behind an entity name, or null when its document is closed.
  static OdDbObjectId GetObjectId(const ads_name name);
};
