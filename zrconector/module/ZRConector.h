#pragma once
// CZRConector: the module object. One per process; it is also the document
// manager's reactor, so that documents opened later get the module's functions
// and closing documents lose them.

#include "zrfx/FxDocumentManager.h"
#include "zrdwg/OdRxModule.h"

class CZRConector : public OdRxModule, public CFxDocumentManagerReactor {
 public:
  static const OdRxClass* desc();
  const OdRxClass* isA() const override { return desc(); }
  OdRxObject* queryX(const OdRxClass* cls) const override;
  OdString className() const override { return OdString(u"CZRConector"); }

  // The reference count is kept for the loader but never destroys the object:
  // deleteModule does.
  void addRef() override { ++m_refCount; }
  void release() override { --m_refCount; }
  long numRefs() const override { return m_refCount; }

  void* moduleHandle() const override { return m_moduleHandle; }
  void deleteModule() override;
  // Installs the reactor and registers the functions with every open document.
  void initApp() override;
  // Removes the reactor; registrations already made stay.
  void uninitApp() override;
  OdString moduleName() const override;

  void DocumentReady(CFxDocument* doc) override;
  void DocumentClosing(CFxDocument* doc) override;

  // The one module object, or null before creation and after deletion.
  static CZRConector* Instance();

 private:
  friend OdRxModule* createModuleObject(void** loaderHandle);
  CZRConector() = default;
  ~CZRConector() override = default;

  int32_t m_refCount = 0;
  void* m_moduleHandle = nullptr;
};
